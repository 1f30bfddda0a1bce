// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

#include "window_driver.h"

#include <QLineEdit>
#include <QTest>

#include "ui/forms_runtime.h"

QWidget* WindowDriver::control(const QString& name) const
{
    return form_.control(name);
}

QWidget* WindowDriver::control(trick::Control control) const
{
    return form_.control(ui::objectName(control));
}

QLineEdit* WindowDriver::textBox(const char* name) const
{
    return qobject_cast<QLineEdit*>(control(QString::fromLatin1(name)));
}

QPoint WindowDriver::centreOf(const char* name) const
{
    const QWidget* widget = control(QString::fromLatin1(name));
    return widget->mapTo(&form_, widget->rect().center());
}

void WindowDriver::click(QPoint windowPos, Qt::MouseButton button) const
{
    // Through the window, so that Qt picks the widget under the point.
    QTest::mouseClick(form_.windowHandle(), button, {}, windowPos);
}

void WindowDriver::tap(int times) const
{
    for (int i = 0; i < times; ++i)
        click(i % 2 ? kDial : kBackground);
}

void WindowDriver::type(const QString& text) const
{
    QLineEdit* count = textBox("Text1");
    count->selectAll();
    for (const QChar character : text)
        QTest::sendKeyEvent(QTest::Click, count, Qt::Key_unknown, QString(character), Qt::NoModifier);
}

QString WindowDriver::text(const char* box) const
{
    return textBox(box)->text();
}

bool WindowDriver::shown(const char* name) const
{
    return !control(QString::fromLatin1(name))->isHidden();
}

QList<int> WindowDriver::litMarkers() const
{
    QList<int> lit;
    for (int i = 0; i < trick::kMarkerCount; ++i) {
        if (!control(marker(i))->isHidden())
            lit << i;
    }
    return lit;
}

WindowState WindowDriver::state() const
{
    WindowState state = WindowState::created();
    for (auto& [name, text] : state.texts)
        text = textBox(name.c_str())->text().toStdString();
    for (const trick::Control shown : WindowState::controls())
        state.visible.at(trick::describe(shown)) = !control(shown)->isHidden();
    state.enabled.at(trick::describe(picture())) = control(picture())->isEnabled();
    state.unloaded = !form_.isVisible();
    return state;
}

int countPixels(const QImage& image, const QRect& area, const std::function<bool(QRgb)>& test)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += test(image.pixel(x, y)) ? 1 : 0;
    return count;
}

bool isRed(QRgb rgb)
{
    return qRed(rgb) > qGreen(rgb) + 30 && qGreen(rgb) == qBlue(rgb);
}
