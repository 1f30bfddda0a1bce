#pragma once

// An in-memory window for the trick's handlers: it holds the properties
// that the handlers touch, logs every operation in order, can fail any one
// of them on request, and raises Change of Text1 the way the real window
// does.

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "trick/forms.h"

class RecordingForms final : public trick::Forms {
public:
    struct State {
        std::map<std::string, std::string> texts;
        std::map<std::string, bool> visible;
        std::map<std::string, bool> enabled;
        bool unloaded = false;

        friend bool operator==(const State&, const State&) = default;
    };

    // The window as created: every control visible, the picture enabled.
    RecordingForms();

    // The window after its load handler has run, with an empty log.
    static RecordingForms loaded(bool changeOnSameText = true);

    // Whether setting Text1 to the text it holds raises Change; the real
    // window leaves that open, so the handlers must not depend on it.
    bool changeOnSameText = true;

    // Operation number `failAt` (counted from 0) throws instead of running.
    std::optional<std::size_t> failAt;

    // Whether to keep the log and the states below; off, the window is only
    // as fast as a map of properties can be.
    bool recording = true;

    std::size_t operations = 0;     // how many operations ran
    std::vector<std::string> log;   // every operation that ran
    std::vector<State> stateBefore; // the state just before each of them
    State state;

    // The log without reads and element look-ups.
    std::vector<std::string> settings() const;

    std::string text(trick::Control textBox) override;
    void setText(trick::Control textBox, std::string_view text) override;
    void setVisible(trick::Control control, bool visible) override;
    void setEnabled(trick::Control control, bool enabled) override;
    trick::Control element(trick::Name array, int index) override;
    void unload() override;

    // Shorthands for the state.
    const std::string& textOf(trick::Control box) const { return state.texts.at(trick::describe(box)); }
    bool visibleOf(trick::Control control) const { return state.visible.at(trick::describe(control)); }
    std::vector<int> visibleMarkers() const;

private:
    void begin(std::string operation);
};

trick::Control marker(int index);
trick::Control picture();
