#include "game.h"

#include <QCoreApplication>

#include "taskbar.h"

namespace ui {

Game::Game() : runtime_(form_)
{
    QObject::connect(&form_, &Form1::closed, QCoreApplication::instance(), &QCoreApplication::quit);
}

void Game::start()
{
    runtime_.load();
    keepOffTaskbar(form_);
    form_.show();
}

}  // namespace ui
