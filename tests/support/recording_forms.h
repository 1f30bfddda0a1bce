// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

#pragma once

// An in-memory window for the trick's handlers: it holds the properties
// that the handlers touch, logs every operation in order, can fail any one
// of them on request, and raises Change of Text1 the way a window does.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "trick/forms.h"
#include "window_state.h"

class RecordingForms final : public trick::Forms {
public:
    using State = WindowState;

    // The window as created: every control visible, the picture enabled.
    RecordingForms() = default;

    // The window after its load handler has run, with an empty log.
    static RecordingForms loaded(bool changeOnSameText = true);

    // Whether setting Text1 to the text it holds raises Change. The real
    // window does not; the handlers must not depend on it either way.
    bool changeOnSameText = true;

    // Operation number `failAt` (counted from 0) throws instead of running.
    std::optional<std::size_t> failAt;

    std::vector<std::string> log;  // every operation that ran
    State state = State::created();

    // Runs the handler of `event` as the window raises it, from a fresh log:
    // a disabled picture raises no Click. False if the handler failed.
    bool deliver(WindowEvent event);

    std::string text(trick::Control textBox) override;
    void setText(trick::Control textBox, std::string_view text) override;
    void setVisible(trick::Control control, bool visible) override;
    void setEnabled(trick::Control control, bool enabled) override;
    trick::Control element(trick::Name array, int index) override;
    void unload() override;

    std::vector<int> visibleMarkers() const;

private:
    void begin(std::string operation);
};
