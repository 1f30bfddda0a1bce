// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

#include "game.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "accessibility.h"
#include "artwork.h"
#include "platform.h"
#include "window_manager.h"

namespace ui {

void setUpApplication()
{
    QApplication::setApplicationName(QStringLiteral("Tarvelo"));
    QApplication::setApplicationVersion(QStringLiteral(TARVELO_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(TARVELO_APP_ID));
    QApplication::setWindowIcon(appIcon());
    installAccessibility();

    // Qt's own Russian texts come with Debian's qt6-translations-l10n; the
    // game is playable without them, only in Qt's English.
    auto* qtTexts = new QTranslator(QCoreApplication::instance());
    if (qtTexts->load(QStringLiteral("qtbase_ru"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qtTexts);
    else
        delete qtTexts;
}

Game::Game() : runtime_(form_)
{
    QObject::connect(&form_, &Form1::closed, QCoreApplication::instance(), &QCoreApplication::quit);
}

void Game::start()
{
    runtime_.load();
    // A Wayland client can neither place its window nor ask for a tool
    // window; a fixed size at least keeps tiling compositors from
    // stretching it across the screen, since they let such windows float.
    if (display() == Display::wayland)
        form_.setFixedSize(form_.size());
    prepareToShow(form_);
    form_.show();
}

}  // namespace ui
