// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

// tarvelo-play: plays the real tarvelo.exe from another process in the same
// wine prefix, as a player does, and reads the whole window back through
// Win32 as any other program could: texts (WM_GETTEXT), visibility,
// enabled state, focus, styles and rectangles of every child window, found
// by its control ID. The input is real: the pointer moved and the buttons
// and keys sent through SendInput, at the points that the window's
// description gives. After every event the window is compared with the
// model of the window, as the desktop suites compare theirs.
//
//   tarvelo-play <tarvelo.exe> <scenarios.json> <dpi>
//
// It plays every shared scenario, then checks the frame, every control's
// window, the tab order, a failure report and what assistive technology
// reads. Prints one line per check and exits 1 if any failed.

#include <windows.h>

#include <oleacc.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "layout/window.h"
#include "mini_json.h"
#include "window_model.h"

namespace {

using layout::ControlSpec;
using layout::Point;
using layout::Type;

std::wstring widen(const std::string& utf8)
{
    std::wstring wide(
        static_cast<std::size_t>(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0)), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), wide.data(), int(wide.size()));
    return wide;
}

std::string narrow(const std::wstring& wide)
{
    std::string text(static_cast<std::size_t>(
                         WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), nullptr, 0, nullptr, nullptr)),
                     '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), text.data(), int(text.size()), nullptr, nullptr);
    return text;
}

int failures = 0;
void check(bool ok, const std::string& what)
{
    std::printf("%s: %s\n", ok ? "ok" : "FAIL", what.c_str());
    std::fflush(stdout);
    failures += ok ? 0 : 1;
}

