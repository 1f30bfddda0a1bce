// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

// The window's description as shell variables, for the tests that drive the
// game from outside it: each control's centre and the picture's background
// spot as "x y" in window pixels, and the client area's size as "width
// height", so that scripts click where the description puts things.
//
//   eval "$(tarvelo-layout)"; xdotool mousemove --window "$window" $Command3 click 1

#include <cstdio>

#include "layout/window.h"

int main()
{
    const layout::Size client = layout::clientSize();
    std::printf("client_size=\"%d %d\"\n", client.width, client.height);
    for (const layout::ControlSpec& control : layout::kControls) {
        const layout::Point centre = layout::inWindow(control).centre();
        std::printf("%s=\"%d %d\"\n", trick::to_string(control.id).c_str(), centre.x, centre.y);
    }
    const layout::Point spot = layout::inWindow(layout::kBackgroundSpot);
    std::printf("background=\"%d %d\"\n", spot.x, spot.y);
    return 0;
}
