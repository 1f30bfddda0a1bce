// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

#pragma once

// Form1 on Windows: a top-level tool window with a child window of Win32's
// own classes for each control of the window's description, and the
// trick's window operations on them. Text boxes are EDIT windows, command
// buttons, the picture and the rules panel BUTTON windows, labels and
// markers STATIC windows; every child carries the control ID 100 + its
// place in the description, so that another process can find it. The
// window follows the DPI of the monitor it is on: the description's pixels
// are pixels at 96 DPI.

#include <windows.h>

#include <array>
#include <exception>
#include <string>
#include <string_view>

#include "layout/window.h"
#include "trick/forms.h"

namespace win {

// The window class of Form1, and the first control ID. No control has the
// ID 1, which dialog code takes for IDOK.
inline constexpr wchar_t kFormClass[] = L"Tarvelo";
inline constexpr int kFirstControlId = 100;

// The program's resources, as tarvelo.rc numbers them.
enum Resource : WORD {
    kIconResource = 1,
    kClockFace1x = 101,  // raw top-down 32-bit pixels at 96 DPI
    kClockFace2x = 102,  // and at 192 DPI
    kAnswerFace = 103,   // the narrow face of the answer field, TrueType
};

// The outline of buttons and text boxes as the desktop draws it: grey,
// blue around the focus; a pressed face is greyed.
inline constexpr COLORREF colourRef(layout::Colour rgb)
{
    return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}
inline constexpr COLORREF kFocusLine = RGB(0x2a, 0x62, 0xb8);
inline constexpr COLORREF kPressedFace = RGB(0xe4, 0xe4, 0xe4);

std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view utf16);

// A failure that ends a handler is written in one line to the debugger and
// to standard error, where there is one; the game goes on.
void report(const std::string& line);

class Form1 final : public trick::Forms {
public:
    // Makes the window and its controls, the window still hidden.
    explicit Form1(HINSTANCE instance);
    ~Form1() override;
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    // Raises Load, then shows the window centred on the screen with its
    // frame, the keyboard focus in the tap count.
    void open();
    // What the message loop hands over before translating a message: Tab
    // and Shift+Tab walk the description's tab order and Enter presses a
    // focused button. True where the message was used up.
    bool takesKey(const MSG& message);

    std::string text(trick::Control textBox) override;
    void setText(trick::Control textBox, std::string_view text) override;
    void setVisible(trick::Control control, bool visible) override;
    void setEnabled(trick::Control control, bool enabled) override;
    void unload() override;

private:
    static LRESULT CALLBACK formProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK pictureProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK frameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK editProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static Form1* of(HWND window);

    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void createControls();
    HWND make(const layout::ControlSpec& spec, HWND container);
    // Places, sizes and gives faces to everything at the window's DPI.
    void applyDpi(UINT dpi);
    int scaled(int pixels) const { return MulDiv(pixels, static_cast<int>(dpi_), 96); }
    RECT scaled(const layout::Rect& box) const;
    void makeFaces();
    void makePicture();
    void cutLabelsUnderBoxes();

    // The control of the description behind a child window, or nullptr.
    const layout::ControlSpec* specOf(HWND child) const;
    HWND window(trick::Control control) const;
    HWND textBox(trick::Control control) const;

    void command(const layout::ControlSpec& spec);
    void tap();
    void textChanged(HWND edit);
    void moveFocus(bool backwards);
    template <typename Handler>
    void deliver(const char* event, Handler&& handler);

    void draw(const DRAWITEMSTRUCT& item);
    void paintFrame(HWND frame);
    HBRUSH colours(HDC dc, HWND child);

    HINSTANCE instance_;
    HWND form_ = nullptr;
    std::array<HWND, layout::kControls.size()> windows_{};
    std::array<WNDPROC, layout::kControls.size()> nativeProcs_{};
    UINT dpi_ = 96;

    std::array<HFONT, 5> faces_{};  // by layout::Font
    HANDLE answerFace_ = nullptr;
    HBITMAP picture_ = nullptr;      // the clock face at the window's DPI
    HBRUSH pictureBrush_ = nullptr;  // the same, under the transparent label
    HBRUSH white_ = nullptr;

    HWND savedFocus_ = nullptr;
    bool picturePressed_ = false;
    // Set while a handler sets Text1: Change then runs inside the setting,
    // and a failure in it waits here for the setting to throw it on.
    bool settingText1_ = false;
    std::exception_ptr nestedFailure_;
};

}  // namespace win
