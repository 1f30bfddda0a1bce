// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

// tarvelo-measure: the game's start-up, memory and tap timed from outside
// the process, against the X server, beside the floor programs.
//
//   tarvelo-measure [--starts N] [--taps N] [--start-goal RATIO] [--taps-in-runs] [--until-settled]
//                   <game> <text floor> <bare floor> <tap floor> [<peer> ...]
//
// Start-up runs from the spawn of a program to the moment when the X
// server has damaged 90 % of its window, that is when most of its first
// paint is on the screen; the program is then killed, and its CPU time and
// peak resident memory so far are read from wait4(). The programs take
// turns, one start each, after one start each to warm the file cache. A tap
// runs from an XTEST click to the first damage of the repaint that it
// causes, the game's and the tap floor's by turns (--taps-in-runs: a round
// each, where a click first activates the window). --start-goal sets the
// start-up ratio to meet (1.15 on the desktop).
//
// Where a program's first damage covers its whole window before its
// contents are drawn (wine flushes the frame and the background as it maps
// the window), --until-settled times start-up also to the moment when the
// client area shows what it shows once settled, read back from the X server
// at each damage; the warm-up start learns that picture. The program is then
// killed there, and CPU time and memory are to that point.
//
// Run it on an X server of its own without a window manager: `make bench`
// does.

#include <xcb/damage.h>
#include <xcb/xcb.h>
#include <xcb/xfixes.h>
#include <xcb/xtest.h>

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "layout/window.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

[[noreturn]] void die(const std::string& why)
{
    std::fprintf(stderr, "tarvelo-measure: %s\n", why.c_str());
    std::exit(1);
}

