// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

#include "modelled_window.h"

#include <QFile>
#include <QJsonDocument>
#include <QLineEdit>
#include <QTest>

#include "layout/window.h"

QJsonArray scenarios()
{
    QFile list(QStringLiteral(TARVELO_SCENARIOS));
    return list.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(list.readAll()).array() : QJsonArray();
}

ModelledWindow::ModelledWindow(ui::Form1& form) : window(form)
{
    model.run(WindowEvent::Load);
    compare(QStringLiteral("opening"));
}

std::optional<WindowEvent> ModelledWindow::eventAt(QPoint point) const
{
    const QWidget* widget = window.form().childAt(point);
    const layout::ControlSpec* control = widget ? layout::find(widget->objectName().toStdString()) : nullptr;
    switch (control ? control->id.name : trick::Name::Form1) {
    case trick::Name::Image1: return WindowEvent::Tap;
    case trick::Name::Command1: return WindowEvent::Exit;
    case trick::Name::Command2: return WindowEvent::Stop;
    case trick::Name::Command3: return WindowEvent::NewRound;
    case trick::Name::Command4: return WindowEvent::Rules;
    case trick::Name::Command5: return WindowEvent::RulesClosed;
    default: return std::nullopt;
    }
}

void ModelledWindow::click(QPoint point)
{
    const std::optional<WindowEvent> raised = eventAt(point);
    window.click(point);
    if (raised)
        model.run(*raised);
    compare(QStringLiteral("a click at %1, %2").arg(point.x()).arg(point.y()));
}

void ModelledWindow::type(const QString& text)
{
    // Change follows every keystroke.
    window.type(text);
    for (qsizetype length = 1; length <= text.size(); ++length)
        model.type(text.left(length).toStdString());
    compare(QStringLiteral("typing \"%1\"").arg(text));
}

void ModelledWindow::play(const QString& step)
{
    const QString action = step.section(QLatin1Char(' '), 0, 0), argument = step.section(QLatin1Char(' '), 1);
    const std::map<QString, trick::Control> buttons{
        {"stop", trick::Command2}, {"new", trick::Command3}, {"rules", trick::Command4}, {"ok", trick::Command5}};
    const std::map<QString, std::pair<Qt::Key, Qt::KeyboardModifiers>> keys{
        {"Space", {Qt::Key_Space, {}}},
        {"Return", {Qt::Key_Return, {}}},
        {"Enter", {Qt::Key_Enter, Qt::KeypadModifier}}};
    if (action == QLatin1String("key")) {
        const trick::Control button = buttons.at(argument.section(QLatin1Char(' '), 1));
        const std::optional<WindowEvent> raised = eventAt(centreOf(button));
        window.control(button).setFocus();
        const auto [key, modifiers] = keys.at(argument.section(QLatin1Char(' '), 0, 0));
        QTest::keyClick(window.form().windowHandle(), key, modifiers);
        model.run(*raised);
        compare(step);
    } else if (action == QLatin1String("click")) {
        const QStringList words = argument.split(QLatin1Char(' '));
        const auto box = [&words](int word) { return boxOf(layout::at(words.value(word).toStdString()).id); };
        const QRect first = box(0);
        const QString how = words.value(1);
        if (how == QLatin1String("corners")) {
            for (const QPoint corner : {first.topLeft(), first.topRight(), first.bottomLeft(), first.bottomRight()})
                click(corner);
        } else if (how == QLatin1String("over")) {
            click(first.intersected(box(2)).center());
        } else if (how == QLatin1String("beside")) {
            const QRect other = box(2);
            const int x = first.left() < other.left() ? (first.left() + other.left() - 1) / 2
                                                      : (other.right() + 1 + first.right()) / 2;
            click({x, first.center().y()});
        } else {
            click(first.center());
        }
    } else if (action == QLatin1String("tap")) {
        for (int i = 0; i < argument.toInt(); ++i)
            click(i % 2 ? dial() : background());
    } else if (action == QLatin1String("type")) {
        type(argument);
    } else if (action == QLatin1String("base")) {
        window.textBox(trick::Text6).setText(argument);
        model.state.texts.at(trick::Text6) = argument.toStdString();
    } else {
        click(centreOf(buttons.at(action)));
    }
}

void ModelledWindow::compare(const QString& after)
{
    const WindowState shown = window.state();
    if (disagreement_.isEmpty() && shown != model.state)
        disagreement_ =
            QStringLiteral("after %1:\n%2").arg(after, QString::fromStdString(shown.differences(model.state)));
}
