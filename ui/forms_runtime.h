// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

#pragma once

// The trick's window operations on the Qt widgets of Form1, and the delivery
// of the window's events to the trick's handlers. Handlers run on the GUI
// thread one at a time; a failure that leaves a handler is caught here,
// reported in the logging category "tarvelo.runtime", and the game goes on.

#include <QObject>

#include <exception>

#include "form1.h"
#include "trick/forms.h"

class QLineEdit;

namespace ui {

class FormsRuntime final : public QObject, public trick::Forms {
    Q_OBJECT

public:
    // Connects the controls of `form` to the handlers, with the runtime as
    // the connections' context: they end with it. `form` must outlive it.
    explicit FormsRuntime(Form1& form);

    // Raises Load; call once, before the window is shown.
    void load();

    std::string text(trick::Control textBox) override;
    void setText(trick::Control textBox, std::string_view text) override;
    void setVisible(trick::Control control, bool visible) override;
    void setEnabled(trick::Control control, bool enabled) override;
    void unload() override;

private:
    template <typename Handler>
    void deliver(const char* event, Handler&& handler);
    void text1Changed();

    QWidget& widget(trick::Control control) const;
    QLineEdit& textBox(trick::Control control) const;

    Form1& form_;
    // While a handler sets Text1, a failure of the count reaction that this
    // raises is kept here and thrown on from setText.
    bool settingText1_ = false;
    std::exception_ptr nestedFailure_;
};

}  // namespace ui
