// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

// Tarvelo on Windows: makes Form1, raises Load, shows the window and runs
// the message loop until the window is gone. The program takes no command
// line.

#include <exception>

#include "form1.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    // The manifest says so for Windows; wine 10 (Debian unstable) did not
    // take it from there and scaled the window as a picture instead.
    SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    try {
        win::Form1 form(instance);
        form.open();
        MSG message;
        while (GetMessageW(&message, nullptr, 0, 0) > 0) {
            if (form.takesKey(message))
                continue;
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        return static_cast<int>(message.wParam);
    } catch (const std::exception& failure) {
        win::report(std::string("Tarvelo: ") + failure.what());
        return 1;
    }
}
