// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

// Build-time helper: draws an SVG into opaque pixels with the function that
// the game uses at run time, as a PNG or as raw pixels (QImage's RGB32
// layout, no header) for the game to show without decoding.
//
//   tarvelo-render-svg <input.svg> <output.png|output.rgb> <width> <height> [<ratio>]

#include <QFile>
#include <QGuiApplication>
#include <QImage>

#include <cstdio>

#include "ui/svg.h"

int main(int argc, char* argv[])
{
    // A build has no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    const QStringList args = QGuiApplication::arguments();
    bool sized = args.size() == 5 || args.size() == 6;
    const QSize size(sized ? args[3].toInt() : 0, sized ? args[4].toInt() : 0);
    const double ratio = args.size() == 6 ? args[5].toDouble(&sized) : 1.0;
    if (!sized || size.isEmpty() || ratio <= 0) {
        std::fputs("usage: tarvelo-render-svg <input.svg> <output.png|output.rgb> <width> <height> [<ratio>]\n",
                   stderr);
        return 2;
    }
    const QImage image = ui::renderOpaque(args[1], size, ratio);
    if (image.isNull()) {
        std::fprintf(stderr, "tarvelo-render-svg: cannot read %s\n", qPrintable(args[1]));
        return 1;
    }
    bool written = false;
    if (args[2].endsWith(QLatin1String(".rgb"))) {
        QFile raw(args[2]);
        written = raw.open(QIODevice::WriteOnly) && raw.write(reinterpret_cast<const char*>(image.constBits()),
                                                              image.sizeInBytes()) == image.sizeInBytes();
    } else {
        written = image.save(args[2], "PNG");
    }
    if (!written) {
        std::fprintf(stderr, "tarvelo-render-svg: cannot write %s\n", qPrintable(args[2]));
        return 1;
    }
    return 0;
}
