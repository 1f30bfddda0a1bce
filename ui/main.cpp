// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

#include <QApplication>

#include "game.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    ui::setUpApplication();

    ui::Game game;
    game.start();
    return QApplication::exec();
}
