// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

#include "recording_forms.h"

#include "trick/handlers.h"

RecordingForms RecordingForms::loaded(bool changeOnSameText)
{
    RecordingForms forms;
    forms.deliver(WindowEvent::Load);
    forms.log.clear();
    forms.changeOnSameText = changeOnSameText;
    return forms;
}

bool RecordingForms::deliver(WindowEvent event)
{
    log.clear();
    try {
        switch (event) {
        case WindowEvent::Change: trick::text1Change(*this); break;
        case WindowEvent::Load: trick::form1Load(*this); break;
        case WindowEvent::Tap:
            if (state.pictureEnabled)
                trick::image1Click(*this, 0);
            break;
        case WindowEvent::Exit: trick::command1Click(*this); break;
        case WindowEvent::Stop: trick::command2Click(*this); break;
        case WindowEvent::NewRound: trick::command3Click(*this); break;
        case WindowEvent::Rules: trick::command4Click(*this); break;
        case WindowEvent::RulesClosed: trick::command5Click(*this); break;
        }
        return true;
    } catch (const trick::Failure&) {
        return false;
    }
}

std::vector<int> RecordingForms::visibleMarkers() const
{
    std::vector<int> result;
    for (int i = 0; i < trick::kMarkerCount; ++i) {
        if (state.shown(marker(i)))
            result.push_back(i);
    }
    return result;
}

void RecordingForms::begin(std::string operation)
{
    if (failAt && *failAt == log.size())
        throw trick::Failure(trick::Failure::Kind::NotSupported, "injected at " + operation);
    log.push_back(std::move(operation));
}

std::string RecordingForms::text(trick::Control textBox)
{
    begin("read " + trick::to_string(textBox));
    return state.texts.at(textBox);
}

void RecordingForms::setText(trick::Control textBox, std::string_view text)
{
    begin("set " + trick::to_string(textBox) + " \"" + std::string(text) + "\"");
    std::string& current = state.texts.at(textBox);
    const bool changed = current != text;
    current = text;
    if (textBox == trick::Text1 && (changed || changeOnSameText))
        trick::text1Change(*this);
}

void RecordingForms::setVisible(trick::Control control, bool visible)
{
    begin(std::string(visible ? "show " : "hide ") + trick::to_string(control));
    state.visible.at(control) = visible;
}

void RecordingForms::setEnabled(trick::Control control, bool enabled)
{
    begin(std::string(enabled ? "enable " : "disable ") + trick::to_string(control));
    if (control != picture())
        throw trick::Failure(trick::Failure::Kind::NotSupported, trick::to_string(control) + " has no Enabled");
    state.pictureEnabled = enabled;
}

trick::Control RecordingForms::element(trick::Name array, int index)
{
    const trick::Control control{array, index};
    begin("element " + trick::to_string(control));
    if (!state.visible.contains(control))
        throw trick::Failure(trick::Failure::Kind::NoSuchElement, trick::to_string(control));
    return control;
}

void RecordingForms::unload()
{
    begin("unload Form1");
    state.unloaded = true;
}
