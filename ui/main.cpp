// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "game.h"
#include "platform.h"

int main(int argc, char* argv[])
{
    // The one option, answered without a display.
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("tarvelo %s\n", TARVELO_VERSION);
        return 0;
    }

    // Without a display Qt's platform plugin would abort the program.
    ui::PlatformChoice platform;
    if (!platform.problem().empty()) {
        std::fprintf(stderr, "tarvelo: %s\n", platform.problem().c_str());
        return 1;
    }

    // The game takes no other options, and neither does Qt on its behalf:
    // it gets the program's name alone, so -platform, -style and the like
    // do nothing. Qt's environment variables (QT_QPA_PLATFORM, ...) stay the
    // way to choose.
    static char fallbackName[] = "tarvelo";
    int qtArgc = 1;
    char* qtArgv[] = {argc > 0 && argv[0] != nullptr ? argv[0] : fallbackName, nullptr};
    QApplication app(qtArgc, qtArgv);
    platform.release();
    ui::setUpApplication();

    ui::Game game;
    game.start();
    const int status = QApplication::exec();

    // Qt's Wayland client can deadlock tearing its display down: the
    // destructor waits for its event thread, which may still be blocked
    // reading from the compositor. Closed by a headless sway, the game hung
    // so in about one run of six with Qt 6.4, 6.8 and 6.11 alike. It keeps
    // nothing to save, so on Wayland it leaves without the teardown.
    if (ui::display() == ui::Display::wayland) {
        std::fflush(nullptr);
        std::_Exit(status);
    }
    return status;
}
