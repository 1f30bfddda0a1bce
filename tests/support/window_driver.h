// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

#pragma once

// Plays the real window as a player does, through mouse and key events at
// the window positions that the window's description gives, and reads back
// what it shows; also a few helpers for reading what it draws.

#include <QImage>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>

#include <functional>
#include <memory>

#include <QObject>

#include "trick/forms.h"
#include "ui/form1.h"
#include "ui/game.h"
#include "window_state.h"

class QLineEdit;
class QWidget;

// The game as the program makes it: the application set up (once), the
// window made, loaded and shown. Null if the window was never exposed.
std::unique_ptr<ui::Game> startGame();

// Where the description puts things, in window pixels.
QRect boxOf(trick::Control control);
QPoint centreOf(trick::Control control);
QSize clientSize();
// The picture's spots where the description says a tap counts: its
// background far from the dial, and the dial clear of the controls on it.
QPoint background();
QPoint dial();

class WindowDriver {
public:
    explicit WindowDriver(ui::Form1& form) : form_(form) {}

    ui::Form1& form() const { return form_; }
    QWidget& control(trick::Control control) const { return form_.widget(control); }
    QLineEdit& textBox(trick::Control box) const { return form_.textBox(box); }

    void click(QPoint windowPos, Qt::MouseButton button = Qt::LeftButton) const;
    void press(trick::Control button) const { click(centreOf(button)); }
    void stop() const { press(trick::Command2); }
    void newRound() const { press(trick::Command3); }
    // Taps the picture, on its background and on the dial by turns.
    void tap(int times = 1) const;
    // Replaces what the tap count holds, one keystroke a character: Change
    // follows every keystroke. Key codes cover only Latin-1, so each key
    // carries its text.
    void type(const QString& text) const;

    QString text(trick::Control box) const;
    bool shown(trick::Control control) const;
    QList<int> litMarkers() const;
    // The window in the terms that the model and the in-memory window use.
    WindowState state() const;

private:
    ui::Form1& form_;
};

// What the suites on the real window share: a game started afresh for
// each test, as the program starts it.
class GameTest : public QObject {
    Q_OBJECT

protected slots:
    void init();
    void cleanup();

protected:
    ui::Form1& form() const { return game_->window(); }
    QWidget* control(trick::Control control) const { return &form().widget(control); }

    std::unique_ptr<ui::Game> game_;
    std::unique_ptr<WindowDriver> window_;
};

// Device pixels of `image` within `area` that pass `test`.
int countPixels(const QImage& image, const QRect& area, const std::function<bool(QRgb)>& test);
// Red ink, whole or blended into a white or grey background.
bool isRed(QRgb rgb);
