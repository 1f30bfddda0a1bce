// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

#include "window_model.h"

#include <array>
#include <map>

#include "layout/window.h"

// One step of an event: an operation, the control it acts on, and the text
// it sets.
// clang-format off
struct ModelStep {
    enum Kind : std::uint8_t { ReadCount, Show, Hide, SetText, EnablePicture, DisablePicture, HideMarkers,
                               QuestionMarkIfEarly, Unload };
    Kind kind;
    trick::Control control = trick::Form1;
    const char* text = nullptr;
};
// clang-format on

namespace {

// The count texts that light a marker, the hour of that marker on the dial,
// and from the seventh tap on how much the base value loses.
struct Row {
    const char* count;
    int hour;
    int offset;
};
// clang-format off
constexpr std::array<Row, 19> kRows{{
    {"1", 12, 0}, {"2", 7, 0},  {"3", 11, 0}, {"4", 6, 0},   {"5", 10, 0},   {"6", 5, 0},    {"7", 9, 1},
    {"8", 4, 2},  {"9", 8, 3},  {"10", 3, 4}, {"11", 12, 5}, {"12", 2, 6},   {"13", 8, 7},   {"14", 1, 8},
    {"15", 7, 9}, {"16", 12, 10}, {"17", 5, 11}, {"18", 9, 12}, {"19", 2, 13},
}};
// clang-format on

// The base value as a number: ASCII digits only, within 32 bits.
std::optional<long long> number(const std::string& text)
{
    long long value = 0;
    for (const char digit : text) {
        if (digit < '0' || digit > '9' || (value = value * 10 + (digit - '0')) > 2147483647LL)
            return std::nullopt;
    }
    return text.empty() ? std::nullopt : std::optional(value);
}

using Event = WindowEvent;
using enum ModelStep::Kind;

// Round control, step by step, and what both passes of a twentieth tap do
// after setting the count.
// clang-format off
const std::map<Event, std::vector<ModelStep>> kSteps{
    {Event::Load, {{HideMarkers}, {Hide, trick::Text6}, {Hide, trick::Text7}, {Hide, trick::Label1},
                   {Hide, trick::Frame1}}},
    {Event::NewRound, {{EnablePicture}, {SetText, trick::Text1, "0"}, {SetText, trick::Text6, "14"},
                       {SetText, trick::Text7, ""}, {Hide, trick::Text7}, {Hide, trick::Label1}, {HideMarkers}}},
    {Event::Stop, {{ReadCount}, {DisablePicture}, {Show, trick::Text7}, {Show, trick::Label1},
                   {SetText, trick::Text1, "0"}, {QuestionMarkIfEarly}}},
    {Event::Rules, {{Show, trick::Frame1}}},
    {Event::RulesClosed, {{Hide, trick::Frame1}}},
    {Event::Exit, {{Unload}}},
};
const std::vector<ModelStep> kRevealByTap{
    {Show, trick::Label1}, {Show, trick::Text7}, {DisablePicture}, {SetText, trick::Text7, "XXX"}};
// clang-format on

}  // namespace

bool WindowModel::run(Event event)
{
    if (event == Event::Change)
        return attempt([&] { countReaction(); });
    if (event != Event::Tap)
        return attempt([&] {
            for (const ModelStep& step : kSteps.at(event))
                perform(step);
        });
    if (!state.pictureEnabled)
        return true;
    return attempt([&] {
        const std::string count = read(trick::Text1);
        for (int taps = 0; taps <= 19; ++taps) {
            if (count != std::to_string(taps))
                continue;
            // Twice: the count it holds, then the next one.
            for (const int pass : {taps, taps + 1}) {
                setText(trick::Text1, std::to_string(pass));
                if (taps == 19)
                    for (const ModelStep& step : kRevealByTap)
                        perform(step);
            }
            return;
        }
    });
}

bool WindowModel::type(const std::string& text)
{
    return attempt([&] {
        std::string& count = state.texts.at(trick::Text1);
        if (count != text) {
            count = text;
            countReaction();
        }
    });
}

template <typename Body>
bool WindowModel::attempt(Body&& body)
{
    log.clear();
    bool ran = true;
    try {
        body();
    } catch (const Failed&) {
        ran = false;
    }
    failAt.reset();
    return ran;
}

void WindowModel::perform(const ModelStep& step)
{
    switch (step.kind) {
    case ReadCount: countRead_ = read(trick::Text1); break;
    case Show: setVisible(step.control, true); break;
    case Hide: setVisible(step.control, false); break;
    case SetText: setText(step.control, step.text); break;
    case EnablePicture:
    case DisablePicture:
        element(picture());
        operation((step.kind == EnablePicture ? "enable " : "disable ") + trick::to_string(picture()));
        state.pictureEnabled = step.kind == EnablePicture;
        break;
    case HideMarkers:
        for (int i = 0; i < trick::kMarkerCount; ++i) {
            element(marker(i));
            setVisible(marker(i), false);
        }
        break;
    case QuestionMarkIfEarly:
        if (countRead_.size() == 1 && countRead_[0] >= '1' && countRead_[0] <= '6')
            setText(trick::Text7, "?");
        break;
    case Unload:
        operation("unload Form1");
        state.unloaded = true;
        break;
    }
}

void WindowModel::countReaction()
{
    const std::string base = read(trick::Text6);
    std::string answer = read(trick::Text7);
    const Row* row = nullptr;
    for (const Row& candidate : kRows) {
        if (read(trick::Text1) == candidate.count) {
            row = &candidate;
            break;
        }
    }
    if (row != nullptr) {
        if (row->offset > 0) {
            const std::optional<long long> value = number(base);
            if (!value)
                throw Failed();
            answer = std::to_string(*value - row->offset);
        }
        for (int i = 0; i < trick::kMarkerCount; ++i) {
            element(marker(i));
            setVisible(marker(i), layout::hourOf(i) == row->hour);
        }
    }
    setText(trick::Text7, answer);
}

void WindowModel::operation(std::string what)
{
    if (failAt && log.size() == *failAt)
        throw Failed();
    log.push_back(std::move(what));
}

std::string WindowModel::read(trick::Control box)
{
    operation("read " + trick::to_string(box));
    return state.text(box);
}

void WindowModel::setText(trick::Control box, const std::string& text)
{
    operation("set " + trick::to_string(box) + " \"" + text + "\"");
    std::string& held = state.texts.at(box);
    const bool changed = held != text;
    held = text;
    if (box == trick::Text1 && (changed || changeOnSameText))
        countReaction();
}

void WindowModel::setVisible(trick::Control control, bool visible)
{
    operation((visible ? "show " : "hide ") + trick::to_string(control));
    state.visible.at(control) = visible;
}

void WindowModel::element(trick::Control control)
{
    operation("element " + trick::to_string(control));
}
