#include "game.h"

#include <QApplication>

#include "artwork.h"
#include "taskbar.h"

namespace ui {

void describeApplication()
{
    QApplication::setApplicationName(QStringLiteral("Tarvelo"));
    QApplication::setApplicationVersion(QStringLiteral(TARVELO_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(TARVELO_APP_ID));
    QApplication::setWindowIcon(appIcon());
}

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
