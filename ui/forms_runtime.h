// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

#pragma once

// The trick's window operations on the Qt widgets of Form1, and the delivery
// of the window's events to the trick's handlers. Handlers run on the GUI
// thread one at a time; a failure that leaves a handler is caught here,
// reported on standard error, and the game goes on.

#include <exception>
#include <map>
#include <utility>

#include "form1.h"
#include "trick/forms.h"

class QLineEdit;

namespace ui {

// The objectName of the widget that is `control`: "Text7", "Shape1_3".
QString objectName(trick::Control control);

class FormsRuntime final : public trick::Forms {
public:
    // Connects the controls of `form` to the handlers; `form` must outlive
    // the runtime.
    explicit FormsRuntime(Form1& form);

    // Raises Load; call once, before the window is shown.
    void load();

    std::string text(trick::Control textBox) override;
    void setText(trick::Control textBox, std::string_view text) override;
    void setVisible(trick::Control control, bool visible) override;
    void setEnabled(trick::Control control, bool enabled) override;
    trick::Control element(trick::Name array, int index) override;
    void unload() override;

private:
    template <typename Handler>
    void deliver(const char* event, Handler&& handler);
    void text1Changed();

    QWidget& widget(trick::Control control) const;
    QLineEdit& textBox(trick::Control control) const;

    Form1& form_;
    // Every control's widget, looked up by name once: a tap reaches a dozen
    // of them, and building their names anew each time showed in its cost.
    std::map<std::pair<trick::Name, int>, QWidget*> widgets_;
    // While a handler sets Text1, a failure of the count reaction that this
    // raises is kept here and thrown on from setText.
    bool settingText1_ = false;
    std::exception_ptr nestedFailure_;
};

}  // namespace ui
