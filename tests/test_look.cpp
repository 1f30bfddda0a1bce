// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

// What the window looks like, read back from what Qt draws: places, faces,
// fonts, the picture, the rules text and the tab order. What depends on the
// scale (a lit marker, the answer field, the rules panel) is in test_scales.

#include <QAccessible>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTextLayout>
#include <QTimer>

#include <memory>

#include "ui/game.h"
#include "ui/widgets.h"
#include "window_driver.h"

namespace {

constexpr QRgb kPictureWhite = 0xFFFCFCFC;  // the picture's background

struct Place {
    const char* name;
    QRect rect;  // window pixels
};

// Every control's place in the client area, as the window was designed.
// clang-format off
const Place kPlaces[] = {
    {"Frame1", {32, 8, 193, 185}},     {"Command5", {96, 152, 49, 25}},   {"Label2", {40, 24, 177, 129}},
    {"Command4", {184, 144, 65, 25}},  {"Command3", {8, 176, 65, 25}},    {"Command2", {8, 144, 65, 25}},
    {"Command1", {184, 176, 65, 25}},  {"Text7", {152, 8, 25, 19}},       {"Text6", {104, 176, 25, 25}},
    {"Text1", {112, 96, 33, 19}},      {"Shape1_11", {152, 56, 9, 9}},    {"Shape1_10", {168, 80, 9, 9}},
    {"Shape1_9", {176, 104, 9, 9}},    {"Shape1_8", {168, 128, 9, 9}},    {"Shape1_7", {152, 144, 9, 9}},
    {"Shape1_6", {128, 152, 9, 9}},    {"Shape1_5", {96, 144, 9, 9}},     {"Shape1_4", {80, 128, 9, 9}},
    {"Shape1_3", {72, 104, 9, 9}},     {"Shape1_2", {80, 80, 9, 9}},      {"Shape1_1", {96, 64, 9, 9}},
    {"Shape1_0", {120, 56, 9, 9}},     {"Label1", {56, 8, 97, 17}},       {"Image1_0", {8, 8, 244, 197}},
};
// clang-format on

}  // namespace

class LookTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { ui::setUpApplication(); }
    void init();
    void cleanup();

    void windowIsASmallToolWindow();
    void controlsStandInTheirPlaces();
    void controlsStackFrontToBack();
    void formAndButtonFacesAreWhite();
    void pictureShowsTheWatchUnderTheMarkers();
    void fontsAndColours();
    void captionsFitTheirControls();
    void rulesTextIsExactAndBreaksBeforeTheExample();
    void tabOrderAndInitialFocus();
    void qtsOwnTextsAreRussian();
    void everyControlHasAnAccessibleName();
    void closingTheWindowEndsTheProgram();

private:
    QWidget* control(const char* name) const { return game_->window().control(QString::fromLatin1(name)); }
    QImage grabWindow() const { return game_->window().grab().toImage(); }

    std::unique_ptr<ui::Game> game_;
};

void LookTest::init()
{
    game_ = std::make_unique<ui::Game>();
    game_->start();
    QVERIFY(QTest::qWaitForWindowExposed(&game_->window()));
}

void LookTest::cleanup()
{
    game_.reset();
}

void LookTest::windowIsASmallToolWindow()
{
    ui::Form1& form = game_->window();
    QCOMPARE(form.windowTitle(), "Tarvelo");
    QCOMPARE(form.size(), QSize(254, 207));
    QCOMPARE(form.windowType(), Qt::Tool);
    const Qt::WindowFlags flags = form.windowFlags();
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(form.minimumSize() != form.maximumSize());

    // What the desktop is told, and the icon: the watch on dark blue, opaque.
    QCOMPARE(QApplication::applicationName(), "Tarvelo");
    QCOMPARE(QApplication::applicationVersion(), "1.00");
    QCOMPARE(QGuiApplication::desktopFileName(), "org.tarvelo.Tarvelo");
    QVERIFY(!QApplication::windowIcon().isNull());
    const QImage icon = form.windowIcon().pixmap(32, 32).toImage();
    QCOMPARE(icon.size(), QSize(32, 32));
    QCOMPARE(QColor(icon.pixel(1, 16)), QColor(0x37, 0x35, 0x8C));
    QCOMPARE(countPixels(icon, icon.rect(), [](QRgb rgb) { return qAlpha(rgb) != 255; }), 0);
    QVERIFY(countPixels(icon, icon.rect(), [](QRgb rgb) { return qRed(rgb) > qBlue(rgb) + 60; }) > 150);

    // Controls keep their places when the window is resized.
    const QRect text1 = control("Text1")->geometry();
    form.resize(400, 320);
    QCOMPARE(control("Text1")->geometry(), text1);
}

