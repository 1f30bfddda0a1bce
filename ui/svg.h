// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

#pragma once

// Draws an SVG into opaque pixels. The game does so at run time only for
// device pixel ratios that it has no pixels drawn at build time for, and
// the build draws those pixels with the very same function.

#include <QImage>
#include <QSize>
#include <QString>

namespace ui {

// Renders `svg` on white into an image of `size` logical pixels, `ratio`
// device pixels to each. It goes through Qt's SVG image plugin, which is
// loaded only then, so that the game need not link QtSvg. A null image if
// `svg` cannot be read.
QImage renderOpaque(const QString& svg, QSize size, qreal ratio);

}  // namespace ui
