// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

#pragma once

// What the tests compare of the window: the texts of its text boxes, which
// controls are visible, whether the picture is enabled, and whether the
// window has been unloaded. Controls go by the names that trick::describe
// gives them: "Text7", "Shape1(3)", "Image1(0)".

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "trick/forms.h"

// The events that run a handler: Change of Text1, the load of the window,
// a tap on the picture and the five buttons.
enum class WindowEvent : std::uint8_t { Change, Load, Tap, Exit, Stop, NewRound, Rules, RulesClosed };

struct WindowState {
    std::map<std::string, std::string> texts;
    std::map<std::string, bool> visible;
    std::map<std::string, bool> enabled;
    bool unloaded = false;

    // The window as it is created: every control visible, the tap count
    // "0", the base value "14", the answer empty and the picture enabled.
    static WindowState created();

    // The controls whose visibility it holds, the form aside.
    static std::vector<trick::Control> controls();

    const std::string& text(trick::Control box) const { return texts.at(trick::describe(box)); }
    bool shown(trick::Control control) const { return visible.at(trick::describe(control)); }
    bool pictureEnabled() const { return enabled.at("Image1(0)"); }

    // One line per property in which `other` differs, for failure messages.
    std::string differences(const WindowState& other) const;

    friend bool operator==(const WindowState&, const WindowState&) = default;
};

trick::Control marker(int index);
trick::Control picture();
