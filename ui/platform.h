// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

#pragma once

// Which display the game runs on, decided before Qt starts: Qt's platform
// plugin aborts the program when it finds no display, and Debian's Qt
// takes Wayland whenever WAYLAND_DISPLAY is set.

#include <string>

struct xcb_connection_t;

namespace ui {

enum class Display { x11, wayland, other };

// The display the program runs on: the platform that QT_QPA_PLATFORM names,
// as the user or PlatformChoice set it before Qt started (the tests set it
// themselves), read once. The window reads this rather than Qt's platform
// name.
Display display();

// Where the user has not chosen a Qt platform (QT_QPA_PLATFORM), chooses
// X11 if an X server answers at DISPLAY, XWayland in a Wayland session
// included: only there can the window be placed, kept off the taskbar and
// framed as a tool window. Else Wayland, if a compositor answers at
// WAYLAND_DISPLAY and Qt's Wayland platform is installed. A user's choice
// stands, but xcb and wayland are tried first too.
class PlatformChoice {
public:
    PlatformChoice();
    ~PlatformChoice() { release(); }
    PlatformChoice(const PlatformChoice&) = delete;
    PlatformChoice& operator=(const PlatformChoice&) = delete;

    // Empty, or the one-line reason why no display can be opened, naming
    // the displays tried.
    const std::string& problem() const { return problem_; }

    // Hangs up the connection that found the X server. Call once Qt has its
    // own: an X server with no other client resets when the last one hangs
    // up, and a connection made meanwhile fails.
    void release();

private:
    std::string problem_;
    xcb_connection_t* held_ = nullptr;
};

}  // namespace ui
