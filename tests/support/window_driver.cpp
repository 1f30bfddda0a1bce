// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

#include "window_driver.h"

#include <QLineEdit>
#include <QTest>

#include "layout/window.h"
#include "ui/widgets.h"

namespace {

QPoint qPoint(layout::Point point)
{
    return {point.x, point.y};
}

}  // namespace

std::unique_ptr<ui::Game> startGame()
{
    static const bool setUp = [] {
        ui::setUpApplication();
        return true;
    }();
    Q_UNUSED(setUp);
    auto game = std::make_unique<ui::Game>();
    game->start();
    if (!QTest::qWaitForWindowExposed(&game->window()))
        return nullptr;
    return game;
}

QRect boxOf(trick::Control control)
{
    const layout::Rect box = layout::inWindow(control);
    return {box.left, box.top, box.width, box.height};
}

QPoint centreOf(trick::Control control)
{
    return qPoint(layout::inWindow(control).centre());
}

QSize clientSize()
{
    return {layout::clientSize().width, layout::clientSize().height};
}

QPoint background()
{
    return qPoint(layout::inWindow(layout::kBackgroundSpot));
}

QPoint dial()
{
    return qPoint(layout::inWindow(layout::kDialSpot));
}

void GameTest::init()
{
    game_ = startGame();
    QVERIFY(game_);
    window_ = std::make_unique<WindowDriver>(form());
}

void GameTest::cleanup()
{
    window_.reset();
    game_.reset();
}

void WindowDriver::click(QPoint windowPos, Qt::MouseButton button) const
{
    // Through the window, so that Qt picks the widget under the point.
    QTest::mouseClick(form_.windowHandle(), button, {}, windowPos);
}

void WindowDriver::tap(int times) const
{
    for (int i = 0; i < times; ++i)
        click(i % 2 ? dial() : background());
}

void WindowDriver::type(const QString& text) const
{
    QLineEdit& count = textBox(trick::Text1);
    count.selectAll();
    for (const QChar character : text)
        QTest::sendKeyEvent(QTest::Click, &count, Qt::Key_unknown, QString(character), Qt::NoModifier);
}

QString WindowDriver::text(trick::Control box) const
{
    return textBox(box).text();
}

bool WindowDriver::shown(trick::Control control) const
{
    return !this->control(control).isHidden();
}

QList<int> WindowDriver::litMarkers() const
{
    QList<int> lit;
    for (int i = 0; i < trick::kMarkerCount; ++i) {
        if (shown(marker(i)))
            lit << i;
    }
    return lit;
}

WindowState WindowDriver::state() const
{
    WindowState state = WindowState::created();
    for (auto& [box, text] : state.texts)
        text = this->text(box).toStdString();
    for (auto& [control, visible] : state.visible)
        visible = shown(control);
    state.pictureEnabled = form_.picture().isEnabled();
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
