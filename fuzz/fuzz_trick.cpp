// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

// Drives the trick's handlers with arbitrary event lists against the
// in-memory window, and after every event compares the whole window with
// an independent model of it (tests/support/window_model.h): every text,
// every visibility, the picture, the end of the program, and whether the
// event failed. Events reach the handlers as the real window delivers
// them: a disabled picture raises no Click, setting a text box to the text
// it holds raises no Change, and nothing comes after the window has gone.
//
// An input is a list of events, one per line:
//   t        a tap on the picture        1 to 5   Command1 ("Выход") to Command5 ("ОК")
//   x<text>  <text> typed into Text1     b<text>  <text> put into Text6, the base value
//   l        Load of the window          f<n>     the next event's operation n fails
// The window opens with Load: the input's first event if it is one, else
// one that comes before it.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "recording_forms.h"
#include "trick/handlers.h"
#include "window_model.h"

namespace {

[[noreturn]] void broken(std::string_view line, const char* what, const std::string& details)
{
    std::fprintf(stderr, "after \"%.*s\": %s\n%s", static_cast<int>(line.size()), line.data(), what, details.c_str());
    std::abort();
}

// The phases that a round goes through, as the window shows them after
// each event of a round played by taps and buttons alone.
bool inAPhase(const WindowState& state)
{
    const std::string& count = state.texts.at(trick::Text1);
    const bool revealed = state.shown(trick::Text7);
    if (revealed != state.shown(trick::Label1))
        return false;
    if (state.pictureEnabled) {  // opened or counting
        for (int taps = 0; taps <= 19; ++taps)
            if (count == std::to_string(taps))
                return !revealed;
        return false;
    }
    return revealed && (count == "0" || (count == "20" && state.texts.at(trick::Text7) == "XXX"));
}

// The event of an input line, as the window raises it.
std::optional<WindowEvent> eventOf(char line)
{
    switch (line) {
    case 't': return WindowEvent::Tap;
    case '1': return WindowEvent::Exit;
    case '2': return WindowEvent::Stop;
    case '3': return WindowEvent::NewRound;
    case '4': return WindowEvent::Rules;
    case '5': return WindowEvent::RulesClosed;
    case 'l': return WindowEvent::Load;
    default: return std::nullopt;
    }
}

}  // namespace

namespace {

// The in-memory window and the model side by side, from the window as it
// is created.
struct Session {
    RecordingForms forms;
    WindowModel model;
    bool opened = false;
    bool plain = true;  // only taps and buttons since the start or the last new round

    void run(std::string_view line, char event, const std::string& payload)
    {
        bool ran = true;
        bool modelled = true;
        if (event == 'x') {
            // Typing is the player's, not an operation of a handler; only
            // the Change that it raises runs one.
            modelled = model.type(payload);
            if (std::string& count = forms.state.texts.at(trick::Text1); count != payload) {
                count = payload;
                ran = forms.deliver(WindowEvent::Change);
            }
        } else if (const std::optional<WindowEvent> raised = eventOf(event)) {
            ran = forms.deliver(*raised);
            modelled = model.run(*raised);
        }
        forms.failAt.reset();
        model.failAt.reset();
        if (ran != modelled)
            broken(line, ran ? "the handlers ran where the model failed" : "the handlers failed where the model ran",
                   "");
        if (!(forms.state == model.state))
            broken(line, "the window differs from the model:", forms.state.differences(model.state));

        // Load comes once, before the player sees the window; again, mid-round,
        // it leaves the round's phases, as typing does.
        if (event == 'x' || (event == 'l' && opened))
            plain = false;
        else if (event == '3' && ran)
            plain = true;
        opened = true;
        if (plain && ran && !inAPhase(forms.state))
            broken(line, "the window is in none of the round's phases", "");
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    Session session;
    session.forms.changeOnSameText = false;  // as the real window

    for (std::size_t start = 0; start < input.size() && !session.forms.state.unloaded;) {
        std::size_t end = input.find('\n', start);
        if (end == std::string_view::npos)
            end = input.size();
        const std::string_view line = input.substr(start, end - start);
        start = end + 1;
        if (line.empty())
            continue;
        const char event = line.front();
        const std::string payload(line.substr(1));

        if (event == 'b') {
            session.forms.state.texts.at(trick::Text6) = payload;
            session.model.state.texts.at(trick::Text6) = payload;
            session.plain = false;
        } else if (event == 'f') {
            const std::size_t failAt = payload.size() > 3 ? 0 : std::strtoul(payload.c_str(), nullptr, 10) % 128;
            session.forms.failAt = failAt;
            session.model.failAt = failAt;
            session.plain = false;
        } else {
            // The window opens with Load; an input may open it itself, with
            // a failure injected into it.
            if (!session.opened && event != 'l') {
                const auto pending = std::exchange(session.forms.failAt, std::nullopt);
                session.model.failAt.reset();
                session.run("(opening)", 'l', "");
                session.forms.failAt = session.model.failAt = pending;
            }
            session.run(line, event, payload);
        }
    }
    return 0;
}