void LookTest::controlsStandInTheirPlaces()
{
    QVERIFY(control("Frame1")->isHidden());
    control("Frame1")->show();  // so that mapping its children is meaningful
    for (const Place& place : kPlaces) {
        QWidget* widget = control(place.name);
        QVERIFY2(widget, place.name);
        const QRect inWindow(widget->mapTo(&game_->window(), QPoint(0, 0)), widget->size());
        QVERIFY2(inWindow == place.rect, place.name);
    }
}

void LookTest::controlsStackFrontToBack()
{
    const auto stack = [](QWidget* parent) {
        QStringList names;
        for (QObject* child : parent->children()) {
            if (child->isWidgetType() && !child->objectName().isEmpty())
                names.prepend(child->objectName());
        }
        return names;
    };
    QStringList front;
    for (const Place& place : kPlaces) {
        if (control(place.name)->parentWidget() == &game_->window())
            front << QString::fromLatin1(place.name);
    }
    QCOMPARE(stack(&game_->window()), front);
    QCOMPARE(stack(control("Frame1")), (QStringList{"Command5", "Label2"}));

    // Where two controls overlap, the one in front takes the click.
    control("Text7")->show();
    control("Label1")->show();
    QCOMPARE(game_->window().childAt(152, 12), control("Text7"));
    QCOMPARE(game_->window().childAt(151, 12), control("Label1"));
    control("Frame1")->show();
    QCOMPARE(game_->window().childAt(128, 105), control("Label2"));
    QCOMPARE(game_->window().childAt(120, 164), control("Command5"));
}

void LookTest::formAndButtonFacesAreWhite()
{
    const QImage window = grabWindow();
    const auto white = [](QRgb rgb) { return (rgb & 0xFFFFFF) == 0xFFFFFF; };
    // The strips of the form that the picture leaves free: top, left, right.
    QCOMPARE(countPixels(window, {0, 0, 254, 8}, white), 254 * 8);
    QCOMPARE(countPixels(window, {0, 0, 8, 207}, white), 8 * 207);
    QCOMPARE(countPixels(window, {252, 0, 2, 207}, white), 2 * 207);

    for (const char* name : {"Command1", "Command2", "Command3", "Command4"}) {
        const QRect button = control(name)->geometry();
        // Inside the border, the face is white wherever the caption is not.
        const QRect face = button.adjusted(2, 2, -2, -2);
        const int faceWhite = countPixels(window, face, white);
        QVERIFY2(faceWhite > face.width() * face.height() * 3 / 4, name);
        QVERIFY2(white(window.pixel(face.topLeft())) && white(window.pixel(face.bottomRight())), name);
        // The caption is drawn in black.
        QVERIFY2(countPixels(window, face, [](QRgb rgb) { return qGray(rgb) < 40; }) > 20, name);
    }
}

