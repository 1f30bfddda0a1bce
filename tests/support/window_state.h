// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

#pragma once

// What the tests compare of the window: the texts of its text boxes, which
// controls are visible, whether the picture is enabled, and whether the
// window has been unloaded.

#include <cstdint>
#include <map>
#include <string>

#include "trick/forms.h"

// The events that run a handler: Change of Text1, the load of the window,
// a tap on the picture and the five buttons.
enum class WindowEvent : std::uint8_t { Change, Load, Tap, Exit, Stop, NewRound, Rules, RulesClosed };

struct WindowState {
    std::map<trick::Control, std::string> texts;
    std::map<trick::Control, bool> visible;
    bool pictureEnabled = true;
    bool unloaded = false;

    // The window as the description creates it: every control visible, the
    // text boxes with their first texts, the picture enabled.
    static WindowState created();

    const std::string& text(trick::Control box) const { return texts.at(box); }
    bool shown(trick::Control control) const { return visible.at(control); }

    // One line per property in which `other` differs, for failure messages.
    std::string differences(const WindowState& other) const;

    friend bool operator==(const WindowState&, const WindowState&) = default;
};

trick::Control marker(int index);
trick::Control picture();