double milliseconds(Clock::duration duration)
{
    return std::chrono::duration<double, std::milli>(duration).count();
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct Rect {
    int x = 0, y = 0, width = 0, height = 0;
    bool contains(int px, int py) const { return px >= x && py >= y && px < x + width && py < y + height; }
};

// The X server, watched through DAMAGE on the root window: every drawing
// on the screen is reported as a rectangle.
class Screen {
public:
    Screen()
    {
        connection_ = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(connection_))
            die("cannot open the display");
        root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
        const xcb_query_extension_reply_t* damage = xcb_get_extension_data(connection_, &xcb_damage_id);
        if (!damage || !damage->present || !xcb_get_extension_data(connection_, &xcb_test_id)->present)
            die("the X server lacks DAMAGE or XTEST");
        damageEvent_ = damage->first_event + XCB_DAMAGE_NOTIFY;
        free(xcb_xfixes_query_version_reply(connection_, xcb_xfixes_query_version(connection_, 5, 0), nullptr));
        free(xcb_damage_query_version_reply(connection_, xcb_damage_query_version(connection_, 1, 1), nullptr));
        const std::uint32_t events = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(connection_, root_, XCB_CW_EVENT_MASK, &events);
        xcb_damage_create(connection_, xcb_generate_id(connection_), root_, XCB_DAMAGE_REPORT_LEVEL_RAW_RECTANGLES);
        xcb_flush(connection_);
    }
    ~Screen() { xcb_disconnect(connection_); }

    // The next mapped top-level window, or damaged rectangle; false when
    // nothing comes within `timeout`.
    struct Event {
        bool mapped = false;
        Rect rect;  // the window mapped, or the area damaged
    };
    bool next(Event& event, std::chrono::milliseconds timeout)
    {
        const Clock::time_point end = Clock::now() + timeout;
        for (;;) {
            std::unique_ptr<xcb_generic_event_t, decltype(&free)> raw(xcb_poll_for_event(connection_), &free);
            if (!raw) {
                const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
                if (left <= 0)
                    return false;
                pollfd fd{xcb_get_file_descriptor(connection_), POLLIN, 0};
                poll(&fd, 1, static_cast<int>(left));
                if (xcb_connection_has_error(connection_))
                    die("lost the display");
                continue;
            }
            const std::uint8_t type = raw->response_type & 0x7F;
            if (type == damageEvent_) {
                const auto* damage = reinterpret_cast<xcb_damage_notify_event_t*>(raw.get());
                event = {false, {damage->area.x, damage->area.y, damage->area.width, damage->area.height}};
                return true;
            }
            if (type == XCB_MAP_NOTIFY) {
                const auto* map = reinterpret_cast<xcb_map_notify_event_t*>(raw.get());
                std::unique_ptr<xcb_get_geometry_reply_t, decltype(&free)> geometry(
                    xcb_get_geometry_reply(connection_, xcb_get_geometry(connection_, map->window), nullptr), &free);
                if (geometry && geometry->width >= 100 && geometry->height >= 100) {
                    event = {true, {geometry->x, geometry->y, geometry->width, geometry->height}};
                    return true;
                }
            }
        }
    }

    // The pixels of `area` of the screen, as the X server holds them now.
    std::vector<std::uint32_t> pixels(const Rect& area)
    {
        std::unique_ptr<xcb_get_image_reply_t, decltype(&free)> image(
            xcb_get_image_reply(connection_,
                                xcb_get_image(connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, root_,
                                              static_cast<std::int16_t>(area.x), static_cast<std::int16_t>(area.y),
                                              static_cast<std::uint16_t>(area.width),
                                              static_cast<std::uint16_t>(area.height), ~0u),
                                nullptr),
            &free);
        if (!image || xcb_get_image_data_length(image.get()) < area.width * area.height * 4)
            die("cannot read the screen back");
        const auto* data = reinterpret_cast<const std::uint32_t*>(xcb_get_image_data(image.get()));
        return {data, data + area.width * area.height};
    }

    void click(int x, int y)
    {
        xcb_test_fake_input(connection_, XCB_MOTION_NOTIFY, 0, XCB_CURRENT_TIME, root_, static_cast<std::int16_t>(x),
                            static_cast<std::int16_t>(y), 0);
        xcb_test_fake_input(connection_, XCB_BUTTON_PRESS, 1, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
        xcb_test_fake_input(connection_, XCB_BUTTON_RELEASE, 1, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
        xcb_flush(connection_);
    }

private:
    xcb_connection_t* connection_ = nullptr;
    xcb_window_t root_ = 0;
    std::uint8_t damageEvent_ = 0;
};

struct Start {
    double wallMs, drawnMs, cpuMs, peakMiB;
};

struct Running {
    pid_t pid = 0;
    Rect window;
    Rect client;  // the client area, on the screen
    Clock::duration toPainted{};
    Clock::duration toDrawn{};  // with a settled picture to wait for
};

using Picture = std::vector<std::uint32_t>;

// Whether all but 0.1 % of the pixels are those of `settled`: a caret may
// blink.
bool looksSettled(const Picture& now, const Picture& settled)
{
    std::size_t differ = 0;
    for (std::size_t i = 0; i < now.size(); ++i)
        differ += now[i] != settled[i];
    return differ * 1000 <= now.size();
}

// The client area of a window that maps at `window`. A program that draws
// its own frame into its X window (wine without a window manager) has it
// inside, with borders alike left, right and below and the caption above;
// elsewhere the window is the client area.
Rect clientArea(const Rect& window)
{
    const layout::Size client = layout::clientSize();
    const int border = std::max(0, (window.width - client.width) / 2);
    return {window.x + border, window.y + std::max(0, window.height - border - client.height), client.width,
            client.height};
}

// Spawns `program` and waits until 90 % of its window is damaged; given
// the client area's settled picture, then until the client area shows it.
Running startPainted(Screen& screen, const std::string& program, const Picture* settled = nullptr)
{
    char* const args[] = {const_cast<char*>(program.c_str()), nullptr};
    Running running;
    const Clock::time_point spawned = Clock::now();
    if (posix_spawn(&running.pid, program.c_str(), nullptr, nullptr, args, environ) != 0)
        die("cannot start " + program);
    std::vector<bool> painted;
    std::size_t count = 0;
    Screen::Event event;
    while (screen.next(event, std::chrono::seconds(20))) {
        if (event.mapped && painted.empty()) {
            running.window = event.rect;
            running.client = clientArea(event.rect);
            painted.assign(static_cast<std::size_t>(event.rect.width * event.rect.height), false);
            continue;
        }
        if (painted.empty() || event.mapped)
            continue;
        const Rect& w = running.window;
        for (int y = std::max(event.rect.y, w.y); y < std::min(event.rect.y + event.rect.height, w.y + w.height); ++y)
            for (int x = std::max(event.rect.x, w.x); x < std::min(event.rect.x + event.rect.width, w.x + w.width);
                 ++x) {
                const auto cell = static_cast<std::size_t>((y - w.y) * w.width + (x - w.x));
                if (!painted[cell]) {
                    painted[cell] = true;
                    ++count;
                }
            }
        if (running.toPainted == Clock::duration{} && count * 10 >= painted.size() * 9)
            running.toPainted = Clock::now() - spawned;
        if (running.toPainted != Clock::duration{}) {
            if (settled == nullptr)
                return running;
            // Timed once the picture is back, so never early.
            if (looksSettled(screen.pixels(running.client), *settled)) {
                running.toDrawn = Clock::now() - spawned;
                return running;
            }
        }
    }
    kill(running.pid, SIGKILL);
    die(program + " painted no window within 20 s");
}

Start measureStart(Screen& screen, const std::string& program, const Picture* settled = nullptr)
{
    const Running running = startPainted(screen, program, settled);
    kill(running.pid, SIGKILL);
    int status = 0;
    rusage usage{};
    wait4(running.pid, &status, 0, &usage);
    const auto cpu = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_usec) / 1e3;
    };
    // Whatever it drew while dying must not count for the next one.
    Screen::Event ignored;
    while (screen.next(ignored, std::chrono::milliseconds(20))) {
    }
    return {milliseconds(running.toPainted), milliseconds(running.toDrawn), cpu(usage.ru_utime) + cpu(usage.ru_stime),
            static_cast<double>(usage.ru_maxrss) / 1024.0};
}

