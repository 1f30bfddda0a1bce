#include "recording_forms.h"

#include "trick/handlers.h"

trick::Control marker(int index)
{
    return {trick::Name::Shape1, index};
}

trick::Control picture()
{
    return {trick::Name::Image1, 0};
}

RecordingForms::RecordingForms()
{
    state.texts = {{"Text1", "0"}, {"Text6", "14"}, {"Text7", ""}};
    for (const char* name : {"Form1", "Frame1", "Label1", "Text1", "Text6", "Text7", "Image1(0)"})
        state.visible[name] = true;
    for (int i = 0; i < trick::kMarkerCount; ++i)
        state.visible[trick::describe(marker(i))] = true;
    state.enabled["Image1(0)"] = true;
}

RecordingForms RecordingForms::loaded(bool changeOnSameText)
{
    RecordingForms forms;
    trick::form1Load(forms);
    forms.operations = 0;
    forms.log.clear();
    forms.stateBefore.clear();
    forms.changeOnSameText = changeOnSameText;
    return forms;
}

std::vector<std::string> RecordingForms::settings() const
{
    std::vector<std::string> result;
    for (const std::string& entry : log) {
        if (!entry.starts_with("read ") && !entry.starts_with("element "))
            result.push_back(entry);
    }
    return result;
}

std::vector<int> RecordingForms::visibleMarkers() const
{
    std::vector<int> result;
    for (int i = 0; i < trick::kMarkerCount; ++i) {
        if (visibleOf(marker(i)))
            result.push_back(i);
    }
    return result;
}

void RecordingForms::begin(std::string operation)
{
    if (failAt && *failAt == operations)
        throw trick::Failure(trick::Failure::Kind::NotSupported, "injected at " + operation);
    ++operations;
    if (recording) {
        stateBefore.push_back(state);
        log.push_back(std::move(operation));
    }
}

std::string RecordingForms::text(trick::Control textBox)
{
    const std::string name = trick::describe(textBox);
    begin("read " + name);
    return state.texts.at(name);
}

void RecordingForms::setText(trick::Control textBox, std::string_view text)
{
    const std::string name = trick::describe(textBox);
    begin("set " + name + " \"" + std::string(text) + "\"");
    std::string& current = state.texts.at(name);
    const bool changed = current != text;
    current = text;
    if (textBox == trick::Text1 && (changed || changeOnSameText))
        trick::text1Change(*this);
}

void RecordingForms::setVisible(trick::Control control, bool visible)
{
    const std::string name = trick::describe(control);
    begin(std::string(visible ? "show " : "hide ") + name);
    state.visible.at(name) = visible;
}

void RecordingForms::setEnabled(trick::Control control, bool enabled)
{
    const std::string name = trick::describe(control);
    begin(std::string(enabled ? "enable " : "disable ") + name);
    state.enabled.at(name) = enabled;
}

trick::Control RecordingForms::element(trick::Name array, int index)
{
    const trick::Control control{array, index};
    begin("element " + trick::describe(control));
    if (!state.visible.contains(trick::describe(control)))
        throw trick::Failure(trick::Failure::Kind::NoSuchElement, trick::describe(control));
    return control;
}

void RecordingForms::unload()
{
    begin("unload Form1");
    state.unloaded = true;
}
