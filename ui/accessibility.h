// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

#pragma once

// What screen readers and other assistive technology are told of the window
// beyond what Qt tells them by itself: the window is a frame, not a filler;
// the picture is a button whose press action taps it, as a click does; the
// markers are graphics.

namespace ui {

// Installs the window's accessible interfaces, with the application's
// set-up, before the window is made. More calls do nothing.
void installAccessibility();

}  // namespace ui
