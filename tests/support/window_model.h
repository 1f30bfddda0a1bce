// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

#pragma once

// An independent model of the window's behaviour, written from the rules of
// the game rather than from trick/: its own copy of the marker table, by the
// hour on the dial, and the steps of each event as data. It performs, counts
// and logs the same window operations as the handlers must, in the same
// order and in the in-memory window's words, so that a failure injected at
// any one of them leaves exactly what was set before it. It shares nothing
// with trick/ but the control names and never calls the handlers. Like the
// real window, a disabled picture takes no tap.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "window_state.h"

struct ModelStep;

class WindowModel {
public:
    // The window as created; run Load to open it.
    WindowState state = WindowState::created();

    // The operation of the next event, counted from 0, that fails.
    std::optional<std::size_t> failAt;

    // Whether setting Text1 to the text it holds raises Change; the real
    // window does not.
    bool changeOnSameText = false;

    // Every operation of the last event, as RecordingForms logs them.
    std::vector<std::string> log;

    // Each returns false if the event failed: at `failAt`, or on a base
    // value that is no number. `type` puts text into the tap count as the
    // player's typing does.
    bool run(WindowEvent event);
    bool type(const std::string& text);

private:
    struct Failed {};

    template <typename Body>
    bool attempt(Body&& body);
    void perform(const ModelStep& step);
    void countReaction();

    void operation(std::string what);
    std::string read(trick::Control box);
    void setText(trick::Control box, const std::string& text);
    void setVisible(trick::Control control, bool visible);
    void element(trick::Control control);

    std::string countRead_;  // what "Стоп" read before it reset the count
};