// Microseconds from a click at (x, y) of a client area to the first damage
// inside it.
double timeTap(Screen& screen, const Rect& client, int x, int y)
{
    Screen::Event event;
    while (screen.next(event, std::chrono::milliseconds(5))) {
    }
    const Clock::time_point clicked = Clock::now();
    screen.click(client.x + x, client.y + y);
    while (screen.next(event, std::chrono::seconds(5))) {
        if (!event.mapped && event.rect.x < client.x + client.width && client.x < event.rect.x + event.rect.width &&
            event.rect.y < client.y + client.height && client.y < event.rect.y + event.rect.height)
            return std::chrono::duration<double, std::micro>(Clock::now() - clicked).count();
    }
    die("a click brought no repaint");
}

void stop(const Running& running)
{
    kill(running.pid, SIGKILL);
    waitpid(running.pid, nullptr, 0);
}

// What the client area of `program` shows once its first paint is over
// (0.4 s after 90 % of its window was damaged), its start-up also warming
// the file cache.
Picture settledPicture(Screen& screen, const std::string& program)
{
    const Running running = startPainted(screen, program);
    Screen::Event ignored;
    const Clock::time_point end = Clock::now() + std::chrono::milliseconds(400);
    while (Clock::now() < end)
        screen.next(ignored, std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()));
    Picture settled = screen.pixels(running.client);
    stop(running);
    while (screen.next(ignored, std::chrono::milliseconds(20))) {
    }
    return settled;
}

}  // namespace

