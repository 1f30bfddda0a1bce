// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

#pragma once

// The game's two images, drawn as SVG and embedded as resources.

#include <QIcon>
#include <QImage>
#include <QSize>
#include <QString>

namespace ui {

inline const QString kClockFace = QStringLiteral(":/assets/clock-face.svg");
inline const QString kIcon = QStringLiteral(":/assets/icon.svg");

// Renders an SVG resource into an opaque image of `size` logical pixels,
// `devicePixelRatio` device pixels to each, so it stays sharp on high-DPI
// screens. A null image if `svg` cannot be read.
QImage renderOpaque(const QString& svg, QSize size, qreal devicePixelRatio);

// The watch on dark blue, at the sizes desktops ask for.
QIcon appIcon();

}  // namespace ui
