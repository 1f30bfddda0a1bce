// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

#pragma once

// What the game tells or asks the window manager that Qt has no call for.
// On X11 it speaks to the window manager through libxcb; on other
// platforms it leaves the window to Qt.

#include <QMargins>

class QWidget;

namespace ui {

// Prepares `window` for its first mapping: asks the window manager to give
// it no taskbar button and no place in pagers and task switchers, and
// centres it on its screen, frame included. A window larger than the
// screen's free area keeps its top-left corner on screen, so that its
// caption bar stays within reach.
void prepareToShow(QWidget& window);

}  // namespace ui