int main(int argc, char* argv[])
{
    // Medians of 41 starts hold to a few per cent on a busy two-core
    // machine; 21 moved by a tenth between runs.
    int starts = 41;
    int taps = 190;
    double startGoal = 1.15;
    bool tapsInRuns = false, untilSettled = false;
    std::vector<std::string> programs;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if ((arg == "--starts" || arg == "--taps") && i + 1 < argc)
            (arg == "--starts" ? starts : taps) = std::max(1, std::atoi(argv[++i]));
        else if (arg == "--start-goal" && i + 1 < argc)
            startGoal = std::atof(argv[++i]);
        else if (arg == "--taps-in-runs")
            tapsInRuns = true;
        else if (arg == "--until-settled")
            untilSettled = true;
        else
            programs.emplace_back(arg);
    }
    if (programs.size() < 4)
        die("usage: tarvelo-measure [--starts N] [--taps N] [--start-goal RATIO] [--taps-in-runs] [--until-settled] "
            "<game> <text floor> <bare floor> <tap floor> [<peer> ...]");
    const std::string tapFloor = programs[3];
    programs.erase(programs.begin() + 3);

    Screen screen;
    const std::size_t n = programs.size();
    std::vector<std::vector<double>> wall(n), drawn(n), cpu(n), peak(n);
    std::vector<Picture> settled(n);
    for (std::size_t p = 0; p < n; ++p) {
        if (untilSettled)
            settled[p] = settledPicture(screen, programs[p]);
        else
            measureStart(screen, programs[p]);
    }
    for (int round = 0; round < starts; ++round) {
        for (std::size_t p = 0; p < n; ++p) {
            // Each round starts with another program, so that none always
            // follows the same one.
            const std::size_t which = (p + static_cast<std::size_t>(round)) % n;
            const Start start = measureStart(screen, programs[which], untilSettled ? &settled[which] : nullptr);
            wall[which].push_back(start.wallMs);
            drawn[which].push_back(start.drawnMs);
            cpu[which].push_back(start.cpuMs);
            peak[which].push_back(start.peakMiB);
        }
    }

    // Taps: the game on its picture's white space, counting from 1 to 19
    // ("Загадать" untimed in between), and the floor's square, by turns.
    const Running game = startPainted(screen, programs[0]);
    const Running floor = startPainted(screen, tapFloor);
    const layout::Point newRound = layout::inWindow(trick::Command3).centre();
    const layout::Point background = layout::inWindow(layout::kBackgroundSpot);
    std::vector<double> gameTaps, floorTaps;
    if (!tapsInRuns) {
        for (int tap = 0; tap < taps; ++tap) {
            if (tap % 19 == 0)
                timeTap(screen, game.client, newRound.x, newRound.y);
            gameTaps.push_back(timeTap(screen, game.client, background.x, background.y));
            floorTaps.push_back(timeTap(screen, floor.client, 5, 5));
        }
    } else {
        // Where a click on the other window first activates it, which
        // repaints both frames (wine without a window manager), the turns
        // are a round each, opened by an untimed click that activates.
        for (int done = 0; done < taps; done += 19) {
            const int run = std::min(19, taps - done);
            timeTap(screen, game.client, newRound.x, newRound.y);
            for (int tap = 0; tap < run; ++tap)
                gameTaps.push_back(timeTap(screen, game.client, background.x, background.y));
            timeTap(screen, floor.client, 5, 5);
            for (int tap = 0; tap < run; ++tap)
                floorTaps.push_back(timeTap(screen, floor.client, 5, 5));
        }
    }
    stop(game);
    stop(floor);

    const auto row = [&](const char* measure, const std::vector<std::vector<double>>& values, const char* unit,
                         int decimals, double goal) {
        const double game = median(values[0]), text = median(values[1]), bare = median(values[2]);
        std::printf("| %s | %.*f %s | %.*f %s | %.2f | <= %.2f%s | %.*f %s | %.2f |\n", measure, decimals, game, unit,
                    decimals, text, unit, game / text, goal, game / text <= goal ? " met" : " **missed**", decimals,
                    bare, unit, game / bare);
    };
    std::printf("%d starts of each program, %d taps of each window, medians\n\n", starts, taps);
    std::printf("| Measure | Game | Text floor | Ratio | Goal | Bare floor | Ratio |\n|---|---|---|---|---|---|---|\n");
    row("Start-up: spawn to 90 % of the window damaged", wall, "ms", 1, startGoal);
    if (untilSettled)
        row("Start-up: spawn to the client area drawn as it settles", drawn, "ms", 1, startGoal);
    row("CPU time to that point", cpu, "ms", 1, startGoal);
    row("Peak resident memory to that point", peak, "MiB", 1, 1.10);
    const double gameTap = median(gameTaps), floorTap = median(floorTaps);
    std::printf(
        "| Tap: XTEST click to the repaint's first damage | %.0f us | %.0f us (tap floor) | %.2f | <= 1.30%s | | |\n",
        gameTap, floorTap, gameTap / floorTap, gameTap / floorTap <= 1.3 ? " met" : " **missed**");
    for (std::size_t p = 3; p < n; ++p)
        std::printf("\nPeer %s: start-up %.1f ms (%.2f x the game), peak memory %.1f MiB (%.2f x the game)\n",
                    programs[p].c_str(), median(wall[p]), median(wall[p]) / median(wall[0]), median(peak[p]),
                    median(peak[p]) / median(peak[0]));
    return 0;
}
