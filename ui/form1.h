// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

#pragma once

// The game's only window, built from the control table. It knows nothing of
// the trick: FormsRuntime connects its controls to the handlers.

#include <QHash>
#include <QString>
#include <QWidget>

namespace ui {

class Form1 final : public QWidget {
    Q_OBJECT

public:
    explicit Form1(QWidget* parent = nullptr);

    // The control with this objectName ("Text1", "Shape1_3"), or nullptr.
    QWidget* control(const QString& name) const;

signals:
    // The window has closed, by "Выход" or by its caption bar; the program
    // ends with it.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QHash<QString, QWidget*> controls_;
};

}  // namespace ui
