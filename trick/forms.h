// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

#pragma once

// The operations that the trick performs on its window. The game keeps no
// state of its own: the tap count, the base value and the answer live in the
// texts of the window's text boxes, and the handlers reach them only through
// this interface. The Qt window implements it; the tests use an in-memory
// implementation that records every call.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace trick {

// The window and its controls, by the names they carry. Shape1 and Image1
// are control arrays and are reached through Forms::element.
enum class Name : std::uint8_t {
    Form1,
    Frame1,
    Command1,
    Command2,
    Command3,
    Command4,
    Command5,
    Label1,
    Label2,
    Text1,
    Text6,
    Text7,
    Shape1,
    Image1,
};

// A control's one identity, for the trick, every front-end and the tests:
// a single control, or one element of a control array. The index matters
// only for Shape1 (0 to 11) and Image1 (0).
struct Control {
    Name name;
    int index = 0;

    friend auto operator<=>(const Control&, const Control&) = default;
};

inline constexpr Control Form1{Name::Form1};
inline constexpr Control Frame1{Name::Frame1};
inline constexpr Control Command1{Name::Command1};  // "Выход"
inline constexpr Control Command2{Name::Command2};  // "Стоп"
inline constexpr Control Command3{Name::Command3};  // "Загадать"
inline constexpr Control Command4{Name::Command4};  // "Правила"
inline constexpr Control Command5{Name::Command5};  // "ОК"
inline constexpr Control Label1{Name::Label1};
inline constexpr Control Label2{Name::Label2};
inline constexpr Control Text1{Name::Text1};
inline constexpr Control Text6{Name::Text6};
inline constexpr Control Text7{Name::Text7};
inline constexpr Control Image1_0{Name::Image1, 0};

inline constexpr int kMarkerCount = 12;

// How many elements a control array has; 0 for a single control.
constexpr int elementCount(Name name) noexcept
{
    return name == Name::Shape1 ? kMarkerCount : name == Name::Image1 ? 1 : 0;
}

// Any operation can fail. A failure is thrown, ends the running handler at
// that point and reaches the event loop, which reports it; whatever the
// handler set before stays set and nothing is retried.
class Failure : public std::runtime_error {
public:
    enum class Kind : std::uint8_t {
        TypeMismatch,   // a text that had to be a number was not one
        NoSuchElement,  // a control array has no element with that index
        NotSupported,   // the control lacks the property or operation
    };

    Failure(Kind kind, const std::string& detail);
};

std::string_view nameOf(Name name) noexcept;

// The one way a control is written: "Text7", and for an element of a
// control array its name and index, "Shape1_3". It is the widget's name on
// the desktop, the element's id on a page, and what messages and test logs
// say.
std::string to_string(Control control);

class Forms {
public:
    virtual ~Forms() = default;

    // The current Text of a text box.
    virtual std::string text(Control textBox) = 0;

    // Sets the Text of a text box. Setting Text1 raises its Change event,
    // and the count reaction runs to its end before this returns. A failure
    // inside that nested reaction is thrown on from here, so it also ends
    // the handler that set Text1; Text1 keeps the new text.
    virtual void setText(Control textBox, std::string_view text) = 0;

    // A hidden control is neither drawn nor clicked.
    virtual void setVisible(Control control, bool visible) = 0;

    // A disabled picture takes no clicks.
    virtual void setEnabled(Control control, bool enabled) = 0;

    // Element `index` of the control array `array` (Shape1 or Image1). A
    // window has the elements that elementCount gives; others fail.
    virtual Control element(Name array, int index);

    // Closes the window; the program ends with it.
    virtual void unload() = 0;
};

}  // namespace trick
