// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

// Writes the page's window from the window's description, at build time:
//
//   tarvelo-page html   the body of index.html: Form1 and its 24 controls,
//                       each an element whose id is its name, in the order
//                       of the Tab key, as the load handler leaves them
//   tarvelo-page css    each control's place, stacking and colours, in CSS
//                       pixels as the description places it in window
//                       pixels: a rule of the page's style for each id,
//                       since the page's policy allows no style attributes
//   tarvelo-page json   the description's facts for the page's tests: each
//                       control's box in window pixels, the client area,
//                       and the spots of the picture that the tests tap
//   tarvelo-page text F the texts drawn in face F (regular, italic,
//                       large, answer), which its web font must hold
//
// The page shows the loaded window from its first paint, before its
// WebAssembly has come: the trick's own load handler runs here, against a
// window of the description's, and the page is written as it leaves that
// window. A failure of the handler fails the build.

#include <algorithm>
#include <cstdio>
#include <exception>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "layout/window.h"
#include "trick/handlers.h"

namespace {

using layout::ControlSpec;
using layout::Type;

// The window's properties that the handlers touch, as the description
// creates them, changed only by the handlers run on it.
class DescribedForms final : public trick::Forms {
public:
    DescribedForms()
    {
        for (const ControlSpec& control : layout::kControls) {
            if (control.type == Type::TextBox)
                texts_[control.id] = control.text ? control.text : "";
            visible_[control.id] = true;
            enabled_[control.id] = true;
        }
    }

    std::string text(trick::Control textBox) override { return texts_.at(box(textBox)); }

    void setText(trick::Control textBox, std::string_view text) override
    {
        // As in every window: the same text again raises no Change.
        std::string& held = texts_.at(box(textBox));
        if (held == text)
            return;
        held = text;
        if (textBox == trick::Text1)
            trick::text1Change(*this);
    }

    void setVisible(trick::Control control, bool visible) override { visible_.at(known(control)) = visible; }
    void setEnabled(trick::Control control, bool enabled) override { enabled_.at(known(control)) = enabled; }

    void unload() override
    {
        throw trick::Failure(trick::Failure::Kind::NotSupported, "the page is written with its window open");
    }

    const std::string& shownText(trick::Control textBox) const { return texts_.at(textBox); }
    bool visible(trick::Control control) const { return visible_.at(control); }
    bool enabled(trick::Control control) const { return enabled_.at(control); }

private:
    static trick::Control known(trick::Control control)
    {
        if (layout::find(control) == nullptr)
            throw trick::Failure(trick::Failure::Kind::NoSuchElement, trick::to_string(control));
        return control;
    }

    static trick::Control box(trick::Control control)
    {
        if (layout::at(known(control)).type != Type::TextBox)
            throw trick::Failure(trick::Failure::Kind::NotSupported, trick::to_string(control) + " has no Text");
        return control;
    }

