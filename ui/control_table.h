#pragma once

// Form1 as data: every control with its container, place, size, text and
// tab index, listed in stacking order, front first.

#include <array>
#include <cstdint>

namespace ui {

enum class ControlType : std::uint8_t { Frame, CommandButton, Label, TextBox, Shape, Image };

struct ControlSpec {
    const char* name;       // the widget's objectName; array elements end in "_<index>"
    ControlType type;
    const char* container;  // nullptr: the client area of the form
    int left, top;          // twips, from the container's top-left corner
    int width, height;      // twips
    const char* text;       // caption or initial text, UTF-8; nullptr: none
    int tabIndex;           // -1: not in the tab order
};

// The window was laid out in twips at 96 dots per inch.
inline constexpr int kTwipsPerPixel = 15;

inline constexpr int kClientWidth = 3810 / kTwipsPerPixel;
inline constexpr int kClientHeight = 3105 / kTwipsPerPixel;

extern const std::array<ControlSpec, 24> kControls;

}  // namespace ui
