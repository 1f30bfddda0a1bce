#include <QApplication>

#include "artwork.h"
#include "game.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setWindowIcon(ui::appIcon());

    ui::Game game;
    game.start();
    return QApplication::exec();
}
