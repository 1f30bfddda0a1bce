// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

// The trick's window operations on Form1's child windows, and the
// windows' messages delivered to the trick's handlers: one handler at a
// time on the one thread, each run to its end; a failure that leaves it is
// reported in one line, and the game goes on.

#include <windowsx.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "form1.h"
#include "trick/handlers.h"

namespace win {

namespace {

using layout::ControlSpec;
using layout::Type;

std::wstring windowText(HWND window)
{
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

}  // namespace

void report(const std::string& line)
{
    OutputDebugStringW(widen(line + "\n").c_str());
    HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
    if (error != nullptr && error != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        WriteFile(error, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
        WriteFile(error, "\n", 1, &written, nullptr);
    }
}

Form1* Form1::of(HWND window)
{
    return reinterpret_cast<Form1*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

void Form1::open()
{
    deliver("Form1_Load", [this] { trick::form1Load(*this); });
    // Centred on the screen with its frame, whose size depends on the DPI.
    RECT frame{0, 0, scaled(layout::clientSize().width), scaled(layout::clientSize().height)};
    AdjustWindowRectExForDpi(&frame, static_cast<DWORD>(GetWindowLongPtrW(form_, GWL_STYLE)), FALSE,
                             static_cast<DWORD>(GetWindowLongPtrW(form_, GWL_EXSTYLE)), dpi_);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(form_, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    const RECT& screen = monitor.rcMonitor;
    SetWindowPos(form_, nullptr, screen.left + (screen.right - screen.left - width) / 2,
                 screen.top + (screen.bottom - screen.top - height) / 2, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(form_, SW_SHOWNORMAL);
    UpdateWindow(form_);
    SetFocus(window(trick::Text1));
}

std::string Form1::text(trick::Control textBox)
{
    return narrow(windowText(this->textBox(textBox)));
}

void Form1::setText(trick::Control textBox, std::string_view text)
{
    HWND edit = this->textBox(textBox);
    const std::wstring value = widen(text);
    // An EDIT control reports a change inside WM_SETTEXT whatever the
    // text; the same text again raises no Change.
    if (windowText(edit) == value)
        return;
    {
        const bool outer = std::exchange(settingText1_, textBox == trick::Text1);
        SetWindowTextW(edit, value.c_str());
        settingText1_ = outer;
    }
    if (std::exception_ptr failure = std::exchange(nestedFailure_, nullptr))
        std::rethrow_exception(failure);
}

void Form1::setVisible(trick::Control control, bool visible)
{
    HWND shown = this->window(control);
    // Showing what is shown costs wine a trip to its server for nothing,
    // eleven times a tap for the markers that stay dark.
    if (bool(GetWindowLongW(shown, GWL_STYLE) & WS_VISIBLE) == visible)
        return;
    // The focus leaves a control that hides, as it leaves a disabled one.
    if (!visible && (GetFocus() == shown || IsChild(shown, GetFocus())))
        moveFocus(false);
    ShowWindow(shown, visible ? SW_SHOWNA : SW_HIDE);
}

void Form1::setEnabled(trick::Control control, bool enabled)
{
    HWND window = this->window(control);
    if (!enabled)
        picturePressed_ = false;
    EnableWindow(window, enabled);
}

void Form1::unload()
{
    DestroyWindow(form_);
}

// What the handlers ask for comes from the trick, so a control that the
// window lacks is a failure of the operation, not of the program.
HWND Form1::window(trick::Control control) const
{
    const ControlSpec* spec = layout::find(control);
    if (spec == nullptr)
        throw trick::Failure(trick::Failure::Kind::NoSuchElement, trick::to_string(control));
    return windows_[layout::slotOf(*spec)];
}

HWND Form1::textBox(trick::Control control) const
{
    const ControlSpec* spec = layout::find(control);
    if (spec == nullptr)
        throw trick::Failure(trick::Failure::Kind::NoSuchElement, trick::to_string(control));
    if (spec->type != Type::TextBox)
        throw trick::Failure(trick::Failure::Kind::NotSupported, trick::to_string(control) + " has no Text");
    return windows_[layout::slotOf(*spec)];
}

template <typename Handler>
void Form1::deliver(const char* event, Handler&& handler)
{
    try {
        handler();
    } catch (const std::exception& failure) {
        report(std::string("Tarvelo: ") + event + " failed: " + failure.what());
    }
}

void Form1::command(const ControlSpec& spec)
{
    void (*handler)(trick::Forms&) = nullptr;
    switch (spec.id.name) {
    case trick::Name::Command1: handler = trick::command1Click; break;
    case trick::Name::Command2: handler = trick::command2Click; break;
    case trick::Name::Command3: handler = trick::command3Click; break;
    case trick::Name::Command4: handler = trick::command4Click; break;
    case trick::Name::Command5: handler = trick::command5Click; break;
    default: return;
    }
    deliver((trick::to_string(spec.id) + "_Click").c_str(), [this, handler] { handler(*this); });
}

void Form1::tap()
{
    if (IsWindowEnabled(window(layout::kPicture)))
        deliver("Image1_Click",
                [this] { trick::image1Click(*this, static_cast<std::int16_t>(layout::kPicture.index)); });
}

void Form1::textChanged(HWND edit)
{
    if (edit != window(trick::Text1))
        return;
    if (!settingText1_) {
        deliver("Text1_Change", [this] { trick::text1Change(*this); });
        return;
    }
    // Inside a handler's setting: the count reaction runs here, inside
    // WM_SETTEXT, and its failure crosses the window procedures as a value
    // for setText to throw on.
    try {
        trick::text1Change(*this);
    } catch (...) {
        nestedFailure_ = std::current_exception();
    }
}

// The description's tab order, past hidden and disabled controls, round
// and round.
void Form1::moveFocus(bool backwards)
{
    std::vector<HWND> stops;
    for (const ControlSpec* spec : layout::tabOrder()) {
        HWND stop = window(spec->id);
        if (IsWindowVisible(stop) && IsWindowEnabled(stop))
            stops.push_back(stop);
    }
    if (backwards)
        std::reverse(stops.begin(), stops.end());
    if (stops.empty())
        return;
    const auto at = std::find(stops.begin(), stops.end(), GetFocus());
    HWND next = at == stops.end() || at + 1 == stops.end() ? stops.front() : *(at + 1);
    SetFocus(next);
    if (specOf(next)->type == Type::TextBox)
        SendMessageW(next, EM_SETSEL, 0, -1);
}

bool Form1::takesKey(const MSG& message)
{
    if (message.message != WM_KEYDOWN || (message.hwnd != form_ && !IsChild(form_, message.hwnd)))
        return false;
    if (message.wParam == VK_TAB) {
        moveFocus(GetKeyState(VK_SHIFT) < 0);
        return true;
    }
    if (message.wParam == VK_RETURN) {
        // Enter presses the focused button, from the keypad too; in a text
        // box it does nothing.
        const ControlSpec* spec = specOf(GetFocus());
        if (spec != nullptr && spec->type == Type::CommandButton)
            command(*spec);
        return true;
    }
    return false;
}

LRESULT CALLBACK Form1::formProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* form = static_cast<Form1*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
        form->form_ = window;
    }
    Form1* form = of(window);
    return form != nullptr ? form->handle(message, wParam, lParam) : DefWindowProcW(window, message, wParam, lParam);
}

LRESULT Form1::handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND: {
        const ControlSpec* spec = specOf(reinterpret_cast<HWND>(lParam));
        const UINT code = HIWORD(wParam);
        // A quick second click on a button is a click too.
        if (spec != nullptr && spec->type == Type::CommandButton && (code == BN_CLICKED || code == BN_DOUBLECLICKED))
            command(*spec);
        else if (spec != nullptr && code == EN_CHANGE)
            textChanged(reinterpret_cast<HWND>(lParam));
        return 0;
    }
    case WM_DRAWITEM: draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)); return TRUE;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
        return reinterpret_cast<LRESULT>(colours(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
    case WM_ACTIVATE:
        // The focus comes back where it was when the window is active again.
        if (LOWORD(wParam) == WA_INACTIVE)
            savedFocus_ = GetFocus();
        else
            SetFocus(savedFocus_ != nullptr && IsWindowVisible(savedFocus_) ? savedFocus_ : window(trick::Text1));
        return 0;
    case WM_DPICHANGED: {
        applyDpi(HIWORD(wParam));
        const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(form_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    case WM_DESTROY:
        form_ = nullptr;
        PostQuitMessage(0);
        return 0;
    default: return DefWindowProcW(form_, message, wParam, lParam);
    }
}

// The picture is a BUTTON, so that assistive technology knows it as a push
// button, but it takes the mouse itself: every press and release on it is
// one tap, a quick second one too, and it never takes the focus. Pressing
// it through assistive technology (BM_CLICK) taps it as a click does.
LRESULT CALLBACK Form1::pictureProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    Form1* form = of(window);
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        form->picturePressed_ = true;
        SetCapture(window);
        return 0;
    case WM_LBUTTONUP: {
        const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        RECT box;
        GetClientRect(window, &box);
        const bool click = std::exchange(form->picturePressed_, false) && PtInRect(&box, at);
        ReleaseCapture();
        if (click)
            form->tap();
        return 0;
    }
    case WM_CAPTURECHANGED: form->picturePressed_ = false; return 0;
    case BM_CLICK: form->tap(); return 0;
    default:
        return CallWindowProcW(form->nativeProcs_[layout::slotOf(layout::at(layout::kPicture))], window, message,
                               wParam, lParam);
    }
}

// The rules panel is a group box, which screen readers know as a grouping
// named by its caption; unlike a group box, it takes the clicks in its
// area and is white inside. Its children's messages go to the form.
LRESULT CALLBACK Form1::frameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    Form1* form = of(window);
    switch (message) {
    case WM_NCHITTEST: return HTCLIENT;
    case WM_ERASEBKGND: return TRUE;
    case WM_PAINT: form->paintFrame(window); return 0;
    case WM_COMMAND:
    case WM_DRAWITEM:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN: return form->handle(message, wParam, lParam);
    default:
        return CallWindowProcW(form->nativeProcs_[layout::slotOf(layout::at(trick::Frame1))], window, message, wParam,
                               lParam);
    }
}

// Text boxes have the thin grey border of the buttons, blue around the
// focus.
LRESULT CALLBACK Form1::editProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    Form1* form = of(window);
    const LRESULT result = message == WM_NCPAINT
                               ? 0
                               : CallWindowProcW(form->nativeProcs_[layout::slotOf(*form->specOf(window))], window,
                                                 message, wParam, lParam);
    if (message == WM_NCPAINT || message == WM_SETFOCUS || message == WM_KILLFOCUS) {
        HDC dc = GetWindowDC(window);
        RECT box;
        GetWindowRect(window, &box);
        OffsetRect(&box, -box.left, -box.top);
        HBRUSH line = CreateSolidBrush(GetFocus() == window ? kFocusLine : colourRef(layout::kOutline));
        FrameRect(dc, &box, line);
        DeleteObject(line);
        ReleaseDC(window, dc);
    }
    return result;
}

}  // namespace win
