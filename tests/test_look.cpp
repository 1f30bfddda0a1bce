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

#include "layout/window.h"
#include "ui/game.h"
#include "ui/widgets.h"
#include "window_driver.h"

namespace {

constexpr QRgb kPictureWhite = 0xFFFCFCFC;  // the picture's background
// Where the watch lies in the picture; all around it is background.
const QRect kWatch(52, 20, 139, 157);

QString nameOf(const layout::ControlSpec& control)
{
    return QString::fromStdString(trick::to_string(control.id));
}

}  // namespace

class LookTest : public GameTest {
    Q_OBJECT

private slots:
    void windowIsASmallToolWindow();
    void controlsStandInTheirPlaces();
    void controlsStackFrontToBack();
    void formAndButtonFacesAreWhite();
    void pictureShowsTheWatchUnderTheMarkers();
    void fontsAndColours();
    void captionsFitTheirControls();
    void rulesTextIsExactAndBreaksBeforeTheExample();
    void qtsOwnTextsAreRussian();
    void everyControlHasAnAccessibleName();
    void closingTheWindowEndsTheProgram();

private:
    QImage grabWindow() const { return form().grab().toImage(); }
};

void LookTest::windowIsASmallToolWindow()
{
    QCOMPARE(form().windowTitle(), "Tarvelo");
    QCOMPARE(form().size(), clientSize());
    QCOMPARE(form().windowType(), Qt::Tool);
    const Qt::WindowFlags flags = form().windowFlags();
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(form().minimumSize() != form().maximumSize());

    // What the desktop is told, and the icon: the watch on dark blue, opaque.
    QCOMPARE(QApplication::applicationName(), "Tarvelo");
    QCOMPARE(QApplication::applicationVersion(), "1.00");
    QCOMPARE(QGuiApplication::desktopFileName(), "org.tarvelo.Tarvelo");
    QVERIFY(!QApplication::windowIcon().isNull());
    const QImage icon = form().windowIcon().pixmap(32, 32).toImage();
    QCOMPARE(icon.size(), QSize(32, 32));
    QCOMPARE(QColor(icon.pixel(1, 16)), QColor(0x37, 0x35, 0x8C));
    QCOMPARE(countPixels(icon, icon.rect(), [](QRgb rgb) { return qAlpha(rgb) != 255; }), 0);
    QVERIFY(countPixels(icon, icon.rect(), [](QRgb rgb) { return qRed(rgb) > qBlue(rgb) + 60; }) > 150);

    // Controls keep their places when the window is resized.
    form().resize(clientSize() * 3 / 2);
    QCOMPARE(control(trick::Text1)->geometry(), boxOf(trick::Text1));
}