void LookTest::pictureShowsTheWatchUnderTheMarkers()
{
    const QImage picture = control("Image1_0")->grab().toImage();
    QCOMPARE(picture.size(), QSize(244, 197));
    QCOMPARE(countPixels(picture, picture.rect(), [](QRgb rgb) { return qAlpha(rgb) != 255; }), 0);

    const auto background = [](QRgb rgb) { return rgb == kPictureWhite; };
    // Rows 0 to 19 and the lower corners, where controls stand, are bare.
    QCOMPARE(countPixels(picture, {0, 0, 244, 20}, background), 244 * 20);
    QCOMPARE(countPixels(picture, {0, 136, 65, 57}, background), 65 * 57);
    QCOMPARE(countPixels(picture, {176, 136, 68, 57}, background), 68 * 57);
    QVERIFY(background(picture.pixel(10, 40)));

    // The watch keeps within its box and covers roughly a third of the picture.
    const QRect watch(52, 20, 139, 157);
    const int outside = countPixels(picture, picture.rect(), [](QRgb rgb) { return rgb != kPictureWhite; }) -
                        countPixels(picture, watch, [](QRgb rgb) { return rgb != kPictureWhite; });
    QCOMPARE(outside, 0);
    const double share = countPixels(picture, picture.rect(), background) / double(244 * 197);
    QVERIFY2(share > 0.6 && share < 0.76, qPrintable(QString::number(share)));

    // Under every marker cell lies the watch, not the background.
    for (int i = 0; i < 12; ++i) {
        const QRect cell = control(qPrintable(QStringLiteral("Shape1_%1").arg(i)))->geometry().translated(-8, -8);
        QVERIFY2(countPixels(picture, cell, background) == 0, qPrintable(QString::number(i)));
    }

    // A pale cream dial, a gold crown on the right.
    const QColor dial(picture.pixel(100, 130));
    QVERIFY(dial.red() > 225 && dial.green() > 215 && dial.blue() > 180 && dial.blue() < dial.red() - 8);
    const QColor crown(picture.pixel(186, 96));
    QVERIFY(crown.red() > crown.blue() + 60 && crown.green() > crown.blue() + 30);
}

