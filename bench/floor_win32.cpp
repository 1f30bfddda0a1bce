// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

// The floors that the Windows program is measured against: the least that
// a Win32 program with a window like the game's must do. Built three times,
// with the game's flags, its compile definitions and its manifest:
//
//   tarvelo-floor-text.exe  a window of the game's size and frame that
//                           draws one line of the game's bold text, in the
//                           face that the game picks, the floor for start-up
//   tarvelo-floor-bare.exe  the same window, drawing no text
//   tarvelo-floor-tap.exe   a window that repaints a 10 x 10 square at each
//                           click, the floor for a tap
//
// The bench ends each at the damage it measures; on its own a start-up floor
// quits a second after its first paint.

#include <windows.h>

#include <iterator>

#include "layout/window.h"
#include "windows/face.h"

namespace {

constexpr wchar_t kClass[] = L"TarveloFloor";
constexpr UINT_PTR kQuitTimer = 1;

UINT dpi = 96;
int scaled(int pixels)
{
    return MulDiv(pixels, static_cast<int>(dpi), 96);
}

#if defined(TARVELO_FLOOR_TEXT)
HFONT face = nullptr;
#endif

#if defined(TARVELO_FLOOR_TAP)
bool lit = false;
#else
bool painted = false;
#endif

void paint(HWND window)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT client;
    GetClientRect(window, &client);
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
#if defined(TARVELO_FLOOR_TEXT)
    // Where the game's Label1 stands.
    static constexpr wchar_t kText[] = L"Ваше число:";
    HGDIOBJ old = SelectObject(dc, face);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0xff, 0, 0));
    TextOutW(dc, scaled(56), scaled(8), kText, static_cast<int>(std::size(kText)) - 1);
    SelectObject(dc, old);
#elif defined(TARVELO_FLOOR_TAP)
    const RECT square{0, 0, scaled(10), scaled(10)};
    HBRUSH fill = CreateSolidBrush(lit ? RGB(0xff, 0, 0) : RGB(0, 0, 0));
    FillRect(dc, &square, fill);
    DeleteObject(fill);
#endif
    EndPaint(window, &paint);
#if !defined(TARVELO_FLOOR_TAP)
    if (!painted) {
        painted = true;
        SetTimer(window, kQuitTimer, 1000, nullptr);
    }
#endif
}

LRESULT CALLBACK floorProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: paint(window); return 0;
#if defined(TARVELO_FLOOR_TAP)
    case WM_LBUTTONUP: {
        // As the game's picture taps: at the release.
        lit = !lit;
        const RECT square{0, 0, scaled(10), scaled(10)};
        InvalidateRect(window, &square, FALSE);
        return 0;
    }
#else
    case WM_TIMER: DestroyWindow(window); return 0;
#endif
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    WNDCLASSEXW type{};
    type.cbSize = sizeof type;
    type.lpfnWndProc = floorProc;
    type.hInstance = instance;
    type.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    type.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    type.lpszClassName = kClass;
    if (!RegisterClassExW(&type))
        return 1;
    // The game's frame: a sizable tool window with a close button only.
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME, exStyle = WS_EX_TOOLWINDOW;
    HWND window = CreateWindowExW(exStyle, kClass, L"Tarvelo", style, CW_USEDEFAULT, CW_USEDEFAULT, 0, 0, nullptr,
                                  nullptr, instance, nullptr);
    if (window == nullptr)
        return 1;
    dpi = GetDpiForWindow(window);
#if defined(TARVELO_FLOOR_TEXT)
    face = CreateFontW(-scaled(13), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, RUSSIAN_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, VARIABLE_PITCH | FF_SWISS, win::windowFamily());
#endif

    RECT frame{0, 0, scaled(layout::clientSize().width), scaled(layout::clientSize().height)};
    AdjustWindowRectExForDpi(&frame, style, FALSE, exStyle, dpi);
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
#if defined(TARVELO_FLOOR_TAP)
    const int left = 0, top = 0;  // clear of the game, which opens centred
#else
    // Centred, as the game opens.
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& screen = monitor.rcMonitor;
    const int left = screen.left + (screen.right - screen.left - width) / 2;
    const int top = screen.top + (screen.bottom - screen.top - height) / 2;
#endif
    SetWindowPos(window, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
#if defined(TARVELO_FLOOR_TEXT)
    DeleteObject(face);
#endif
    return static_cast<int>(message.wParam);
}
