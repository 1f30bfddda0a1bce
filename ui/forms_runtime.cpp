// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

#include "forms_runtime.h"

#include <QLineEdit>
#include <QPushButton>
#include <QtGlobal>

#include <algorithm>
#include <utility>

#include "trick/handlers.h"
#include "widgets.h"

namespace ui {

QString objectName(trick::Control control)
{
    QString name = QString::fromLatin1(trick::nameOf(control.name));
    if (trick::elementCount(control.name) > 0)
        name += QLatin1Char('_') + QString::number(control.index);
    return name;
}

FormsRuntime::FormsRuntime(Form1& form) : form_(form)
{
    for (const trick::Name name : {trick::Name::Frame1, trick::Name::Label1, trick::Name::Text1, trick::Name::Text6,
                                   trick::Name::Text7, trick::Name::Shape1, trick::Name::Image1}) {
        for (int index = 0; index < std::max(1, trick::elementCount(name)); ++index) {
            if (QWidget* widget = form.control(objectName({name, index})))
                widgets_[{name, index}] = widget;
        }
    }

    const auto button = [&form](const char* name) {
        return qobject_cast<QPushButton*>(form.control(QString::fromLatin1(name)));
    };
    const auto connectClick = [&](const char* name, const char* event, void (*handler)(trick::Forms&)) {
        QObject::connect(button(name), &QPushButton::clicked, &form,
                         [this, event, handler] { deliver(event, [&] { handler(*this); }); });
    };
    connectClick("Command1", "Command1_Click", trick::command1Click);
    connectClick("Command2", "Command2_Click", trick::command2Click);
    connectClick("Command3", "Command3_Click", trick::command3Click);
    connectClick("Command4", "Command4_Click", trick::command4Click);
    connectClick("Command5", "Command5_Click", trick::command5Click);

    auto* picture = qobject_cast<Picture*>(form.control(QStringLiteral("Image1_0")));
    QObject::connect(picture, &Picture::clicked, &form,
                     [this] { deliver("Image1_Click", [this] { trick::image1Click(*this, 0); }); });

    // textChanged fires both for the player's typing and for setText.
    QObject::connect(&textBox(trick::Text1), &QLineEdit::textChanged, &form, [this] { text1Changed(); });
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
        qWarning("Tarvelo: %s failed: %s", event, failure.what());
    } catch (...) {
        qWarning("Tarvelo: %s failed", event);
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
    settingText1_ = textBox == trick::Text1;
    edit.setText(value);
    settingText1_ = false;
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

trick::Control FormsRuntime::element(trick::Name array, int index)
{
    const int count = trick::elementCount(array);
    if (count == 0)
        throw trick::Failure(trick::Failure::Kind::NotSupported,
                             std::string(trick::nameOf(array)) + " is not a control array");
    if (index < 0 || index >= count)
        throw trick::Failure(trick::Failure::Kind::NoSuchElement, trick::describe({array, index}));
    return {array, index};
}

void FormsRuntime::unload()
{
    form_.close();
}

QWidget& FormsRuntime::widget(trick::Control control) const
{
    if (control == trick::Form1)
        return form_;
    const auto found = widgets_.find({control.name, control.index});
    if (found == widgets_.end())
        throw trick::Failure(trick::Failure::Kind::NoSuchElement, trick::describe(control));
    return *found->second;
}

QLineEdit& FormsRuntime::textBox(trick::Control control) const
{
    auto* edit = qobject_cast<QLineEdit*>(&widget(control));
    if (edit == nullptr)
        throw trick::Failure(trick::Failure::Kind::NotSupported, trick::describe(control) + " has no Text");
    return *edit;
}

}  // namespace ui
