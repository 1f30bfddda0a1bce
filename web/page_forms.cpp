// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

// The trick's window operations on the elements of the page, and the page's
// events delivered to the trick's handlers, in WebAssembly. Each control is
// the element whose id is its name. As on the desktop, a handler runs to
// its end before the next event; a failure that leaves it is written to
// the console, and the game goes on.

#include <emscripten.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "layout/window.h"
#include "trick/handlers.h"

namespace {

// clang-format off
EM_JS(char*, pageText, (const char* id), {
    const text = document.getElementById(UTF8ToString(id)).value;
    const size = lengthBytesUTF8(text) + 1;
    const copy = _malloc(size);
    stringToUTF8(text, copy, size);
    return copy;
});
EM_JS(void, pageSetText, (const char* id, const char* text), {
    document.getElementById(UTF8ToString(id)).value = UTF8ToString(text);
});
// The keyboard's focus moves on from a control that hides, to the next in
// the Tab order, as on the desktop: else the next Tab starts from a place
// that no longer shows, and in Firefox leaves the page. A tap's focus stays
// with the page, so that a phone opens no keyboard for the count.
EM_JS(void, pageSetVisible, (const char* id, int visible), {
    const element = document.getElementById(UTF8ToString(id));
    const focused = !visible && element.contains(document.activeElement) &&
                    document.activeElement.matches(':focus-visible');
    element.hidden = !visible;
    if (focused) {
        const order = [...document.querySelectorAll('#Form1 button, #Form1 input')].filter(
            (control) => control.tabIndex >= 0 && !control.disabled && !control.closest('[hidden]'));
        const next = order.find((control) => element.compareDocumentPosition(control) & Node.DOCUMENT_POSITION_FOLLOWING);
        // No ?. here: the older emscriptens' minifier cannot read it.
        if (next || order[0])
            (next || order[0]).focus();
    }
});
EM_JS(void, pageSetEnabled, (const char* id, int enabled), {
    document.getElementById(UTF8ToString(id)).disabled = !enabled;
});
EM_JS(void, pageUnload, (), {
    Module.unload();
});
// clang-format on

class PageForms final : public trick::Forms {
public:
    std::string text(trick::Control textBox) override
    {
        char* held = pageText(idOf(textBox, layout::Type::TextBox).c_str());
        std::string text(held);
        std::free(held);
        return text;
    }

    void setText(trick::Control textBox, std::string_view text) override
    {
        const std::string value(text);
        // As on the desktop, the same text again raises no Change.
        if (this->text(textBox) == value)
            return;
        pageSetText(idOf(textBox, layout::Type::TextBox).c_str(), value.c_str());
        // The page raises no event for a value set by a script, so Change is
        // raised here, at once, inside the setting. A failure of the count
        // reaction goes on through this setting and ends its handler too;
        // Text1 keeps the new text.
        if (textBox == trick::Text1)
            trick::text1Change(*this);
    }

    void setVisible(trick::Control control, bool visible) override { pageSetVisible(idOf(control).c_str(), visible); }

    void setEnabled(trick::Control control, bool enabled) override { pageSetEnabled(idOf(control).c_str(), enabled); }

    void unload() override { pageUnload(); }

private:
    static std::string idOf(trick::Control control)
    {
        if (layout::find(control) == nullptr)
            throw trick::Failure(trick::Failure::Kind::NoSuchElement, trick::to_string(control));
        return trick::to_string(control);
    }

    static std::string idOf(trick::Control control, layout::Type type)
    {
        std::string id = idOf(control);
        if (layout::at(control).type != type)
            throw trick::Failure(trick::Failure::Kind::NotSupported, id + " has no Text");
        return id;
    }
};

PageForms forms;

template <typename Handler>
void deliver(const std::string& event, Handler&& handler)
{
    try {
        handler();
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "Tarvelo: %s failed: %s\n", event.c_str(), failure.what());
    }
}

}  // namespace

// What the page's script calls: a click on a button or the picture by its
// id, and Change of Text1 at every edit the player makes. Load has run when
// the page was built, which shows the window as it leaves it.
extern "C" {

EMSCRIPTEN_KEEPALIVE void tarvelo_change()
{
    deliver("Text1_Change", [] { trick::text1Change(forms); });
}

EMSCRIPTEN_KEEPALIVE void tarvelo_click(const char* id)
{
    const layout::ControlSpec* control = layout::find(id);
    if (control == nullptr)
        return;
    void (*handler)(trick::Forms&) = nullptr;
    switch (control->id.name) {
    case trick::Name::Image1:
        deliver("Image1_Click", [control] { trick::image1Click(forms, static_cast<std::int16_t>(control->id.index)); });
        return;
    case trick::Name::Command1: handler = trick::command1Click; break;
    case trick::Name::Command2: handler = trick::command2Click; break;
    case trick::Name::Command3: handler = trick::command3Click; break;
    case trick::Name::Command4: handler = trick::command4Click; break;
    case trick::Name::Command5: handler = trick::command5Click; break;
    default: return;
    }
    deliver(trick::to_string(control->id) + "_Click", [handler] { handler(forms); });
}
}
