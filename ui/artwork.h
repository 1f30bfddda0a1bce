// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

#pragma once

// The game's two images, the clock face and the icon. Both are SVG, and
// were drawn into raw pixels at build time for the device pixel ratios most
// screens have, 1 and 2: those cost nothing to decode at start. Any other
// ratio is drawn from the SVG when it is needed.

#include <QIcon>
#include <QImage>
#include <QString>

namespace ui {

inline const QString kClockFace = QStringLiteral(":/assets/clock-face.svg");
inline const QString kIcon = QStringLiteral(":/assets/icon.svg");

// The clock face at the size of the picture control, opaque, at `ratio`.
QImage clockFace(qreal ratio);

// The watch on dark blue at 16, 32 and 64 px, for the window and desktops.
QIcon appIcon();

}  // namespace ui
