// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

#include "forms_runtime.h"

#include <QLineEdit>
#include <QLoggingCategory>
#include <QPushButton>
#include <QScopedValueRollback>

#include <utility>

#include "trick/handlers.h"
#include "widgets.h"

namespace ui {

Q_LOGGING_CATEGORY(lcRuntime, "tarvelo.runtime")

FormsRuntime::FormsRuntime(Form1& form) : form_(form)
{
    const auto connectClick = [this](trick::Control button, void (*handler)(trick::Forms&)) {
        connect(&form_.button(button), &QPushButton::clicked, this,
                [this, event = trick::to_string(button) + "_Click", handler] {
                    deliver(event.c_str(), [&] { handler(*this); });
                });
    };
    connectClick(trick::Command1, trick::command1Click);
    connectClick(trick::Command2, trick::command2Click);
    connectClick(trick::Command3, trick::command3Click);
    connectClick(trick::Command4, trick::command4Click);
    connectClick(trick::Command5, trick::command5Click);
    connect(&form_.picture(), &Picture::clicked, this,
            [this] { deliver("Image1_Click", [this] { trick::image1Click(*this, 0); }); });
    // textChanged fires both for the player's typing and for setText.
    connect(&form_.textBox(trick::Text1), &QLineEdit::textChanged, this, [this] { text1Changed(); });
}

void FormsRuntime::load()
{
    deliver("Form1_Load", [this] { trick::form1Load(*this); });
}

template <typename Handler>
void FormsRuntime::deliver(const char* event, Handler&& handler)
{
    // No exception may cross into Qt's event loop.
    try {
        handler();
    } catch (const std::exception& failure) {
        qCWarning(lcRuntime, "Tarvelo: %s failed: %s", event, failure.what());
    } catch (...) {
        qCWarning(lcRuntime, "Tarvelo: %s failed", event);
    }
}

void FormsRuntime::text1Changed()
{
    if (!settingText1_) {
        deliver("Text1_Change", [this] { trick::text1Change(*this); });
        return;
    }
    try {
        trick::text1Change(*this);
    } catch (...) {
        nestedFailure_ = std::current_exception();
    }
}

std::string FormsRuntime::text(trick::Control textBox)
{
    return this->textBox(textBox).text().toStdString();
}

void FormsRuntime::setText(trick::Control textBox, std::string_view text)
{
    QLineEdit& edit = this->textBox(textBox);
    const QString value = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    // The same text again raises no Change, and QLineEdit would lay it out
    // anew for nothing, on every tap.
    if (edit.text() == value)
        return;
    {
        const QScopedValueRollback nested(settingText1_, textBox == trick::Text1);
        edit.setText(value);
    }
    // A box the player is not typing in shows its text from the start, so a
    // tight answer field never scrolls its first letter away.
    if (!edit.hasFocus())
        edit.setCursorPosition(0);
    if (std::exception_ptr failure = std::exchange(nestedFailure_, nullptr))
        std::rethrow_exception(failure);
}

void FormsRuntime::setVisible(trick::Control control, bool visible)
{
    widget(control).setVisible(visible);
}

void FormsRuntime::setEnabled(trick::Control control, bool enabled)
{
    widget(control).setEnabled(enabled);
}

void FormsRuntime::unload()
{
    form_.close();
}

// What the handlers ask for comes from the trick, so a control that the
// window lacks is a failure of the operation, not of the program.
QWidget& FormsRuntime::widget(trick::Control control) const
{
    if (control == trick::Form1)
        return form_;
    if (layout::find(control) == nullptr)
        throw trick::Failure(trick::Failure::Kind::NoSuchElement, trick::to_string(control));
    return form_.widget(control);
}

QLineEdit& FormsRuntime::textBox(trick::Control control) const
{
    const layout::ControlSpec* spec = layout::find(control);
    if (spec == nullptr)
        throw trick::Failure(trick::Failure::Kind::NoSuchElement, trick::to_string(control));
    if (spec->type != layout::Type::TextBox)
        throw trick::Failure(trick::Failure::Kind::NotSupported, trick::to_string(control) + " has no Text");
    return form_.textBox(control);
}

}  // namespace ui