    std::map<trick::Control, std::string> texts_;
    std::map<trick::Control, bool> visible_, enabled_;
};

// The window as the page shows it at first: created, then loaded.
const DescribedForms& loaded()
{
    static const DescribedForms window = [] {
        DescribedForms forms;
        trick::form1Load(forms);
        return forms;
    }();
    return window;
}

std::string escaped(std::string_view text)
{
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

std::string colour(layout::Colour rgb)
{
    char hex[8];
    std::snprintf(hex, sizeof hex, "#%06X", static_cast<unsigned>(rgb));
    return hex;
}

const char* fontClass(layout::Font font)
{
    switch (font) {
    case layout::Font::System: return "system";
    case layout::Font::Regular: return "regular";
    case layout::Font::Italic: return "italic";
    case layout::Font::Large: return "large";
    case layout::Font::Answer: return "answer";
    }
    return "system";
}

// Place, stacking and colours, as the element's own rule: where two
// controls overlap, the one listed first in the description is in front.
std::string style(const ControlSpec& control)
{
    const layout::Rect box = layout::pixels(control);
    std::string css = "left:" + std::to_string(box.left) + "px;top:" + std::to_string(box.top) +
                      "px;width:" + std::to_string(box.width) + "px;height:" + std::to_string(box.height) +
                      "px;z-index:" + std::to_string(layout::kControls.size() - layout::slotOf(control));
    if (control.fore != layout::kDefault)
        css += ";color:" + colour(control.fore);
    if (control.back != layout::kDefault)
        css += ";background-color:" + colour(control.back);
    return css;
}

// Its name, face and accessible name, and its state after Load.
std::string attributes(const ControlSpec& control)
{
    std::string out = "id=\"" + trick::to_string(control.id) + "\" class=\"" + fontClass(control.font) + "\"";
    if (control.accessibleName)
        out += std::string(" aria-label=\"") + escaped(control.accessibleName) + "\"";
    if (!loaded().visible(control.id))
        out += " hidden";
    if (!loaded().enabled(control.id))
        out += " disabled";
    return out;
}

std::string element(const ControlSpec& control, const std::string& inner)
{
    // A text box shows what Load left in it; the rest their captions.
    const std::string caption = control.text ? control.text : "";
    const std::string text = escaped(control.type == Type::TextBox ? loaded().shownText(control.id) : caption);
    switch (control.type) {
    case Type::CommandButton: return "<button type=\"button\" " + attributes(control) + ">" + text + "</button>";
    case Type::TextBox:
        return "<input type=\"text\" autocomplete=\"off\" spellcheck=\"false\" " + attributes(control) +
               (control.locked ? " readonly" : "") + " value=\"" + text + "\">";
    case Type::Label: {
        for (const auto& [label, box] : layout::kLabels)
            if (label == control.id)
                return "<label for=\"" + trick::to_string(box) + "\" " + attributes(control) + ">" + text + "</label>";
        return "<div " + attributes(control) + ">" + text + "</div>";
    }
    case Type::Shape: return "<div role=\"img\" " + attributes(control) + "></div>";
    case Type::Image: {
        // Out of the Tab order, as on the desktop; assistive technology
        // presses it like a button.
        const layout::Size size = layout::pictureSize();
        return "<button type=\"button\" tabindex=\"-1\" " + attributes(control) +
               "><img src=\"clock-face.svg\" alt=\"\" draggable=\"false\" width=\"" + std::to_string(size.width) +
               "\" height=\"" + std::to_string(size.height) + "\"></button>";
    }
    case Type::Frame:
        // The caption names the group and is drawn into its closed border.
        return "<div role=\"group\" aria-labelledby=\"" + trick::to_string(control.id) + "_caption\" " +
               attributes(control) + "><span class=\"caption\" id=\"" + trick::to_string(control.id) + "_caption\">" +
               text + "</span>" + inner + "</div>";
    }
    return {};
}

// Controls that take no focus first, then the others in the order of
// their tab indexes: the order of the elements is the order of the Tab key.
std::string children(trick::Control container)
{
    std::vector<const ControlSpec*> order;
    for (const ControlSpec& control : layout::kControls)
        if (control.container == container && control.tabIndex < 0)
            order.push_back(&control);
    std::vector<const ControlSpec*> tabbed;
    for (const ControlSpec& control : layout::kControls)
        if (control.container == container && control.tabIndex >= 0)
            tabbed.push_back(&control);
    std::sort(tabbed.begin(), tabbed.end(),
              [](const ControlSpec* a, const ControlSpec* b) { return a->tabIndex < b->tabIndex; });
    order.insert(order.end(), tabbed.begin(), tabbed.end());

    std::string out;
    for (const ControlSpec* control : order)
        out += element(*control, control->type == Type::Frame ? children(control->id) : "") + "\n";
    return out;
}

void html()
{
    std::printf("<main id=\"Form1\" aria-label=\"%s\">\n%s</main>\n", escaped(layout::kWindow.caption).c_str(),
                children(trick::Form1).c_str());
}

void css()
{
    const layout::Size client = layout::clientSize();
    std::printf("#Form1{width:%dpx;height:%dpx;background-color:%s}\n", client.width, client.height,
                colour(layout::kWindow.back).c_str());
    for (const ControlSpec& control : layout::kControls)
        std::printf("#%s{%s}\n", trick::to_string(control.id).c_str(), style(control).c_str());
}

std::string point(layout::Point p)
{
    return "[" + std::to_string(p.x) + ", " + std::to_string(p.y) + "]";
}

void json()
{
    const layout::Size client = layout::clientSize();
    std::printf("{\n  \"client\": [%d, %d],\n  \"background\": %s,\n  \"dial\": %s,\n  \"controls\": {\n", client.width,
                client.height, point(layout::inWindow(layout::kBackgroundSpot)).c_str(),
                point(layout::inWindow(layout::kDialSpot)).c_str());
    for (const ControlSpec& control : layout::kControls) {
        const layout::Rect box = layout::inWindow(control);
        std::printf("    \"%s\": [%d, %d, %d, %d]%s\n", trick::to_string(control.id).c_str(), box.left, box.top,
                    box.width, box.height, &control == &layout::kControls.back() ? "" : ",");
    }
    std::printf("  }\n}\n");
}

void texts(std::string_view face)
{
    std::string all;
    for (const ControlSpec& control : layout::kControls)
        if (control.text && fontClass(control.font) == face)
            all += control.text;
    std::printf("%s\n", all.c_str());
}

}  // namespace

int main(int argc, char* argv[])
{
    const std::string_view what = argc >= 2 ? argv[1] : "";
    if (what == "html" && argc == 2) {
        try {
            loaded();
        } catch (const std::exception& failure) {
            return std::fprintf(stderr, "tarvelo-page: Form1_Load failed: %s\n", failure.what()), 1;
        }
        html();
    } else if (what == "css" && argc == 2)
        css();
    else if (what == "json" && argc == 2)
        json();
    else if (what == "text" && argc == 3)
        texts(argv[2]);
    else
        return std::fputs("usage: tarvelo-page html|css|json|text <face>\n", stderr), 2;
    return 0;
}
