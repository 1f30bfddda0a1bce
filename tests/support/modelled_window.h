// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

#pragma once

// The real window played beside the model of the window, event by event,
// and the scenarios that every front-end of the game plays, listed in
// tests/scenarios.json: each with its name, its steps and what the window
// shows at the end.

#include <QJsonArray>
#include <QPoint>
#include <QString>

#include <optional>

#include "window_driver.h"
#include "window_model.h"

QJsonArray scenarios();

class ModelledWindow {
public:
    // The window as the game opens it, and the model loaded to match.
    explicit ModelledWindow(ui::Form1& form);

    // What a left click at `point` raises: a tap, a button's event, or
    // nothing, from the control that Qt finds under it.
    std::optional<WindowEvent> eventAt(QPoint point) const;

    void click(QPoint point);
    void type(const QString& text);
    // One step of a scenario: "tap 13"; a click on a button, "new",
    // "stop", "rules" or "ok"; a key on a focused button, "key Space
    // stop" ("Return", or "Enter" on the keypad); "type 07"; a click at a
    // place of the description, "click Text1" (its centre), "click Frame1
    // over Command1" (the middle of what the frame covers of the button),
    // "click Command1 beside Frame1" (of what it leaves free) or "click
    // Image1_0 corners"; or "base 3", which spoils the base value behind
    // the game's back.
    void play(const QString& step);

    // Where the window first differed from the model, or empty.
    const QString& disagreement() const { return disagreement_; }

    const WindowDriver window;
    WindowModel model;

private:
    void compare(const QString& after);

    QString disagreement_;
};
