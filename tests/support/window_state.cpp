// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

#include "window_state.h"

#include "layout/window.h"

trick::Control marker(int index)
{
    return layout::marker(index);
}

trick::Control picture()
{
    return layout::kPicture;
}

WindowState WindowState::created()
{
    WindowState state;
    for (const layout::ControlSpec& control : layout::kControls) {
        state.visible[control.id] = true;
        if (control.type == layout::Type::TextBox)
            state.texts[control.id] = control.text;
    }
    return state;
}

namespace {

std::string printed(bool value)
{
    return value ? "true" : "false";
}

std::string printed(const std::string& value)
{
    return '"' + value + '"';
}

}  // namespace

std::string WindowState::differences(const WindowState& other) const
{
    std::string lines;
    const auto compare = [&lines](const auto& mine, const auto& theirs, const char* property) {
        for (const auto& [control, value] : mine) {
            const auto found = theirs.find(control);
            if (found == theirs.end() || found->second != value)
                lines += std::string(property) + " of " + trick::to_string(control) + ": " + printed(value) +
                         " against " + (found == theirs.end() ? std::string("none") : printed(found->second)) + "\n";
        }
    };
    compare(texts, other.texts, "text");
    compare(visible, other.visible, "visibility");
    if (pictureEnabled != other.pictureEnabled)
        lines += "the picture's enabled state differs\n";
    if (unloaded != other.unloaded)
        lines += "unloaded differs\n";
    return lines;
}
