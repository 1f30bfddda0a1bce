// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

#include "window_state.h"

trick::Control marker(int index)
{
    return {trick::Name::Shape1, index};
}

trick::Control picture()
{
    return {trick::Name::Image1, 0};
}

std::vector<trick::Control> WindowState::controls()
{
    std::vector<trick::Control> result{trick::Frame1, trick::Label1, trick::Text1,
                                       trick::Text6,  trick::Text7,  picture()};
    for (int i = 0; i < trick::kMarkerCount; ++i)
        result.push_back(marker(i));
    return result;
}

WindowState WindowState::created()
{
    WindowState state;
    state.texts = {{"Text1", "0"}, {"Text6", "14"}, {"Text7", ""}};
    state.visible["Form1"] = true;
    for (const trick::Control control : controls())
        state.visible[trick::describe(control)] = true;
    state.enabled[trick::describe(picture())] = true;
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
        for (const auto& [name, value] : mine) {
            const auto found = theirs.find(name);
            if (found == theirs.end() || found->second != value)
                lines += std::string(property) + " of " + name + ": " + printed(value) + " against " +
                         (found == theirs.end() ? std::string("none") : printed(found->second)) + "\n";
        }
    };
    compare(texts, other.texts, "text");
    compare(visible, other.visible, "visibility");
    compare(enabled, other.enabled, "enabled");
    if (unloaded != other.unloaded)
        lines += "unloaded differs\n";
    return lines;
}