void LookTest::fontsAndColours()
{
    struct Expected {
        const char* name;
        int pixelSize;
        bool italic;
    };
    for (const Expected& e : {Expected{"Command1", 11, false}, Expected{"Command5", 11, false},
                              Expected{"Text1", 11, false}, Expected{"Frame1", 11, true}, Expected{"Label2", 11, true},
                              Expected{"Text7", 13, false}, Expected{"Label1", 13, false}}) {
        const QFontInfo info(control(e.name)->font());
        // The answer field takes the narrow cut, so that "XXX" fits.
        const QString family = qstrcmp(e.name, "Text7") == 0 ? "Liberation Sans Narrow" : "Liberation Sans";
        QVERIFY2(info.family() == "MS Sans Serif" || info.family() == family, qPrintable(info.family()));
        QVERIFY2(info.bold() && info.pixelSize() == e.pixelSize && info.italic() == e.italic, e.name);
    }
    QCOMPARE(control("Text6")->font(), QApplication::font());

    QCOMPARE(control("Label2")->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    QCOMPARE(control("Label1")->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    QCOMPARE(control("Text7")->palette().color(QPalette::Text), QColor(255, 0, 0));
    QCOMPARE(control("Frame1")->palette().color(QPalette::WindowText), QColor(64, 0, 0));

    // Label1 lets the picture show around its letters; the rules text is opaque.
    control("Label1")->show();
    QVERIFY(!control("Label1")->autoFillBackground());
    const QImage window = grabWindow();
    QCOMPARE(window.pixel(57, 22), kPictureWhite);
    QVERIFY(countPixels(window, {56, 8, 97, 17}, isRed) > 40);
    // The rules text, white and opaque with red letters, is read in
    // test_scales.
}

void LookTest::captionsFitTheirControls()
{
    // Every caption fits inside its control's border, and every letter has a
    // glyph in the face that the control got.
    for (const char* name : {"Command1", "Command2", "Command3", "Command4", "Command5", "Label1", "Frame1"}) {
        QWidget* widget = control(name);
        QString text;
        if (auto* button = qobject_cast<QPushButton*>(widget))
            text = button->text();
        else if (auto* label = qobject_cast<QLabel*>(widget))
            text = label->text();
        else
            text = qobject_cast<ui::Frame*>(widget)->caption();
        const QFontMetrics metrics(widget->font());
        QVERIFY2(metrics.horizontalAdvance(text) <= widget->width() - 4, name);
        QVERIFY2(metrics.height() <= widget->height(), name);
        for (const QChar letter : text)
            QVERIFY2(metrics.inFont(letter), qPrintable(QStringLiteral("%1: %2").arg(name, letter)));
    }
    // The widest count fits its box.
    QVERIFY(QFontMetrics(control("Text1")->font()).horizontalAdvance(QStringLiteral("20")) <=
            control("Text1")->width() - 6);
}

void LookTest::rulesTextIsExactAndBreaksBeforeTheExample()
{
    auto* label = qobject_cast<QLabel*>(control("Label2"));
    const QString rules = label->text();
    QCOMPARE(rules.size(), 213);
    QVERIFY(
        rules.startsWith(QStringLiteral("Загадайте число от 1 до 12. Затем щелкайте по любым цифрам (20-n)раз, "
                                        "где n-загаданное число. Нажмите СТОП.")));
    QVERIFY(rules.contains(QStringLiteral("СТОП.") + QString(43, QLatin1Char(' ')) + QStringLiteral("Пример:")));
    QVERIFY(rules.endsWith(QStringLiteral("Пример: Загаданна цифра 7. Надо щелкнуть 13 раз и нажать СТОП. ")));
    const QChar cyrillicOk[] = {QChar(0x041E), QChar(0x041A)};
    QCOMPARE(qobject_cast<QPushButton*>(control("Command5"))->text(), QString(cyrillicOk, 2));

    // Laid out as the label lays it out: word wrap at the label's width.
    QTextLayout layout(rules, label->font());
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    QList<int> lineStarts;
    qreal height = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(label->contentsRect().width());
        lineStarts << line.textStart();
        height += line.height();
    }
    layout.endLayout();
    QVERIFY(lineStarts.contains(rules.indexOf(QStringLiteral("Пример:"))));
    QVERIFY(height <= label->contentsRect().height());
}

void LookTest::tabOrderAndInitialFocus()
{
    ui::Form1& form = game_->window();
    QCOMPARE(form.focusWidget(), control("Text1"));

    QStringList order;
    QWidget* widget = control("Text1");
    do {
        if (widget->focusPolicy() & Qt::TabFocus)
            order << widget->objectName();
        widget = widget->nextInFocusChain();
    } while (widget != control("Text1"));
    QCOMPARE(order,
             (QStringList{"Text1", "Text6", "Text7", "Command1", "Command2", "Command3", "Command4", "Command5"}));
}

void LookTest::qtsOwnTextsAreRussian()
{
    // The menu that Qt opens on a right click in a text box.
    WindowDriver(game_->window()).click(QPoint(128, 105), Qt::RightButton);
    QWidget* popup = QApplication::activePopupWidget();
    QVERIFY(popup);
    QStringList items;
    for (const QAction* action : popup->actions()) {
        if (!action->isSeparator())
            items << action->text().remove(QLatin1Char('&')).section(QLatin1Char('\t'), 0, 0);
    }
    popup->close();
    QCOMPARE(items, (QStringList{"Отменить действие", "Повторить действие", "Вырезать", "Копировать", "Вставить",
                                 "Удалить", "Выделить всё"}));
    QCOMPARE(game_->window().windowTitle(), "Tarvelo");
}

void LookTest::everyControlHasAnAccessibleName()
{
    // Buttons are named by their captions; the picture, the text boxes and
    // the markers carry short Russian names of their own.
    const auto nameOf = [this](const char* control) {
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(this->control(control));
        return accessible ? accessible->text(QAccessible::Name) : QString();
    };
    for (const char* button : {"Command1", "Command2", "Command3", "Command4", "Command5"})
        QCOMPARE(nameOf(button), qobject_cast<QPushButton*>(control(button))->text());
    QCOMPARE(nameOf("Image1_0"), "Часы, по которым щёлкать");
    QCOMPARE(nameOf("Text1"), "Число нажатий");
    QCOMPARE(nameOf("Text7"), "Ваше число");
    for (int i = 0; i < 12; ++i)
        QCOMPARE(nameOf(qPrintable(QStringLiteral("Shape1_%1").arg(i))), QStringLiteral("Метка на %1").arg(12 - i));
    for (const Place& place : kPlaces)
        QVERIFY2(!nameOf(place.name).isEmpty(), place.name);
}

void LookTest::closingTheWindowEndsTheProgram()
{
    // As the caption bar's close button does: a close event to the window.
    QTimer::singleShot(0, [this] {
        QCloseEvent close;
        QCoreApplication::sendEvent(game_->window().windowHandle(), &close);
    });
    QTimer::singleShot(5000, [] { QCoreApplication::exit(1); });
    QCOMPARE(QApplication::exec(), 0);
    QVERIFY(!game_->window().isVisible());
}

QTEST_MAIN(LookTest)
#include "test_look.moc"
