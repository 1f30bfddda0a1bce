// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

// What the window's description promises of itself, whatever front-end
// draws it: whole pixels on the 8 px grid, every control inside its
// container, child windows stacked over the graphics, each control once,
// and the markers on the dial's ring, each over its own hour.

#include <QTest>

#include <cmath>
#include <numbers>
#include <set>

#include "layout/window.h"

class LayoutTest : public QObject {
    Q_OBJECT

private slots:
    void everyControlStandsOnTheGridInsideItsContainer();
    void everyControlIsListedOnceAndChildWindowsStackOverTheGraphics();
    void markersRingTheDialEachOverItsHour();
};

// Whole pixels, Left and Top on the 8 px grid, inside the window and inside
// its container: the window or a frame listed before what it holds.
void LayoutTest::everyControlStandsOnTheGridInsideItsContainer()
{
    constexpr int kGrid = 8 * layout::kTwipsPerPixel;
    const layout::Rect window{0, 0, layout::clientSize().width, layout::clientSize().height};
    for (const layout::ControlSpec& control : layout::kControls) {
        const std::string name = trick::to_string(control.id);
        QVERIFY2(control.left % kGrid == 0 && control.top % kGrid == 0, name.c_str());
        QVERIFY2(control.width % layout::kTwipsPerPixel == 0 && control.height % layout::kTwipsPerPixel == 0,
                 name.c_str());
        QVERIFY2(window.contains(layout::inWindow(control)), name.c_str());
        if (control.container != trick::Form1) {
            const layout::ControlSpec* container = layout::find(control.container);
            QVERIFY2(container && container->type == layout::Type::Frame, name.c_str());
            QVERIFY2(layout::slotOf(*container) < layout::slotOf(control), name.c_str());
            QVERIFY2(layout::inWindow(*container).contains(layout::inWindow(control)), name.c_str());
        }
    }
}

// Each control is listed once, and control arrays whole. Frames, buttons
// and text boxes are child windows: in each container they come before, so
// over, the shapes, labels and the picture, which comes last of all.
void LayoutTest::everyControlIsListedOnceAndChildWindowsStackOverTheGraphics()
{
    std::set<trick::Control> listed;
    std::set<int> tabIndexes;
    const auto isWindow = [](const layout::ControlSpec& control) {
        using enum layout::Type;
        return control.type == Frame || control.type == CommandButton || control.type == TextBox;
    };
    for (const layout::ControlSpec& control : layout::kControls) {
        QVERIFY2(listed.insert(control.id).second, trick::to_string(control.id).c_str());
        QVERIFY(control.tabIndex < 0 || tabIndexes.insert(control.tabIndex).second);
        QCOMPARE(layout::find(trick::to_string(control.id)), &control);
        for (const layout::ControlSpec& front : layout::kControls)
            if (isWindow(control) && !isWindow(front) && control.container == front.container)
                QVERIFY2(layout::slotOf(control) < layout::slotOf(front), trick::to_string(front.id).c_str());
    }
    for (const trick::Name array : {trick::Name::Shape1, trick::Name::Image1})
        for (int index = 0; index < trick::elementCount(array); ++index)
            QVERIFY(listed.contains({array, index}));
    QCOMPARE(layout::slotOf(layout::at(layout::kPicture)), layout::kControls.size() - 1);
    // Every label names a text box.
    for (const auto& [label, box] : layout::kLabels)
        QVERIFY(layout::at(label).type == layout::Type::Label && layout::at(box).type == layout::Type::TextBox);
}

void LayoutTest::markersRingTheDialEachOverItsHour()
{
    const layout::Rect picture{0, 0, layout::pictureSize().width, layout::pictureSize().height};
    for (int i = 0; i < trick::kMarkerCount; ++i) {
        const layout::Rect cell = layout::markerCell(i);
        QVERIFY(picture.contains(cell));
        const layout::Point offset = cell.centre() - layout::kDialCentre;
        const double distance = std::hypot(offset.x, offset.y);
        QVERIFY2(distance >= 48 && distance <= 56, qPrintable(QString::number(distance)));
        // Clockwise from the 12, within a third of an hour of its own.
        const double degrees = std::atan2(offset.x, -offset.y) * 180 / std::numbers::pi;
        const double off = std::remainder(degrees - 30 * layout::hourOf(i), 360);
        QVERIFY2(std::abs(off) < 10, qPrintable(QStringLiteral("marker %1 is %2 degrees off").arg(i).arg(off)));
    }
}

QTEST_APPLESS_MAIN(LayoutTest)
#include "test_layout.moc"