// The game as another program sees it.
class Game {
public:
    Game(const std::wstring& program, int dpi) : dpi_(dpi)
    {
        wchar_t folder[MAX_PATH];
        GetTempPathW(MAX_PATH, folder);
        GetTempFileNameW(folder, L"trv", 0, errors_);
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        HANDLE errors = CreateFileW(errors_, GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdError = errors;
        std::wstring line = L"\"" + program + L"\"";
        if (!CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                            &process_))
            return;
        CloseHandle(errors);
        WaitForInputIdle(process_.hProcess, 10000);
        for (int i = 0; i < 200 && (form_ = FindWindowW(L"Tarvelo", L"Tarvelo")) == nullptr; ++i)
            Sleep(50);
        for (int i = 0; i < 200 && form_ && !IsWindowVisible(form_); ++i)
            Sleep(50);
        EnumChildWindows(
            form_,
            [](HWND child, LPARAM self) {
                const int slot = GetDlgCtrlID(child) - 100;
                if (slot >= 0 && slot < int(layout::kControls.size()))
                    reinterpret_cast<Game*>(self)->windows_[std::size_t(slot)] = child;
                return TRUE;
            },
            reinterpret_cast<LPARAM>(this));
    }
    ~Game()
    {
        if (process_.hProcess) {
            if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT)
                TerminateProcess(process_.hProcess, 9);
            WaitForSingleObject(process_.hProcess, 5000);
            CloseHandle(process_.hProcess);
            CloseHandle(process_.hThread);
        }
        DeleteFileW(errors_);
    }

    bool started() const
    {
        return form_ != nullptr &&
               std::all_of(windows_.begin(), windows_.end(), [](HWND child) { return child != nullptr; });
    }
    HWND form() const { return form_; }
    HWND window(trick::Control control) const { return windows_[layout::slotOf(layout::at(control))]; }
    int scaled(int pixels) const { return MulDiv(pixels, dpi_, 96); }

    std::string text(HWND window) const
    {
        wchar_t text[512];
        DWORD_PTR length = 0;
        SendMessageTimeoutW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000, &length);
        return narrow(std::wstring(text, length));
    }
    static bool shown(HWND window) { return GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE; }

    // The window in the model's terms; once it is gone, only that.
    WindowState state(const WindowState& expected) const
    {
        WindowState state = expected;
        state.unloaded = !IsWindow(form_);
        if (state.unloaded)
            return state;
        for (auto& [box, text] : state.texts)
            text = this->text(window(box));
        for (auto& [control, visible] : state.visible)
            visible = shown(window(control));
        state.pictureEnabled = IsWindowEnabled(window(layout::kPicture));
        return state;
    }

    HWND focus() const
    {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(GetWindowThreadProcessId(form_, nullptr), &info);
        return info.hwndFocus;
    }

    // Tab or Shift+Tab, once the focus has moved: on a busy machine wine
    // may take longer than a frame to move it.
    void tab(bool backwards = false) const
    {
        const HWND before = focus();
        key(VK_TAB, false, backwards);
        for (int waited = 0; focus() == before && waited < 3000; waited += 10)
            Sleep(10);
    }

    // A window pixel of the description, on the screen.
    POINT onScreen(Point at) const
    {
        POINT point{scaled(at.x) + scaled(1) / 2, scaled(at.y) + scaled(1) / 2};
        ClientToScreen(form_, &point);
        return point;
    }
    void click(Point at) const { clickOnScreen(onScreen(at)); }
    // Under wine the pointer is the X server's too: a move is warped there,
    // and the X motion that an earlier warp caused can come back late and
    // move the pointer back. So the buttons go only once the pointer has
    // stayed where it was sent for a while.
    static void clickOnScreen(POINT point)
    {
        const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
        INPUT input[3]{};
        input[0].type = input[1].type = input[2].type = INPUT_MOUSE;
        input[0].mi.dx = (point.x * 65536 + width - 1) / width;  // 0 to 65536 across the screen
        input[0].mi.dy = (point.y * 65536 + height - 1) / height;
        input[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
        input[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
        input[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
        for (int still = 0, tries = 0; still < 3 && tries < 100; ++tries) {
            POINT pointer{};
            GetCursorPos(&pointer);
            if (pointer.x == point.x && pointer.y == point.y) {
                ++still;
            } else {
                still = 0;
                SendInput(1, input, sizeof(INPUT));
            }
            Sleep(10);
        }
        SendInput(2, input + 1, sizeof(INPUT));
    }
    static void key(WORD key, bool extended = false, bool shift = false)
    {
        std::vector<INPUT> input;
        const auto add = [&input](WORD vk, DWORD flags) {
            INPUT one{};
            one.type = INPUT_KEYBOARD;
            one.ki.wVk = vk;
            one.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
            one.ki.dwFlags = flags;
            input.push_back(one);
        };
        if (shift)
            add(VK_SHIFT, 0);
        add(key, extended ? KEYEVENTF_EXTENDEDKEY : 0);
        add(key, KEYEVENTF_KEYUP | (extended ? KEYEVENTF_EXTENDEDKEY : 0));
        if (shift)
            add(VK_SHIFT, KEYEVENTF_KEYUP);
        SendInput(UINT(input.size()), input.data(), sizeof(INPUT));
    }
    static void typeCharacter(wchar_t character)
    {
        INPUT input[2]{};
        input[0].type = input[1].type = INPUT_KEYBOARD;
        input[0].ki.wScan = input[1].ki.wScan = static_cast<WORD>(character);
        input[0].ki.dwFlags = KEYEVENTF_UNICODE;
        input[1].ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
        SendInput(2, input, sizeof(INPUT));
    }

    // Where the pointer is and what is under it, for a failure's message.
    std::string where() const
    {
        POINT pointer{};
        GetCursorPos(&pointer);
        HWND under = WindowFromPoint(pointer);
        std::string name = under == form_ ? "Form1" : "another window";
        for (const ControlSpec& control : layout::kControls)
            if (window(control.id) == under)
                name = trick::to_string(control.id);
        ScreenToClient(form_, &pointer);
        return "the pointer is at " + std::to_string(pointer.x) + ", " + std::to_string(pointer.y) + " over " + name +
               (GetForegroundWindow() == form_ ? "" : "; the game's window is not in the foreground") + "\n";
    }

    // What the game wrote to standard error, and how it ended.
    std::string errors() const
    {
        std::ifstream file(errors_);
        std::stringstream text;
        text << file.rdbuf();
        return text.str();
    }
    std::optional<DWORD> exitCode(DWORD waitMs) const
    {
        if (WaitForSingleObject(process_.hProcess, waitMs) != WAIT_OBJECT_0)
            return std::nullopt;
        DWORD code = 0;
        GetExitCodeProcess(process_.hProcess, &code);
        return code;
    }

private:
    int dpi_;
    wchar_t errors_[MAX_PATH]{};
    PROCESS_INFORMATION process_{};
    HWND form_ = nullptr;
    std::array<HWND, layout::kControls.size()> windows_{};
};

// What a click on a control raises.
const std::map<trick::Name, WindowEvent> events{
    {trick::Name::Image1, WindowEvent::Tap},     {trick::Name::Command1, WindowEvent::Exit},
    {trick::Name::Command2, WindowEvent::Stop},  {trick::Name::Command3, WindowEvent::NewRound},
    {trick::Name::Command4, WindowEvent::Rules}, {trick::Name::Command5, WindowEvent::RulesClosed}};

// The real window and the model side by side, event by event.
class Modelled {
public:
    explicit Modelled(const Game& game) : game_(game)
    {
        model.run(WindowEvent::Load);
        settle("opening", true);
    }

    // What a left click at `at` raises, by the description: the front
    // visible control there, markers letting the click through.
    std::optional<WindowEvent> eventAt(Point at) const
    {
        const auto raised = [](trick::Name name) {
            const auto found = events.find(name);
            return found == events.end() ? std::nullopt : std::optional(found->second);
        };
        // Among siblings the first listed is in front; a container's own
        // controls stand in front of it.
        const auto front = [&](trick::Control container) -> const ControlSpec* {
            for (const ControlSpec& control : layout::kControls)
                if (control.container == container && control.type != Type::Shape && model.state.shown(control.id) &&
                    layout::inWindow(control).contains(at))
                    return &control;
            return nullptr;
        };
        const ControlSpec* hit = front(trick::Form1);
        if (hit != nullptr && hit->type == Type::Frame)
            hit = front(hit->id);
        return hit ? raised(hit->id.name) : std::nullopt;
    }

    void click(Point at)
    {
        const std::optional<WindowEvent> raised = eventAt(at);
        const WindowState before = model.state;
        game_.click(at);
        if (raised)
            model.run(*raised);
        settle("a click at " + std::to_string(at.x) + ", " + std::to_string(at.y), model.state == before);
    }

    void play(const std::string& step)
    {
        std::istringstream words(step);
        std::string action, argument;
        words >> action;
        std::getline(words >> std::ws, argument);
        const std::map<std::string, trick::Control> buttons{
            {"stop", trick::Command2}, {"new", trick::Command3}, {"rules", trick::Command4}, {"ok", trick::Command5}};
        if (action == "tap") {
            for (int i = 0; i < std::stoi(argument); ++i)
                click(layout::inWindow(i % 2 ? layout::kDialSpot : layout::kBackgroundSpot));
        } else if (action == "type") {
            // Into the tap count, over what it holds: Change follows every
            // keystroke.
            click(layout::inWindow(trick::Text1).centre());
            Game::key(VK_HOME);
            Game::key(VK_END, true, true);
            const std::wstring text = widen(step.substr(5));
            for (std::size_t length = 1; length <= text.size(); ++length) {
                Game::typeCharacter(text[length - 1]);
                model.type(narrow(text.substr(0, length)));
                settle("typing \"" + narrow(text.substr(0, length)) + "\"", false);
            }
        } else if (action == "key") {
            const std::string name = argument.substr(0, argument.find(' '));
            const trick::Control button = buttons.at(argument.substr(argument.find(' ') + 1));
            for (int i = 0; i < 12 && game_.focus() != game_.window(button); ++i)
                game_.tab();
            if (game_.focus() != game_.window(button))
                fail(step + ": Tab never reached " + trick::to_string(button));
            Game::key(name == "Space" ? VK_SPACE : VK_RETURN, name == "Enter");
            model.run(events.at(button.name));
            settle(step, false);
        } else if (action == "click") {
            clickAt(argument);
        } else if (action == "base") {
            // Spoiled behind the game's back, as no player can.
            SendMessageW(game_.window(trick::Text6), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(widen(argument).c_str()));
            model.state.texts.at(trick::Text6) = argument;
            settle(step, false);
        } else {
            click(layout::inWindow(buttons.at(action)).centre());
        }
    }

    const std::string& disagreement() const { return disagreement_; }
    WindowModel model;

private:
    // "click Text1" (its centre), "click Frame1 over Command1" (the middle
    // of what the frame covers of it), "click Command1 beside Frame1" (of
    // what it leaves free) or "click Image1_0 corners".
    void clickAt(const std::string& argument)
    {
        std::istringstream words(argument);
        std::string first, how, second;
        words >> first >> how >> second;
        const layout::Rect box = layout::inWindow(layout::at(first));
        if (how == "corners") {
            for (const Point corner : {box.topLeft(), Point{box.right(), box.top}, Point{box.left, box.bottom()},
                                       Point{box.right(), box.bottom()}})
                click(corner);
        } else if (how == "over") {
            const layout::Rect other = layout::inWindow(layout::at(second));
            const int left = std::max(box.left, other.left), top = std::max(box.top, other.top);
            const int right = std::min(box.right(), other.right()), bottom = std::min(box.bottom(), other.bottom());
            click({(left + right) / 2, (top + bottom) / 2});
        } else if (how == "beside") {
            const layout::Rect other = layout::inWindow(layout::at(second));
            const int x =
                box.left < other.left ? (box.left + other.left - 1) / 2 : (other.right() + 1 + box.right()) / 2;
            click({x, box.centre().y});
        } else {
            click(box.centre());
        }
    }

    // Waits for the window to show what the model expects; where nothing
    // is to change, long enough for a wrong change to show.
    void settle(const std::string& after, bool unchanged)
    {
        WindowState shown = game_.state(model.state);
        for (int i = 0; i < 100 && shown != model.state; ++i) {
            Sleep(20);
            shown = game_.state(model.state);
        }
        if (unchanged) {
            Sleep(60);
            shown = game_.state(model.state);
        }
        if (shown != model.state)
            fail("after " + after + ":\n" + shown.differences(model.state) + game_.where());
    }
    void fail(const std::string& why)
    {
        if (disagreement_.empty())
            disagreement_ = why;
    }

    const Game& game_;
    std::string disagreement_;
};

// The columns of a window, as the screen shows it, that hold red ink.
std::vector<int> redColumns(HWND window)
{
    RECT box;
    GetWindowRect(window, &box);
    const int width = box.right - box.left, height = box.bottom - box.top;
    HDC screen = GetDC(nullptr);
    HDC copy = CreateCompatibleDC(screen);
    BITMAPINFO format{};
    format.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP pixels = CreateDIBSection(screen, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(copy, pixels);
    BitBlt(copy, 0, 0, width, height, screen, box.left, box.top, SRCCOPY);
    GdiFlush();
    std::vector<int> columns;
    const auto* rgb = static_cast<const std::uint8_t*>(bits);
    for (int x = 0; x < width; ++x)
        for (int y = 0; y < height; ++y) {
            const std::uint8_t* p = rgb + 4 * (y * width + x);  // blue, green, red
            if (p[2] > 150 && p[1] + 40 < p[2] && std::abs(p[1] - p[0]) < 24) {
                columns.push_back(x);
                break;
            }
        }
    SelectObject(copy, old);
    DeleteObject(pixels);
    DeleteDC(copy);
    ReleaseDC(nullptr, screen);
    return columns;
}

}  // namespace

int wmain(int argc, wchar_t* argv[])
{
    if (argc != 4 && argc != 5) {
        std::fputs("usage: tarvelo-play <tarvelo.exe> <scenarios.json> <dpi> [<scenario name part>]\n", stderr);
        return 2;
    }
    // Aware of each monitor's DPI like the game, so that wine (from 9 on)
    // gives this side the same pixels as the game rather than scaled ones.
    SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    const std::wstring program = argv[1];
    const int dpi = _wtoi(argv[3]);
    std::ifstream list(argv[2]);
    std::stringstream json;
    json << list.rdbuf();
    const mini_json::Value scenarios = mini_json::parse(json.str());
    check(scenarios.array.size() > 40, "the shared scenarios are read");

    // Every shared scenario, each in a game of its own, against the model
    // after every event and against what the scenario says at the end.
    for (const mini_json::Value& scenario : scenarios.array) {
        const std::string& name = scenario.at("name").text;
        if (argc == 5 && name.find(narrow(argv[4])) == std::string::npos)
            continue;
        Game game(program, dpi);
        if (!game.started()) {
            check(false, name + ": the game's window did not appear");
            continue;
        }
        Modelled window(game);
        for (const mini_json::Value& step : scenario.at("steps").array)
            window.play(step.text);
        const WindowState& end = window.model.state;
        bool asSaid = true;
        if (scenario.has("closed")) {
            asSaid = end.unloaded && game.exitCode(5000) == DWORD(0);
        } else {
            std::vector<int> lit;
            for (int i = 0; i < trick::kMarkerCount; ++i)
                if (end.shown(layout::marker(i)))
                    lit.push_back(i);
            std::vector<int> expectedLit;
            for (const mini_json::Value& index : scenario.at("lit").array)
                expectedLit.push_back(int(index.number));
            asSaid = end.text(trick::Text1) == scenario.at("Text1").text &&
                     end.text(trick::Text7) == scenario.at("Text7").text &&
                     (end.shown(trick::Text7) && end.shown(trick::Label1)) == scenario.at("revealed").boolean &&
                     lit == expectedLit && end.pictureEnabled == scenario.at("picture").boolean &&
                     end.shown(trick::Frame1) == (scenario.has("rules") && scenario.at("rules").boolean) &&
                     end.shown(trick::Text6) == (scenario.has("baseShown") && scenario.at("baseShown").boolean);
        }
        check(window.disagreement().empty() && asSaid,
              name + (window.disagreement().empty() ? "" : "\n" + window.disagreement()) +
                  (asSaid ? "" : "\nthe window does not end as the scenario says"));
    }

    Game game(program, dpi);
    if (!game.started()) {
        check(false, "the game's window appears");
        return 1;
    }

    // The frame: a sizable tool window, captioned, with a close button
    // only, its client area 254 x 207 at 96 DPI inside a frame of
    // 262 x 231, centred on the screen.
    const LONG style = GetWindowLongW(game.form(), GWL_STYLE), exStyle = GetWindowLongW(game.form(), GWL_EXSTYLE);
    check((style & (WS_CAPTION | WS_SYSMENU | WS_THICKFRAME)) == (WS_CAPTION | WS_SYSMENU | WS_THICKFRAME) &&
              !(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) && (exStyle & WS_EX_TOOLWINDOW) &&
              !(exStyle & WS_EX_APPWINDOW),
          "a sizable tool window with a close button only and no taskbar button");
    check(game.text(game.form()) == "Tarvelo", "the caption is Tarvelo");
    RECT client, frame;
    GetClientRect(game.form(), &client);
    GetWindowRect(game.form(), &frame);
    check(client.right == game.scaled(254) && client.bottom == game.scaled(207),
          "the client area is " + std::to_string(client.right) + " x " + std::to_string(client.bottom));
    // The frame is the system's around that client area: with Windows'
    // standard metrics at 96 DPI, a 4 px border and a 20 px caption, so
    // 262 x 231 (wine 10 draws its small caption 2 px taller).
    RECT around{0, 0, 0, 0};
    AdjustWindowRectExForDpi(&around, DWORD(style), FALSE, DWORD(exStyle), UINT(dpi));
    const int frameWidth = frame.right - frame.left, frameHeight = frame.bottom - frame.top;
    const bool standard = dpi == 96 && around.right - around.left == 8 && around.bottom - around.top == 24;
    check(frameWidth == client.right + around.right - around.left &&
              frameHeight == client.bottom + around.bottom - around.top &&
              (!standard || (frameWidth == 262 && frameHeight == 231)),
          "the frame is " + std::to_string(frameWidth) + " x " + std::to_string(frameHeight) +
              (standard ? ", the standard metrics' size" : ", the system's frame around the client area"));
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
    check(std::abs(frame.left + frame.right - screenWidth) <= 1 &&
              std::abs(frame.top + frame.bottom - screenHeight) <= 1,
          "the window is centred on the screen with its frame");

    // Every control a child window of Win32's own classes, in its place.
    for (const ControlSpec& spec : layout::kControls) {
        HWND child = game.window(spec.id);
        wchar_t className[32];
        GetClassNameW(child, className, 32);
        const std::string type = narrow(className);
        const std::string wanted = spec.type == Type::TextBox                             ? "Edit"
                                   : spec.type == Type::Label || spec.type == Type::Shape ? "Static"
                                                                                          : "Button";
        RECT box;
        GetWindowRect(child, &box);
        MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&box), 2);
        const layout::Rect place = layout::pixels(spec);
        const RECT expected{game.scaled(place.left), game.scaled(place.top), game.scaled(place.left + place.width),
                            game.scaled(place.top + place.height)};
        bool ok = _stricmp(type.c_str(), wanted.c_str()) == 0 && EqualRect(&box, &expected);
        if (spec.type == Type::CommandButton)
            ok = ok && game.text(child) == spec.text;
        if (spec.type == Type::TextBox)
            ok = ok && bool(GetWindowLongW(child, GWL_STYLE) & ES_READONLY) == spec.locked;
        check(ok, trick::to_string(spec.id) + ": a " + type + " window at " + std::to_string(box.left) + ", " +
                      std::to_string(box.top) + ", " + std::to_string(box.right - box.left) + " x " +
                      std::to_string(box.bottom - box.top));
    }
    // "XXX" and every answer stand whole in the answer field: its last
    // inner column stays clear of their red.
    // The tab order, forwards and backwards, with the rules open too.
    const auto walk = [&game](bool backwards) {
        std::vector<std::string> visited;
        for (int i = 0; i < 6; ++i) {
            game.tab(backwards);
            const ControlSpec* spec = nullptr;
            for (const ControlSpec& control : layout::kControls)
                if (game.window(control.id) == game.focus())
                    spec = &control;
            visited.push_back(spec ? trick::to_string(spec->id) : "?");
        }
        std::string line;
        for (const std::string& name : visited)
            line += name + " ";
        return line;
    };
    check(game.focus() == game.window(trick::Text1), "the tap count has the focus at start");
    // Hidden controls are skipped: the base value, the answer field and,
    // until the rules open, «ОК».
    const std::string forwards = walk(false), backwards = walk(true);
    check(forwards == "Command1 Command2 Command3 Command4 Text1 Command1 ", "Tab walks " + forwards);
    check(backwards == "Text1 Command4 Command3 Command2 Command1 Text1 ", "Shift+Tab walks " + backwards);
    {
        Modelled window(game);
        window.play("rules");
        const std::string withRules = walk(false);
        // «Правила» took the focus with its click.
        check(withRules == "Command5 Text1 Command1 Command2 Command3 Command4 ",
              "with the rules open Tab walks " + withRules);
        window.play("ok");
    }

    // What a screen reader gets through the standard accessibility
    // proxies, as far as wine has them: names and values (wine knows no
    // roles of buttons, nor their default action).
    CoInitialize(nullptr);
    const auto accessible = [](HWND window) {
        IAccessible* object = nullptr;
        // mingw-w64's oleacc import library (10, on Debian 12) links
        // IID_IAccessible to an import thunk, not to the GUID; the
        // compiler's own __uuidof gives the GUID.
        AccessibleObjectFromWindow(window, DWORD(OBJID_CLIENT), __uuidof(IAccessible),
                                   reinterpret_cast<void**>(&object));
        return object;
    };
    const auto read = [](IAccessible* object, bool value) {
        VARIANT self;
        VariantInit(&self);
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        BSTR text = nullptr;
        if (object != nullptr)
            value ? object->get_accValue(self, &text) : object->get_accName(self, &text);
        std::string result = text ? narrow(std::wstring(text, SysStringLen(text))) : "(none)";
        SysFreeString(text);
        return result;
    };
    for (const auto& [control, value, expected] :
         {std::tuple{layout::kPicture, false, std::string(layout::at(layout::kPicture).accessibleName)},
          std::tuple{trick::Text1, true, game.text(game.window(trick::Text1))},
          std::tuple{trick::Command2, false, std::string(layout::at(trick::Command2).text)},
          std::tuple{trick::Text7, false, std::string(layout::at(trick::Label1).text)}}) {
        IAccessible* object = accessible(game.window(control));
        const std::string seen = read(object, value);
        check(seen == expected, trick::to_string(control) + (value ? " value" : " name") + " reads \"" + seen + "\"");
        if (object != nullptr)
            object->Release();
    }

    // "XXX" and every answer stand whole in the answer field, as drawn on
    // the screen: their red spans as wide as the face that the program
    // carries sets them, less the side bearings, inside the field's border.
    Modelled(game).play("stop");
    HMODULE resources = LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HRSRC found = FindResourceW(resources, MAKEINTRESOURCEW(103), MAKEINTRESOURCEW(10));
    DWORD faces = 0;
    HANDLE face = AddFontMemResourceEx(LockResource(LoadResource(resources, found)), SizeofResource(resources, found),
                                       nullptr, &faces);
    HFONT narrowFace = CreateFontW(-game.scaled(13), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0,
                                   L"Tarvelo Sans Narrow");
    HDC measuring = GetDC(nullptr);
    HGDIOBJ usual = SelectObject(measuring, narrowFace);
    std::vector<std::string> answers{"XXX", "?"};
    for (int n = 1; n <= 13; ++n)
        answers.push_back(std::to_string(n));
    std::string clipped;
    for (const std::string& answer : answers) {
        HWND field = game.window(trick::Text7);
        SendMessageW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(widen(answer).c_str()));
        Sleep(100);
        const std::vector<int> columns = redColumns(field);
        SIZE set{};
        const std::wstring text = widen(answer);
        GetTextExtentPoint32W(measuring, text.c_str(), int(text.size()), &set);
        if (columns.empty() || columns.back() - columns.front() + 1 < set.cx - game.scaled(3) || columns.front() < 1 ||
            columns.back() >= game.scaled(layout::inWindow(trick::Text7).width) - 1)
            clipped += " \"" + answer + "\" (" +
                       std::to_string(columns.empty() ? 0 : columns.back() - columns.front() + 1) + " of " +
                       std::to_string(set.cx) + " px)";
    }
    SelectObject(measuring, usual);
    ReleaseDC(nullptr, measuring);
    DeleteObject(narrowFace);
    RemoveFontMemResourceEx(face);
    FreeLibrary(resources);
    check(faces == 1, "the program carries the answer field's face");
    check(clipped.empty(), "every answer stands whole in the answer field" + (clipped.empty() ? "" : ":" + clipped));

    // A quick second click on the same spot, which Windows makes a double
    // click, is a tap too.
    {
        Game quick(program, dpi);
        Modelled window(quick);
        for (int i = 0; i < 6; ++i)
            window.click(layout::inWindow(layout::kBackgroundSpot));
        check(window.disagreement().empty() && window.model.state.text(trick::Text1) == "6",
              "six quick clicks on one spot are six taps" +
                  (window.disagreement().empty() ? "" : "\n" + window.disagreement()));
        // What a screen reader's default action sends a button on Windows:
        // one tap, and none once «Стоп» has ended the round.
        for (const char* then : {"tap", "stop", "tap"}) {
            if (std::string(then) == "stop") {
                window.play("stop");
                continue;
            }
            SendMessageW(quick.window(layout::kPicture), BM_CLICK, 0, 0);
            window.model.run(WindowEvent::Tap);
        }
        Sleep(100);
        check(quick.state(window.model.state) == window.model.state && window.model.state.text(trick::Text7) == "13",
              "pressing the picture as assistive technology does taps it once, and not after «Стоп»");
    }

    // A failure ends its handler, is reported in one line, and the game
    // goes on: with the base value spoiled, the seventh and eighth taps
    // cannot work out the answer, and a new round mends it.
    {
        Game spoiled(program, dpi);
        Modelled window(spoiled);
        for (const char* step : {"base abc", "tap 8", "new", "tap 7", "stop"})
            window.play(step);
        const std::string errors = spoiled.errors();
        const std::string line = "Tarvelo: Image1_Click failed: type mismatch: base value \"abc\" is not a number\n";
        check(window.disagreement().empty() && errors == line + line && window.model.state.text(trick::Text7) == "13",
              "a failure is reported in one line and the game goes on" +
                  (window.disagreement().empty() ? "" : "\n" + window.disagreement()) +
                  (errors == line + line ? "" : "\nstandard error:\n" + errors));
    }

    // The caption bar's close button ends the program with status 0, as
    // «Выход» does.
    TITLEBARINFO bar{};
    bar.cbSize = sizeof bar;
    GetTitleBarInfo(game.form(), &bar);
    // The button is the last of the small caption's, at its right end.
    const POINT close{bar.rcTitleBar.right - GetSystemMetrics(SM_CXSMSIZE) / 2 - 1,
                      (bar.rcTitleBar.top + bar.rcTitleBar.bottom) / 2};
    Game::clickOnScreen(close);
    check(!(bar.rgstate[5] & STATE_SYSTEM_INVISIBLE) && game.exitCode(5000) == DWORD(0),
          "the close button ends the program with status 0");
    return failures == 0 ? 0 : 1;
}
