// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

#include "handlers.h"

#include <charconv>
#include <optional>
#include <string>

#include "marker_table.h"

namespace trick {

namespace {

constexpr std::int16_t kLastTapBeforeReveal = 19;
constexpr std::string_view kInitialCount = "0";
constexpr std::string_view kBaseValue = "14";

// The base value is held as text. Only a plain run of ASCII digits that fits
// a 32-bit integer converts; anything else is a type mismatch rather than a
// guess at what the text meant.
std::int32_t baseNumber(const std::string& text)
{
    std::int32_t value = 0;
    const char* first = text.data();
    const char* last = first + text.size();
    const bool digitsOnly = !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
    if (digitsOnly) {
        const auto [end, error] = std::from_chars(first, last, value);
        if (error == std::errc() && end == last)
            return value;
    }
    throw Failure(Failure::Kind::TypeMismatch, "base value \"" + text + "\" is not a number");
}

// The count texts "0" to "19" that a tap knows, compared exactly.
std::optional<std::int16_t> tapCount(const std::string& text)
{
    for (std::int16_t n = 0; n <= kLastTapBeforeReveal; ++n) {
        if (text == std::to_string(n))
            return n;
    }
    return std::nullopt;
}

bool isEarlyStop(const std::string& countText)
{
    for (std::string_view early : {"1", "2", "3", "4", "5", "6"}) {
        if (countText == early)
            return true;
    }
    return false;
}

void hideMarkers(Forms& forms)
{
    for (int i = 0; i < kMarkerCount; ++i)
        forms.setVisible(forms.element(Name::Shape1, i), false);
}

}  // namespace

void form1Load(Forms& forms)
{
    hideMarkers(forms);
    forms.setVisible(Text6, false);
    forms.setVisible(Text7, false);
    forms.setVisible(Label1, false);
    forms.setVisible(Frame1, false);
}

void text1Change(Forms& forms)
{
    const std::string base = forms.text(Text6);
    std::string answer = forms.text(Text7);

    // Text1 is read afresh for every key; nothing changes it in between.
    const MarkerRow* row = nullptr;
    for (const MarkerRow& candidate : kMarkerTable) {
        if (forms.text(Text1) == candidate.count) {
            row = &candidate;
            break;
        }
    }

    if (row != nullptr) {
        // The subtraction comes first, so a base value that is no number
        // fails before any marker has changed.
        if (row->offset != 0)
            answer = std::to_string(baseNumber(base) - row->offset);
        for (int i = 0; i < kMarkerCount; ++i)
            forms.setVisible(forms.element(Name::Shape1, i), i == row->marker);
    }
    forms.setText(Text7, answer);
}

void image1Click(Forms& forms, std::int16_t /*index*/)
{
    const std::string countText = forms.text(Text1);
    const std::optional<std::int16_t> n = tapCount(countText);
    if (!n)
        return;

    // Two passes: the first writes the count Text1 already holds, the
    // second the next one. Each setting runs the count reaction.
    for (std::int16_t counter = *n; counter <= *n + 1; ++counter) {
        forms.setText(Text1, std::to_string(counter));
        if (*n == kLastTapBeforeReveal) {
            // A twentieth tap ends the round by itself.
            forms.setVisible(Label1, true);
            forms.setVisible(Text7, true);
            forms.setEnabled(forms.element(Name::Image1, 0), false);
            forms.setText(Text7, "XXX");
        }
    }
}

void command1Click(Forms& forms)
{
    forms.unload();
}

void command2Click(Forms& forms)
{
    const std::string countText = forms.text(Text1);
    forms.setEnabled(forms.element(Name::Image1, 0), false);
    forms.setVisible(Text7, true);
    forms.setVisible(Label1, true);
    forms.setText(Text1, kInitialCount);
    // From the seventh tap on the count reaction has already written the
    // answer; too few taps leave nothing to reveal.
    if (isEarlyStop(countText))
        forms.setText(Text7, "?");
}

void command3Click(Forms& forms)
{
    forms.setEnabled(forms.element(Name::Image1, 0), true);
    forms.setText(Text1, kInitialCount);
    forms.setText(Text6, kBaseValue);
    forms.setText(Text7, "");
    forms.setVisible(Text7, false);
    forms.setVisible(Label1, false);
    hideMarkers(forms);
}

void command4Click(Forms& forms)
{
    forms.setVisible(Frame1, true);
}

void command5Click(Forms& forms)
{
    forms.setVisible(Frame1, false);
}

}  // namespace trick
