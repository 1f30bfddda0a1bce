// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

// tarvelo-bench: the secondary measurements, taken inside the process on
// the offscreen platform, beside a minimal Qt window of the same size.
// They miss the X server and Qt's event thread, and the windows run inside
// this program with its test libraries: for the honest numbers see
// tarvelo-measure.
//
//   tarvelo-bench [--starts N] [--taps N]
//
// Start-up and memory are measured over fresh processes of this program
// (the game, the minimal window and the same with a line of text take
// turns); taps run in this process. Without a QT_QPA_PLATFORM of its own,
// it measures on the offscreen platform, so it needs no display.

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <spawn.h>
#include <string>
#include <string_view>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "ui/game.h"
#include "window_driver.h"

extern char** environ;

namespace {

// Reports the end of the first paint of `window` on standard output, then
// ends the program.
class FirstPaint : public QObject {
public:
    explicit FirstPaint(QWidget& window) : window_(window) { window.installEventFilter(this); }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == &window_ && event->type() == QEvent::Paint && !seen_) {
            seen_ = true;
            // Queued, so it runs once the paint that starts here is done.
            QTimer::singleShot(0, [] {
                std::fputs("painted\n", stdout);
                std::fflush(stdout);
                QCoreApplication::exit(0);
            });
        }
        return false;
    }

private:
    QWidget& window_;
    bool seen_ = false;
};

// The offscreen platform warns when a tool window is raised on showing;
// the children keep the bench's output to its table.
void quietRaise(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (message != QLatin1String("This plugin does not support raise()"))
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

int child(int argc, char* argv[], std::string_view mode)
{
    qInstallMessageHandler(quietRaise);
    QApplication app(argc, argv);
    std::unique_ptr<ui::Game> game;
    std::unique_ptr<QWidget> minimal;
    QWidget* window = nullptr;
    if (mode == "game") {
        ui::setUpApplication();
        game = std::make_unique<ui::Game>();
        window = &game->window();
        FirstPaint* report = new FirstPaint(*window);
        report->setParent(&app);
        game->start();
    } else {
        minimal = std::make_unique<QWidget>();
        minimal->resize(clientSize());
        // The same window with one line of text starts the font system,
        // which the bare window never needs.
        if (mode == "text")
            (new QLabel(QStringLiteral("Ваше число:"), minimal.get()))->move(8, 8);
        window = minimal.get();
        FirstPaint* report = new FirstPaint(*window);
        report->setParent(&app);
        minimal->show();
    }
    return QApplication::exec();
}

struct Start {
    double milliseconds;
    double peakMiB;
};

// Starts this program as a child in `mode` and times it from the spawn to
// its report of the first paint.
Start timeStart(const char* self, const char* mode)
{
    int out[2];
    if (pipe(out) != 0)
        std::perror("pipe"), std::exit(1);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    char* const args[] = {const_cast<char*>(self), const_cast<char*>("--child"), const_cast<char*>(mode), nullptr};

    QElapsedTimer clock;
    clock.start();
    pid_t pid = 0;
    if (posix_spawn(&pid, self, &actions, nullptr, args, environ) != 0)
        std::perror("posix_spawn"), std::exit(1);
    close(out[1]);
    char line[16] = {};
    const ssize_t got = read(out[0], line, sizeof line - 1);
    const double milliseconds = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    close(out[0]);
    posix_spawn_file_actions_destroy(&actions);

    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    if (got <= 0 || std::strncmp(line, "painted", 7) != 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "tarvelo-bench: the %s child did not report its first paint\n", mode);
        std::exit(1);
    }
    return {milliseconds, static_cast<double>(usage.ru_maxrss) / 1024.0};
}

double percentile(std::vector<double> values, double share)
{
    std::sort(values.begin(), values.end());
    const auto index = static_cast<std::size_t>(share * static_cast<double>(values.size() - 1) + 0.5);
    return values[index];
}

// Counts the paints of a window, so that a tap's time can end when the
// repaint that it caused is done.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget& widget) { widget.installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override
    {
        paints += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
    int paints = 0;
};

// Microseconds from the mouse press on the picture to the end of the
// repaint, for `taps` taps. Between rounds, "Загадать" starts a new one.
std::vector<double> timeTaps(int taps)
{
    const std::unique_ptr<ui::Game> game = startGame();
    if (!game)
        std::fputs("tarvelo-bench: the window was not exposed\n", stderr), std::exit(1);
    const WindowDriver player(game->window());
    QLineEdit* count = &player.textBox(trick::Text1);
    PaintCounter painted(*count);

    std::vector<double> micros;
    micros.reserve(static_cast<std::size_t>(taps));
    QElapsedTimer clock;
    while (static_cast<int>(micros.size()) < taps) {
        if (count->text() == QLatin1String("19")) {
            player.newRound();
            QCoreApplication::processEvents();
        }
        const int before = painted.paints;
        clock.start();
        player.click(background());
        while (painted.paints == before)
            QCoreApplication::processEvents();
        micros.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e3);
    }
    return micros;
}

double median(std::vector<double> values)
{
    return percentile(std::move(values), 0.5);
}

}  // namespace

int main(int argc, char* argv[])
{
    if (argc == 3 && std::string_view(argv[1]) == "--child")
        return child(argc, argv, argv[2]);

    int starts = 21;
    int taps = 10000;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::string_view(argv[i]) == "--starts")
            starts = std::max(1, std::atoi(argv[i + 1]));
        else if (std::string_view(argv[i]) == "--taps")
            taps = std::max(1, std::atoi(argv[i + 1]));
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    // Start-up and memory: fresh processes, alternating, after one of each
    // to warm the file cache.
    const char* const modes[] = {"game", "minimal", "text"};
    std::vector<double> ms[3], mib[3];
    for (const char* mode : modes)
        timeStart(argv[0], mode);
    for (int i = 0; i < starts; ++i) {
        for (int m = 0; m < 3; ++m) {
            const Start start = timeStart(argv[0], modes[m]);
            ms[m].push_back(start.milliseconds);
            mib[m].push_back(start.peakMiB);
        }
    }

    QApplication app(argc, argv);
    const std::vector<double> tapMicros = timeTaps(taps);

    const double tapMedian = median(tapMicros);
    std::printf("Tarvelo %s on the %s platform: %d starts of each window, %d taps\n\n", TARVELO_VERSION,
                qPrintable(QGuiApplication::platformName()), starts, taps);
    std::printf("| Measure | Game | Minimal window | Ratio | Minimal window with a line of text | Ratio |\n");
    std::printf("|---|---|---|---|---|---|\n");
    std::printf("| Start-up to first paint, median | %.1f ms | %.1f ms | %.2f | %.1f ms | %.2f |\n", median(ms[0]),
                median(ms[1]), median(ms[0]) / median(ms[1]), median(ms[2]), median(ms[0]) / median(ms[2]));
    std::printf("| Peak resident memory, median | %.1f MiB | %.1f MiB | %.2f | %.1f MiB | %.2f |\n", median(mib[0]),
                median(mib[1]), median(mib[0]) / median(mib[1]), median(mib[2]), median(mib[0]) / median(mib[2]));
    std::printf("| One tap, mouse event to repaint done | median %.0f us, p99 %.0f us | | | | |\n", tapMedian,
                percentile(tapMicros, 0.99));
    return 0;
}
