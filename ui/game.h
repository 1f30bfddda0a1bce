// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

#pragma once

// The whole program: the window, the runtime that plays it, and the rule
// that the program ends with its only window.

#include "form1.h"
#include "forms_runtime.h"

namespace ui {

// Tells desktops, task switchers and window managers the program's name,
// version, desktop entry and icon, tells assistive technology what Qt does
// not know of the window, and has Qt speak Russian in what it draws itself
// (a text box's context menu, say) whatever the locale. Call once, after
// QApplication exists and before the window is made.
void setUpApplication();

class Game {
public:
    Game();

    Form1& window() { return form_; }

    // Raises Load and shows the window, centred on the screen. From then
    // on, closing the window by "Выход" or by its caption bar quits the
    // application: Qt does not count a tool window when it decides that the
    // last window has closed.
    void start();

private:
    Form1 form_;
    FormsRuntime runtime_;
};

}  // namespace ui
