// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

#pragma once

// Plays the real window as a player does, through mouse and key events at
// window positions, and reads back what it shows; also a few helpers for
// reading what it draws.

#include <QImage>
#include <QList>
#include <QPoint>
#include <QString>

#include <functional>

#include "trick/forms.h"
#include "ui/form1.h"
#include "window_state.h"

class QLineEdit;
class QWidget;

// Window pixels clear of any control: the picture's white space left of
// the dial, and the dial itself away from the tap count.
inline constexpr QPoint kBackground{18, 48};
inline constexpr QPoint kDial{140, 130};

class WindowDriver {
public:
    explicit WindowDriver(ui::Form1& form) : form_(form) {}

    ui::Form1& form() const { return form_; }
    QWidget* control(const QString& name) const;
    QWidget* control(trick::Control control) const;
    QLineEdit* textBox(const char* name) const;

    // Where a control's centre lies in the window, so that a click there
    // reaches it unless something stands in front of it.
    QPoint centreOf(const char* name) const;

    void click(QPoint windowPos, Qt::MouseButton button = Qt::LeftButton) const;
    void press(const char* button) const { click(centreOf(button)); }
    void stop() const { press("Command2"); }
    void newRound() const { press("Command3"); }
    // Taps the picture, on its white space and on the dial by turns.
    void tap(int times = 1) const;
    // Replaces what the tap count holds, one keystroke a character: Change
    // follows every keystroke. Key codes cover only Latin-1, so each key
    // carries its text.
    void type(const QString& text) const;

    QString text(const char* box) const;
    bool shown(const char* name) const;
    QList<int> litMarkers() const;
    // The window in the terms that the model and the in-memory window use.
    WindowState state() const;

private:
    ui::Form1& form_;
};

// Device pixels of `image` within `area` that pass `test`.
int countPixels(const QImage& image, const QRect& area, const std::function<bool(QRgb)>& test);
// Red ink, whole or blended into a white or grey background.
bool isRed(QRgb rgb);
