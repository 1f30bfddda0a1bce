// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

// The floors that the game is measured against: the least that a Qt
// Widgets program with a window like the game's must do. Built three times,
// each linking QtWidgets alone:
//
//   tarvelo-floor-text  a window of the game's size that draws one line of
//                       the game's bold text, the floor for start-up
//   tarvelo-floor-bare  the same window, drawing no text
//   tarvelo-floor-tap   a window that repaints a 10 x 10 square at each
//                       click, the floor for a tap
//
// The bench ends each at the damage it measures; on its own a start-up floor
// quits a second after its first paint.

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QWidget>

#include "layout/window.h"

namespace {

class Floor final : public QWidget {
public:
    Floor()
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
        resize(layout::clientSize().width, layout::clientSize().height);
#if defined(TARVELO_FLOOR_TEXT)
        font_ = QFont(QStringLiteral("Liberation Sans"));
        font_.setPixelSize(13);
        font_.setBold(true);
#endif
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
#if defined(TARVELO_FLOOR_TEXT)
        painter.setFont(font_);
        painter.setPen(Qt::red);
        painter.drawText(56, 20, QStringLiteral("Ваше число:"));
#elif defined(TARVELO_FLOOR_TAP)
        painter.fillRect(0, 0, 10, 10, lit_ ? Qt::red : Qt::black);
#endif
#if !defined(TARVELO_FLOOR_TAP)
        if (!painted_) {
            painted_ = true;
            QTimer::singleShot(1000, qApp, &QCoreApplication::quit);
        }
#endif
    }

#if defined(TARVELO_FLOOR_TAP)
    void mouseReleaseEvent(QMouseEvent*) override
    {
        lit_ = !lit_;
        update(0, 0, 10, 10);
    }
#endif

private:
    QFont font_;
    bool painted_ = false;
    bool lit_ = false;
};

}  // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    Floor window;
#if defined(TARVELO_FLOOR_TAP)
    window.move(0, 0);  // clear of the game, which opens centred
#endif
    window.show();
    return QApplication::exec();
}
