// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

// A long random session on the real window: clicks anywhere, the buttons,
// typed text. After every event the window must show exactly what the
// independent model of the window says, and the process must not have kept
// growing.

#include <QTest>

#include <fstream>
#include <random>
#include <unistd.h>

#include "modelled_window.h"

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;  // its quarantine holds freed memory back
#else
constexpr bool kAddressSanitizer = false;
#endif

long residentKiB()
{
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

}  // namespace

class SoakTest : public QObject {
    Q_OBJECT

private slots:
    void hundredThousandRandomEventsAsTheModelSays();
};

void SoakTest::hundredThousandRandomEventsAsTheModelSays()
{
    const std::unique_ptr<ui::Game> game = startGame();
    QVERIFY(game);
    const ui::Form1& form = game->window();
    ModelledWindow player(game->window());

    // The session goes on without "Выход".
    const trick::Control buttons[] = {trick::Command2, trick::Command3, trick::Command4, trick::Command5};
    const QString typed[] = {"0", "7", "13", "19", "20", "07", " 5", "+3", "abc", "", "семь", "1234567890123"};
    std::mt19937 random(20261208);
    const auto below = [&random](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };

    long warmedUp = 0;
    constexpr int kEvents = 100000;
    for (int event = 0; event < kEvents; ++event) {
        const int kind = below(20);
        if (kind < 19) {
            const QPoint point =
                kind < 14 ? QPoint(below(form.width()), below(form.height())) : centreOf(buttons[below(4)]);
            if (player.eventAt(point) != WindowEvent::Exit)
                player.click(point);
        } else {
            player.type(typed[below(std::size(typed))]);
        }
        if (event % 16 == 0)
            QCoreApplication::processEvents();
        if (event == kEvents / 10)
            warmedUp = residentKiB();
        if (!player.disagreement().isEmpty())
            QFAIL(qPrintable(QStringLiteral("event %1, %2").arg(event).arg(player.disagreement())));
    }

    if (!kAddressSanitizer) {
        const long grown = residentKiB() - warmedUp;
        qInfo("resident memory grew by %ld KiB after warm-up", grown);
        QVERIFY2(grown < 2048, qPrintable(QStringLiteral("grew by %1 KiB").arg(grown)));
    }
}

QTEST_MAIN(SoakTest)
#include "test_soak.moc"
