// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

#pragma once

// Form1 as data: every control with its container, place, size, text, font,
// colours and tab index, listed in stacking order, front first.

#include <array>
#include <cstdint>
#include <utility>

namespace ui {

enum class ControlType : std::uint8_t { Frame, CommandButton, Label, TextBox, Shape, Image };

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

// clang-format off
struct ControlSpec {
    const char* name;       // the widget's objectName; array elements end in "_<index>"
    ControlType type;
    const char* container;  // nullptr: the client area of the form
    int left, top;          // twips, from the container's top-left corner
    int width, height;      // twips
    const char* text;       // caption or initial text, UTF-8; nullptr: none
    Font font;
    Colour fore;            // text colour
    Colour back;            // background, or a marker's fill
    int tabIndex;           // -1: not in the tab order
    bool locked;            // a text box that only the handlers write to
    const char* accessibleName;  // for screen readers, UTF-8; nullptr: the caption
};
// clang-format on

// The window was laid out in twips at 96 dots per inch.
inline constexpr int kTwipsPerPixel = 15;

inline constexpr int kClientWidth = 3810 / kTwipsPerPixel;
inline constexpr int kClientHeight = 3105 / kTwipsPerPixel;
inline constexpr Colour kFormBack = kWhite;

extern const std::array<ControlSpec, 24> kControls;

// Which label names which text box, for assistive technology.
inline constexpr std::pair<const char*, const char*> kLabels[] = {{"Label1", "Text7"}};

}  // namespace ui
