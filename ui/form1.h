// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

#pragma once

// The game's only window, drawn from the window's description. It knows
// nothing of the trick: FormsRuntime connects its controls to the handlers.

#include <QWidget>

#include <array>

#include "layout/window.h"
#include "trick/forms.h"

class QLineEdit;
class QPushButton;

namespace ui {

class Picture;

class Form1 final : public QWidget {
    Q_OBJECT

public:
    explicit Form1(QWidget* parent = nullptr);

    // The widget of a control of the description. Every one is made with
    // the window; asking for a control that the description does not have,
    // or as a kind that it is not, throws std::out_of_range.
    QWidget& widget(trick::Control control) const;
    QLineEdit& textBox(trick::Control control) const;
    QPushButton& button(trick::Control control) const;
    Picture& picture() const;

signals:
    // The window has closed, by "Выход" or by its caption bar; the program
    // ends with it.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void setUpWindow();
    void createControls();
    void relateLabels();
    void stackFrontToBack();
    void orderTabs();

    QWidget& widget(trick::Control control, layout::Type type) const;

    // Parallel to the description's table of controls.
    std::array<QWidget*, layout::kControls.size()> widgets_{};
};

}  // namespace ui
