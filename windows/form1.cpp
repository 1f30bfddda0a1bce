// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

// Making Form1 and its child windows from the description, placing them at
// the window's DPI, and drawing what Win32's controls do not draw as the
// description wants: the flat white buttons, the picture, the markers and
// the rules panel's frame.

#include "form1.h"

#include "face.h"

#include <algorithm>
#include <stdexcept>

namespace win {

namespace {

using layout::ControlSpec;
using layout::Font;
using layout::Type;

// Each kind of control as a window of Win32's own classes. Markers and the
// rules text take no clicks (no SS_NOTIFY), so a click on a lit marker
// reaches the picture under it; Label1 takes its own, which are no tap.
struct Kind {
    const wchar_t* className;
    DWORD style;
};
Kind kindOf(const ControlSpec& spec)
{
    switch (spec.type) {
    case Type::Frame: return {L"BUTTON", BS_GROUPBOX | WS_CLIPCHILDREN};
    case Type::CommandButton: return {L"BUTTON", BS_OWNERDRAW | WS_TABSTOP};
    case Type::Label:
        return {L"STATIC", DWORD(SS_LEFT | SS_NOPREFIX) | (spec.id == trick::Label1 ? DWORD(SS_NOTIFY) : 0)};
    case Type::TextBox:
        return {L"EDIT", DWORD(ES_AUTOHSCROLL | WS_TABSTOP | WS_BORDER) | (spec.locked ? DWORD(ES_READONLY) : 0)};
    case Type::Shape: return {L"STATIC", SS_OWNERDRAW};
    case Type::Image: return {L"BUTTON", BS_OWNERDRAW};
    }
    throw std::invalid_argument("no window class for " + trick::to_string(spec.id));
}

// The faces by layout::Font: the window's face, and the narrow face that
// the program carries for the answer field (family null).
struct Face {
    int pixels;
    int weight;
    bool italic;
    const wchar_t* family;
};
constexpr std::array<Face, 5> kFaces{{
    {11, FW_NORMAL, false, L""},                   // System
    {11, FW_BOLD, false, L""},                     // Regular
    {11, FW_BOLD, true, L""},                      // Italic
    {13, FW_BOLD, false, L""},                     // Large
    {13, FW_BOLD, false, L"Tarvelo Sans Narrow"},  // Answer
}};

}  // namespace

std::wstring widen(std::string_view utf8)
{
    const int size = static_cast<int>(utf8.size());
    std::wstring wide(static_cast<std::size_t>(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0)), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), static_cast<int>(wide.size()));
    return wide;
}

std::string narrow(std::wstring_view utf16)
{
    const int size = static_cast<int>(utf16.size());
    std::string text(
        static_cast<std::size_t>(WideCharToMultiByte(CP_UTF8, 0, utf16.data(), size, nullptr, 0, nullptr, nullptr)),
        '\0');
    WideCharToMultiByte(CP_UTF8, 0, utf16.data(), size, text.data(), static_cast<int>(text.size()), nullptr, nullptr);
    return text;
}

Form1::Form1(HINSTANCE instance) : instance_(instance), white_(CreateSolidBrush(colourRef(layout::kWhite)))
{
    // The narrow face, before any font is made, so that the font mapper
    // knows it.
    if (HRSRC found = FindResourceW(instance_, MAKEINTRESOURCEW(kAnswerFace), MAKEINTRESOURCEW(10))) {
        DWORD count = 0;
        answerFace_ = AddFontMemResourceEx(LockResource(LoadResource(instance_, found)),
                                           SizeofResource(instance_, found), nullptr, &count);
    }

    WNDCLASSEXW type{};
    type.cbSize = sizeof type;
    type.lpfnWndProc = formProc;
    type.hInstance = instance_;
    type.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    type.hbrBackground = white_;
    type.lpszClassName = kFormClass;
    type.hIcon =
        static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(kIconResource), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
    type.hIconSm = static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(kIconResource), IMAGE_ICON,
                                                 GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    if (!RegisterClassExW(&type))
        throw std::runtime_error("cannot register the window class");

    // A sizable tool window with a close button only: tool windows have no
    // taskbar button.
    form_ = CreateWindowExW(WS_EX_TOOLWINDOW, kFormClass, widen(layout::kWindow.caption).c_str(),
                            WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN, CW_USEDEFAULT,
                            CW_USEDEFAULT, 0, 0, nullptr, nullptr, instance_, this);
    if (form_ == nullptr)
        throw std::runtime_error("cannot create the window");
    createControls();
    applyDpi(GetDpiForWindow(form_));
    SetFocus(window(trick::Text1));
}

