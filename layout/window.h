// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

#pragma once

// Form1 as data, the one description of the window that every front-end
// draws and every test reads: the window's own properties; every control
// with its type, container, place, size, text, face, colours, tab index
// and accessible name, listed in stacking order, front first; the picture
// and where the markers lie on it; and which label names which text box.
// Plain C++, like the trick: no toolkit in it.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

#include "trick/forms.h"

namespace layout {

enum class Type : std::uint8_t { Frame, CommandButton, Label, TextBox, Shape, Image };

// The window's bold faces, and the platform's own.
enum class Font : std::uint8_t {
    System,   // the platform default
    Regular,  // 11 px
    Italic,   // 11 px, italic
    Large,    // 13 px
    Answer,   // 13 px in a narrower face, so that "XXX" fits the answer field
};

// 0xRRGGBB, or kDefault for the platform's colour (for a label's background:
// transparent, so that the picture shows around its letters).
using Colour = std::int32_t;
inline constexpr Colour kDefault = -1;
inline constexpr Colour kWhite = 0xFFFFFF;  // the caption-text and highlight-text system colours
inline constexpr Colour kRed = 0xFF0000;
inline constexpr Colour kDarkRed = 0x400000;
inline constexpr Colour kOutline = 0x8A8A8A;  // the thin border of buttons, text boxes and the frame

// Pixels, and rectangles of them that name their first and last pixel.
struct Point {
    int x = 0, y = 0;

    friend constexpr Point operator+(Point a, Point b) { return {a.x + b.x, a.y + b.y}; }
    friend constexpr Point operator-(Point a, Point b) { return {a.x - b.x, a.y - b.y}; }
    friend constexpr bool operator==(Point, Point) = default;
};

struct Size {
    int width = 0, height = 0;

    friend constexpr bool operator==(Size, Size) = default;
};

struct Rect {
    int left = 0, top = 0, width = 0, height = 0;

    constexpr int right() const { return left + width - 1; }
    constexpr int bottom() const { return top + height - 1; }
    constexpr Point topLeft() const { return {left, top}; }
    constexpr Size size() const { return {width, height}; }
    // The middle pixel, or the one left of and above the middle.
    constexpr Point centre() const { return {left + (width - 1) / 2, top + (height - 1) / 2}; }
    constexpr bool contains(Point p) const { return p.x >= left && p.x <= right() && p.y >= top && p.y <= bottom(); }
    constexpr bool contains(const Rect& r) const
    {
        return contains(r.topLeft()) && contains(Point{r.right(), r.bottom()});
    }
    constexpr Rect translated(Point by) const { return {left + by.x, top + by.y, width, height}; }

    friend constexpr bool operator==(const Rect&, const Rect&) = default;
};

// The window was laid out in twips, 15 to the pixel at 96 dots per inch.
inline constexpr int kTwipsPerPixel = 15;

struct Window {
    const char* caption;
    int clientWidth, clientHeight;  // twips
    Colour back;
};
inline constexpr Window kWindow{"Tarvelo", 3810, 3105, kWhite};

// clang-format off
struct ControlSpec {
    trick::Control id;
    Type type;
    trick::Control container;    // Form1: the client area; else the frame it stands in
    int left, top;               // twips, from the container's top-left corner
    int width, height;           // twips
    const char* text;            // caption or initial text, UTF-8; nullptr: none
    Font font;
    Colour fore;                 // text colour
    Colour back;                 // background, or a marker's fill
    int tabIndex;                // -1: none; labels and the frame keep theirs but take no focus
    bool locked;                 // a text box that only the handlers write to
    const char* accessibleName;  // for screen readers, UTF-8; nullptr: the caption
};
// clang-format on

// Every control, in stacking order: where two overlap, the one listed
// first is in front.
extern const std::array<ControlSpec, 24> kControls;

// The control `id`, or nullptr where the window has none such.
const ControlSpec* find(trick::Control id) noexcept;
// The control written `name` ("Text7", "Shape1_3"), or nullptr.
const ControlSpec* find(std::string_view name) noexcept;
// The control `id`, or written `name`, which the window has; throws
// std::out_of_range if not.
const ControlSpec& at(trick::Control id);
const ControlSpec& at(std::string_view name);
// Its place in kControls, for tables that parallel it.
std::size_t slotOf(const ControlSpec& control) noexcept;

// The client area, in pixels.
Size clientSize() noexcept;
// A control's box in pixels, from its container's top-left corner.
Rect pixels(const ControlSpec& control) noexcept;
// A control's box in window pixels, from the client area's top-left corner.
Rect inWindow(const ControlSpec& control) noexcept;
Rect inWindow(trick::Control id);

// The controls that take the keyboard focus (text boxes and buttons), in
// the order of their tab indexes; hidden ones are skipped when tabbing.
std::vector<const ControlSpec*> tabOrder();

// Which label names which text box, for assistive technology.
inline constexpr std::pair<trick::Control, trick::Control> kLabels[] = {{trick::Label1, trick::Text7}};

// The clock face that Image1_0 shows unscaled, so that its size is the
// control's. In picture pixels: the dial's centre and radius, and spots of
// the background far from the dial and of the dial clear of the controls
// over it, where a tap counts as anywhere else.
inline constexpr trick::Control kPicture = trick::Image1_0;
Size pictureSize();
inline constexpr Point kDialCentre{120, 100};
inline constexpr int kDialRadius = 52;
inline constexpr Point kBackgroundSpot{10, 40};
// A spot on the dial below and right of the tap count, between the markers.
inline constexpr Point kDialSpot{kDialCentre.x + kDialRadius / 4, kDialCentre.y + kDialRadius / 2};

// Marker i lights over hour 12 - i, marker 0 over the 12.
constexpr trick::Control marker(int index)
{
    return {trick::Name::Shape1, index};
}
constexpr int hourOf(int marker)
{
    return marker == 0 ? 12 : 12 - marker;
}
// A pixel of the picture, in window pixels.
Point inWindow(Point inPicture);
// Marker i's cell in picture pixels.
Rect markerCell(int index);

}  // namespace layout