void LookTest::controlsStandInTheirPlaces()
{
    QVERIFY(control(trick::Frame1)->isHidden());
    control(trick::Frame1)->show();  // so that mapping its children is meaningful
    for (const layout::ControlSpec& spec : layout::kControls) {
        const QWidget* widget = control(spec.id);
        QCOMPARE(widget->objectName(), nameOf(spec));
        const QRect inWindow(widget->mapTo(&form(), QPoint(0, 0)), widget->size());
        QVERIFY2(inWindow == boxOf(spec.id), qPrintable(nameOf(spec)));
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
    QStringList front, inFrame;
    for (const layout::ControlSpec& spec : layout::kControls)
        (spec.container == trick::Frame1 ? inFrame : front) << nameOf(spec);
    QCOMPARE(stack(&form()), front);
    QCOMPARE(stack(control(trick::Frame1)), inFrame);

    // Where two controls overlap, the one in front takes the click: the
    // answer field over its label in the column they share, the rules over
    // the count, "ОК" over the picture.
    control(trick::Text7)->show();
    control(trick::Label1)->show();
    const QRect answer = boxOf(trick::Text7);
    QCOMPARE(form().childAt(answer.left(), answer.center().y()), control(trick::Text7));
    QCOMPARE(form().childAt(answer.left() - 1, answer.center().y()), control(trick::Label1));
    control(trick::Frame1)->show();
    QCOMPARE(form().childAt(centreOf(trick::Text1)), control(trick::Label2));
    QCOMPARE(form().childAt(centreOf(trick::Command5)), control(trick::Command5));
}

void LookTest::formAndButtonFacesAreWhite()
{
    const QImage window = grabWindow();
    const auto white = [](QRgb rgb) { return (rgb & 0xFFFFFF) == 0xFFFFFF; };
    // The strips of the form that the picture leaves free: top, left, right.
    const QRect picture = boxOf(trick::Image1_0);
    const QRect client(QPoint(0, 0), clientSize());
    for (const QRect strip : {QRect(0, 0, client.width(), picture.top()), QRect(0, 0, picture.left(), client.height()),
                              QRect(QPoint(picture.right() + 1, 0), client.bottomRight())})
        QCOMPARE(countPixels(window, strip, white), strip.width() * strip.height());

    for (const trick::Control name : {trick::Command1, trick::Command2, trick::Command3, trick::Command4}) {
        const QRect button = boxOf(name);
        // Inside the border, the face is white wherever the caption is not.
        const QRect face = button.adjusted(2, 2, -2, -2);
        const int faceWhite = countPixels(window, face, white);
        QVERIFY(faceWhite > face.width() * face.height() * 3 / 4);
        QVERIFY(white(window.pixel(face.topLeft())) && white(window.pixel(face.bottomRight())));
        // The caption is drawn in black.
        QVERIFY(countPixels(window, face, [](QRgb rgb) { return qGray(rgb) < 40; }) > 20);
    }
}

void LookTest::pictureShowsTheWatchUnderTheMarkers()
{
    const QImage picture = control(trick::Image1_0)->grab().toImage();
    QCOMPARE(picture.size(), boxOf(trick::Image1_0).size());
    QCOMPARE(countPixels(picture, picture.rect(), [](QRgb rgb) { return qAlpha(rgb) != 255; }), 0);

    // Under the controls at its top and lower corners lies bare background,
    // and at the spot where the tests tap it.
    const auto background = [](QRgb rgb) { return rgb == kPictureWhite; };
    const QPoint origin = boxOf(trick::Image1_0).topLeft();
    for (const trick::Control over :
         {trick::Label1, trick::Text7, trick::Command1, trick::Command2, trick::Command3, trick::Command4}) {
        const QRect area = boxOf(over).translated(-origin).intersected(picture.rect());
        QCOMPARE(countPixels(picture, area, background), area.width() * area.height());
    }
    QVERIFY(background(picture.pixel(::background() - origin)));

    // The watch keeps within its box and covers roughly a third of the picture.
    const auto watch = [](QRgb rgb) { return rgb != kPictureWhite; };
    QCOMPARE(countPixels(picture, picture.rect(), watch), countPixels(picture, kWatch, watch));
    const double share = countPixels(picture, picture.rect(), background) / double(picture.width() * picture.height());
    QVERIFY2(share > 0.6 && share < 0.76, qPrintable(QString::number(share)));

    // Under every marker cell lies the watch, not the background.
    for (int i = 0; i < trick::kMarkerCount; ++i)
        QVERIFY2(countPixels(picture, boxOf(marker(i)).translated(-origin), background) == 0,
                 qPrintable(QString::number(i)));

    // A pale cream dial, a gold crown on the right.
    const QColor dial(picture.pixel(100, 130));
    QVERIFY(dial.red() > 225 && dial.green() > 215 && dial.blue() > 180 && dial.blue() < dial.red() - 8);
    const QColor crown(picture.pixel(186, 96));
    QVERIFY(crown.red() > crown.blue() + 60 && crown.green() > crown.blue() + 30);
}

void LookTest::fontsAndColours()
{
    struct Expected {
        trick::Control control;
        int pixelSize;
        bool italic;
    };
    for (const Expected& e :
         {Expected{trick::Command1, 11, false}, Expected{trick::Command5, 11, false}, Expected{trick::Text1, 11, false},
          Expected{trick::Frame1, 11, true}, Expected{trick::Label2, 11, true}, Expected{trick::Text7, 13, false},
          Expected{trick::Label1, 13, false}}) {
        const QFontInfo info(control(e.control)->font());
        // The answer field takes the narrow cut, so that "XXX" fits.
        const QString family = e.control == trick::Text7 ? "Liberation Sans Narrow" : "Liberation Sans";
        QVERIFY2(info.family() == "MS Sans Serif" || info.family() == family, qPrintable(info.family()));
        QVERIFY2(info.bold() && info.pixelSize() == e.pixelSize && info.italic() == e.italic,
                 trick::to_string(e.control).c_str());
    }
    QCOMPARE(control(trick::Text6)->font(), QApplication::font());

    QCOMPARE(control(trick::Label2)->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    QCOMPARE(control(trick::Label1)->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    QCOMPARE(control(trick::Text7)->palette().color(QPalette::Text), QColor(255, 0, 0));
    QCOMPARE(control(trick::Frame1)->palette().color(QPalette::WindowText), QColor(64, 0, 0));

    // Label1 lets the picture show around its letters; the rules text is opaque.
    control(trick::Label1)->show();
    QVERIFY(!control(trick::Label1)->autoFillBackground());
    const QImage window = grabWindow();
    const QRect label = boxOf(trick::Label1);
    QCOMPARE(window.pixel(label.bottomLeft() + QPoint(1, -2)), kPictureWhite);
    QVERIFY(countPixels(window, label, isRed) > 40);
    // The rules text, white and opaque with red letters, is read in
    // test_scales.
}

void LookTest::captionsFitTheirControls()
{
    // Every caption fits inside its control's border, and every letter has a
    // glyph in the face that the control got.
    for (const trick::Control caption : {trick::Command1, trick::Command2, trick::Command3, trick::Command4,
                                         trick::Command5, trick::Label1, trick::Frame1}) {
        QWidget* widget = control(caption);
        const QString name = widget->objectName();
        QString text;
        if (auto* button = qobject_cast<QPushButton*>(widget))
            text = button->text();
        else if (auto* label = qobject_cast<QLabel*>(widget))
            text = label->text();
        else
            text = qobject_cast<ui::Frame*>(widget)->caption();
        const QFontMetrics metrics(widget->font());
        QVERIFY2(metrics.horizontalAdvance(text) <= widget->width() - 4, qPrintable(name));
        QVERIFY2(metrics.height() <= widget->height(), qPrintable(name));
        for (const QChar letter : text)
            QVERIFY2(metrics.inFont(letter), qPrintable(QStringLiteral("%1: %2").arg(name, letter)));
    }
    // The widest count fits its box.
    QVERIFY(QFontMetrics(control(trick::Text1)->font()).horizontalAdvance(QStringLiteral("20")) <=
            control(trick::Text1)->width() - 6);
}

void LookTest::rulesTextIsExactAndBreaksBeforeTheExample()
{
    auto* label = qobject_cast<QLabel*>(control(trick::Label2));
    const QString rules = label->text();
    QCOMPARE(rules.size(), 213);
    QVERIFY(
        rules.startsWith(QStringLiteral("Загадайте число от 1 до 12. Затем щелкайте по любым цифрам (20-n)раз, "
                                        "где n-загаданное число. Нажмите СТОП.")));
    QVERIFY(rules.contains(QStringLiteral("СТОП.") + QString(43, QLatin1Char(' ')) + QStringLiteral("Пример:")));
    QVERIFY(rules.endsWith(QStringLiteral("Пример: Загаданна цифра 7. Надо щелкнуть 13 раз и нажать СТОП. ")));
    const QChar cyrillicOk[] = {QChar(0x041E), QChar(0x041A)};
    QCOMPARE(qobject_cast<QPushButton*>(control(trick::Command5))->text(), QString(cyrillicOk, 2));

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

void LookTest::qtsOwnTextsAreRussian()
{
    // The menu that Qt opens on a right click in a text box.
    window_->click(centreOf(trick::Text1), Qt::RightButton);
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
    QCOMPARE(form().windowTitle(), "Tarvelo");
}

void LookTest::everyControlHasAnAccessibleName()
{
    // Buttons are named by their captions; the picture, the text boxes and
    // the markers carry short Russian names of their own.
    const auto accessibleName = [this](trick::Control control) {
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(this->control(control));
        return accessible ? accessible->text(QAccessible::Name) : QString();
    };
    for (const trick::Control button :
         {trick::Command1, trick::Command2, trick::Command3, trick::Command4, trick::Command5})
        QCOMPARE(accessibleName(button), form().button(button).text());
    QCOMPARE(accessibleName(trick::Image1_0), "Часы, по которым щёлкать");
    QCOMPARE(accessibleName(trick::Text1), "Число нажатий");
    QCOMPARE(accessibleName(trick::Text7), "Ваше число");
    for (int i = 0; i < trick::kMarkerCount; ++i)
        QCOMPARE(accessibleName(marker(i)), QStringLiteral("Метка на %1").arg(12 - i));
    for (const layout::ControlSpec& spec : layout::kControls)
        QVERIFY2(!accessibleName(spec.id).isEmpty(), qPrintable(nameOf(spec)));
}

void LookTest::closingTheWindowEndsTheProgram()
{
    // As the caption bar's close button does: a close event to the window.
    QTimer::singleShot(0, [this] {
        QCloseEvent close;
        QCoreApplication::sendEvent(form().windowHandle(), &close);
    });
    QTimer::singleShot(5000, [] { QCoreApplication::exit(1); });
    QCOMPARE(QApplication::exec(), 0);
    QVERIFY(!form().isVisible());
}

QTEST_MAIN(LookTest)
#include "test_look.moc"