Form1::~Form1()
{
    if (form_ != nullptr)
        DestroyWindow(form_);
    for (HFONT face : faces_)
        DeleteObject(face);
    DeleteObject(pictureBrush_);
    DeleteObject(picture_);
    DeleteObject(white_);
    if (answerFace_ != nullptr)
        RemoveFontMemResourceEx(answerFace_);
}

void Form1::createControls()
{
    HWND above = HWND_TOP;
    for (const ControlSpec& spec : layout::kControls) {
        HWND container = spec.container == trick::Form1 ? form_ : windows_[layout::slotOf(layout::at(spec.container))];
        if (container == nullptr)
            throw std::logic_error(trick::to_string(spec.id) + " is listed before its container");
        HWND made = make(spec, container);
        windows_[layout::slotOf(spec)] = made;
        // Siblings stack in the description's order, front first.
        if (container == form_) {
            SetWindowPos(made, above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            above = made;
        }
    }
    // A screen reader names a text box after the label just above it among
    // its siblings, so each label stands right above the box it names; the
    // part of it that the box covers is cut away (cutLabelsUnderBoxes).
    for (const auto& [label, box] : layout::kLabels) {
        HWND boxWindow = window(box);
        SetWindowPos(window(label), GetWindow(boxWindow, GW_HWNDPREV), 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

HWND Form1::make(const ControlSpec& spec, HWND container)
{
    const Kind kind = kindOf(spec);
    // What a screen reader reads: the caption, else the accessible name;
    // markers and the picture draw theirs not at all.
    const char* text = spec.type == Type::TextBox ? spec.text : spec.text ? spec.text : spec.accessibleName;
    HWND made = CreateWindowExW(
        spec.type == Type::Frame ? WS_EX_CONTROLPARENT : 0, kind.className, widen(text ? text : "").c_str(),
        WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | kind.style, 0, 0, 0, 0, container,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstControlId + layout::slotOf(spec))), instance_, nullptr);
    if (made == nullptr)
        throw std::runtime_error("cannot create " + trick::to_string(spec.id));
    SetWindowLongPtrW(made, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    WNDPROC own = spec.type == Type::Image     ? pictureProc
                  : spec.type == Type::Frame   ? frameProc
                  : spec.type == Type::TextBox ? editProc
                                               : nullptr;
    if (own != nullptr)
        nativeProcs_[layout::slotOf(spec)] =
            reinterpret_cast<WNDPROC>(SetWindowLongPtrW(made, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(own)));
    return made;
}

RECT Form1::scaled(const layout::Rect& box) const
{
    // Both edges scaled, so that neighbours stay neighbours at any DPI.
    return {scaled(box.left), scaled(box.top), scaled(box.left + box.width), scaled(box.top + box.height)};
}

void Form1::applyDpi(UINT dpi)
{
    dpi_ = dpi;
    makeFaces();
    makePicture();
    for (const ControlSpec& spec : layout::kControls) {
        HWND child = windows_[layout::slotOf(spec)];
        const RECT box = scaled(layout::pixels(spec));
        SetWindowPos(child, nullptr, box.left, box.top, box.right - box.left, box.bottom - box.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(faces_[static_cast<std::size_t>(spec.font)]), FALSE);
        if (spec.type == Type::TextBox) {
            // The answer's text runs just inside the border, so that "XXX"
            // stands whole in its 25 px; the others keep 2 px free.
            const int margin = spec.font == Font::Answer ? 0 : scaled(1);
            SendMessageW(child, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(margin, margin));
        }
    }
    cutLabelsUnderBoxes();
    RedrawWindow(form_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
}

void Form1::makeFaces()
{
    for (std::size_t i = 0; i < kFaces.size(); ++i) {
        DeleteObject(faces_[i]);
        const Face& face = kFaces[i];
        faces_[i] = CreateFontW(-scaled(face.pixels), 0, 0, 0, face.weight, face.italic, FALSE, FALSE, RUSSIAN_CHARSET,
                                OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, VARIABLE_PITCH | FF_SWISS,
                                *face.family ? face.family : windowFamily());
    }
    // Which faces Windows gave, for whoever watches the debugger.
    HDC screen = GetDC(nullptr);
    for (HFONT face : faces_) {
        HGDIOBJ old = SelectObject(screen, face);
        wchar_t name[LF_FACESIZE];
        GetTextFaceW(screen, LF_FACESIZE, name);
        SelectObject(screen, old);
        OutputDebugStringW((L"Tarvelo: face " + std::wstring(name) + L"\n").c_str());
    }
    ReleaseDC(nullptr, screen);
}

void Form1::makePicture()
{
    // The nearest of the two renderings, scaled to the window's DPI where
    // it is neither.
    const layout::Size size = layout::pictureSize();
    const bool large = dpi_ >= 144;
    HRSRC found = FindResourceW(instance_, MAKEINTRESOURCEW(large ? kClockFace2x : kClockFace1x),
                                MAKEINTRESOURCEW(10));  // RT_RCDATA
    const int ratio = large ? 2 : 1;
    if (found == nullptr ||
        SizeofResource(instance_, found) != static_cast<DWORD>(size.width * ratio * size.height * ratio * 4))
        throw std::runtime_error("the clock face is missing from the program");
    BITMAPINFO source{};
    source.bmiHeader = {
        sizeof(BITMAPINFOHEADER), size.width * ratio, -size.height * ratio, 1, 32, BI_RGB, 0, 0, 0, 0, 0};

    BITMAPINFO target = source;
    target.bmiHeader.biWidth = scaled(size.width);
    target.bmiHeader.biHeight = -scaled(size.height);
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HBITMAP made = CreateDIBSection(screen, &target, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, made);
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    StretchDIBits(dc, 0, 0, target.bmiHeader.biWidth, -target.bmiHeader.biHeight, 0, 0, source.bmiHeader.biWidth,
                  -source.bmiHeader.biHeight, LockResource(LoadResource(instance_, found)), &source, DIB_RGB_COLORS,
                  SRCCOPY);
    SelectObject(dc, old);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);

    DeleteObject(pictureBrush_);
    DeleteObject(picture_);
    picture_ = made;
    pictureBrush_ = CreatePatternBrush(picture_);
}

// Where a label shares pixels with a text box that stands in front of it,
// the label's window leaves them to the box, in drawing and in clicks.
void Form1::cutLabelsUnderBoxes()
{
    for (const auto& [label, box] : layout::kLabels) {
        const RECT labelBox = scaled(layout::inWindow(label));
        RECT covered{};
        const RECT boxBox = scaled(layout::inWindow(box));
        HRGN shape = CreateRectRgn(0, 0, labelBox.right - labelBox.left, labelBox.bottom - labelBox.top);
        if (IntersectRect(&covered, &labelBox, &boxBox)) {
            OffsetRect(&covered, -labelBox.left, -labelBox.top);
            HRGN cut = CreateRectRgnIndirect(&covered);
            CombineRgn(shape, shape, cut, RGN_DIFF);
            DeleteObject(cut);
        }
        SetWindowRgn(window(label), shape, TRUE);  // the window owns the region now
    }
}

const ControlSpec* Form1::specOf(HWND child) const
{
    const auto found = std::find(windows_.begin(), windows_.end(), child);
    return found == windows_.end() ? nullptr : &layout::kControls[static_cast<std::size_t>(found - windows_.begin())];
}

void Form1::draw(const DRAWITEMSTRUCT& item)
{
    const ControlSpec* spec = specOf(item.hwndItem);
    if (spec == nullptr)
        return;
    HDC dc = item.hDC;
    const RECT& box = item.rcItem;
    switch (spec->type) {
    case Type::Image: {
        HDC source = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(source, picture_);
        BitBlt(dc, 0, 0, box.right, box.bottom, source, 0, 0, SRCCOPY);
        SelectObject(source, old);
        DeleteDC(source);
        return;
    }
    case Type::Shape: {
        HBRUSH fill = CreateSolidBrush(colourRef(spec->back));
        FillRect(dc, &box, fill);
        DeleteObject(fill);
        return;
    }
    case Type::CommandButton: {
        // A face of the button's own colour, greyed while pressed, in a
        // thin border that turns blue with the focus.
        const bool pressed = item.itemState & ODS_SELECTED;
        HBRUSH face = CreateSolidBrush(pressed ? kPressedFace : colourRef(spec->back));
        HPEN line = CreatePen(PS_SOLID, 1, item.itemState & ODS_FOCUS ? kFocusLine : colourRef(layout::kOutline));
        HGDIOBJ oldBrush = SelectObject(dc, face);
        HGDIOBJ oldPen = SelectObject(dc, line);
        FillRect(dc, &box, white_);
        RoundRect(dc, box.left, box.top, box.right, box.bottom, scaled(4), scaled(4));
        SelectObject(dc, oldPen);
        SelectObject(dc, oldBrush);
        DeleteObject(line);
        DeleteObject(face);

        wchar_t caption[64];
        const int length = GetWindowTextW(item.hwndItem, caption, 64);
        HGDIOBJ oldFont = SelectObject(dc, faces_[static_cast<std::size_t>(spec->font)]);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, spec->fore == layout::kDefault ? GetSysColor(COLOR_BTNTEXT) : colourRef(spec->fore));
        RECT text = box;
        DrawTextW(dc, caption, length, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        SelectObject(dc, oldFont);
        return;
    }
    default: return;
    }
}

// The rules panel: white inside, closed on all four sides by a thin line,
// with its caption set into the top line.
void Form1::paintFrame(HWND frame)
{
    const ControlSpec& spec = layout::at(trick::Frame1);
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(frame, &paint);
    RECT box;
    GetClientRect(frame, &box);
    FillRect(dc, &box, white_);

    HGDIOBJ oldFont = SelectObject(dc, faces_[static_cast<std::size_t>(spec.font)]);
    TEXTMETRICW metrics;
    GetTextMetricsW(dc, &metrics);
    const std::wstring caption = widen(spec.text);
    SIZE extent;
    GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &extent);
    const int lineY = metrics.tmHeight / 2;
    const int captionLeft = scaled(8), gap = scaled(2);

    HBRUSH line = CreateSolidBrush(colourRef(layout::kOutline));
    const RECT edges[] = {{0, lineY, captionLeft, lineY + 1},
                          {captionLeft + extent.cx + 2 * gap, lineY, box.right, lineY + 1},
                          {0, box.bottom - 1, box.right, box.bottom},
                          {0, lineY, 1, box.bottom},
                          {box.right - 1, lineY, box.right, box.bottom}};
    for (const RECT& edge : edges)
        FillRect(dc, &edge, line);
    DeleteObject(line);

    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colourRef(spec.fore));
    TextOutW(dc, captionLeft + gap, 0, caption.c_str(), static_cast<int>(caption.size()));
    SelectObject(dc, oldFont);
    EndPaint(frame, &paint);
}

HBRUSH Form1::colours(HDC dc, HWND child)
{
    const ControlSpec* spec = specOf(child);
    if (spec == nullptr)
        return white_;
    SetTextColor(dc, spec->fore == layout::kDefault ? GetSysColor(COLOR_WINDOWTEXT) : colourRef(spec->fore));
    if (spec->type == Type::Label && spec->back == layout::kDefault) {
        // A transparent label shows the picture around its letters: the
        // picture itself is its background brush, aligned to the picture.
        SetBkMode(dc, TRANSPARENT);
        const RECT picture = scaled(layout::inWindow(layout::kPicture));
        const RECT label = scaled(layout::inWindow(*spec));
        SetBrushOrgEx(dc, picture.left - label.left, picture.top - label.top, nullptr);
        return pictureBrush_;
    }
    // Text boxes in the window colour, read-only ones too, which Windows
    // would grey.
    const COLORREF back = spec->back == layout::kDefault ? GetSysColor(COLOR_WINDOW) : colourRef(spec->back);
    SetBkColor(dc, back);
    return spec->back == layout::kDefault ? GetSysColorBrush(COLOR_WINDOW) : white_;
}

}  // namespace win
