// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

// Build-time helper: draws an SVG into opaque pixels with the function that
// the game uses at run time, as a PNG or as raw pixels (QImage's RGB32
// layout, no header) for the game to show without decoding.
//
//   tarvelo-render-svg <input.svg> <output.png|output.rgb> <size> [<ratio>]
//
// The size is WIDTHxHEIGHT in logical pixels, or the name of a control of
// the window's description, whose size it takes: the clock face is drawn
// at the size of the picture that shows it.

#include <QFile>
#include <QGuiApplication>
#include <QImage>

#include <cstdio>

#include "layout/window.h"
#include "ui/svg.h"

int main(int argc, char* argv[])
{
    // A build has no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    const QStringList args = QGuiApplication::arguments();
    bool sized = args.size() == 4 || args.size() == 5;
    QSize size;
    if (sized) {
        if (const layout::ControlSpec* control = layout::find(args[3].toStdString())) {
            const layout::Rect box = layout::pixels(*control);
            size = QSize(box.width, box.height);
        } else if (const QStringList sides = args[3].split(QLatin1Char('x')); sides.size() == 2) {
            size = QSize(sides[0].toInt(), sides[1].toInt());
        }
    }
    const double ratio = args.size() == 5 ? args[4].toDouble(&sized) : 1.0;
    if (!sized || size.isEmpty() || ratio <= 0) {
        std::fputs("usage: tarvelo-render-svg <input.svg> <output.png|output.rgb> <WIDTHxHEIGHT|control> [<ratio>]\n",
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
