// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

// Build-time helper: renders an SVG file into an opaque square PNG, with
// the same renderer that the game uses at run time.
//
//   tarvelo-render-svg <input.svg> <output.png> <size>

#include <QGuiApplication>
#include <QImage>

#include <cstdio>

#include "ui/artwork.h"

int main(int argc, char* argv[])
{
    // A build has no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    const QStringList args = QGuiApplication::arguments();
    bool sizeIsNumber = false;
    const int size = args.size() == 4 ? args[3].toInt(&sizeIsNumber) : 0;
    if (!sizeIsNumber || size <= 0) {
        std::fputs("usage: tarvelo-render-svg <input.svg> <output.png> <size>\n", stderr);
        return 2;
    }
    const QImage image = ui::renderOpaque(args[1], {size, size}, 1.0);
    if (image.isNull()) {
        std::fprintf(stderr, "tarvelo-render-svg: cannot read %s\n", qPrintable(args[1]));
        return 1;
    }
    if (!image.save(args[2], "PNG")) {
        std::fprintf(stderr, "tarvelo-render-svg: cannot write %s\n", qPrintable(args[2]));
        return 1;
    }
    return 0;
}
