// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

// The real window, played through real mouse and key events at window
// positions, as a player would.

#include <QApplication>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>
#include <memory>

#include "layout/window.h"
#include "ui/widgets.h"
#include "window_driver.h"

namespace {

// The middle of the part of `under` that `over` covers, in window pixels.
QPoint overlapOf(trick::Control over, trick::Control under)
{
    return boxOf(over).intersected(boxOf(under)).center();
}

// The middle of the part of a corner button that the rules panel leaves
// free, beside the panel.
QPoint besideThePanel(trick::Control button)
{
    const QRect box = boxOf(button), panel = boxOf(trick::Frame1);
    const int x =
        box.left() < panel.left() ? (box.left() + panel.left() - 1) / 2 : (panel.right() + 1 + box.right()) / 2;
    return {x, box.center().y()};
}

}  // namespace

class WindowTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void opensReadyToTap();
    void guessesEveryNumber_data();
    void guessesEveryNumber();
    void twentiethTapEndsTheRound();
    void stopTwiceKeepsTheAnswer();
    void stopRightAfterOpening();
    void newRoundInTheMiddleOfCounting();
    void typedCountsDriveTheMarkers();
    void onlyTheCountTakesTyping_data();
    void onlyTheCountTakesTyping();
    void keysPressTheFocusedButton_data();
    void keysPressTheFocusedButton();
    void tabWalksTheShownControlsInOrder_data();
    void tabWalksTheShownControlsInOrder();
    void controlsOverThePictureAreNoTaps();
    void rulesPanelSwallowsClicksInItsArea();
    void exitClosesTheWindow();
    void failureIsReportedAndTheGameGoesOn();

private:
    void expectFailure(const char* event, const char* detail);

    std::unique_ptr<ui::Game> game_;
    ui::Form1* form_ = nullptr;
    std::unique_ptr<WindowDriver> window_;
};

void WindowTest::init()
{
    game_ = startGame();
    QVERIFY(game_);
    form_ = &game_->window();
    // Keystrokes go to the active window; without a window manager nobody
    // else makes it active.
    form_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form_));
    window_ = std::make_unique<WindowDriver>(*form_);
    // A failure report that a test does not expect fails it.
    QTest::failOnWarning(QRegularExpression(QStringLiteral("^Tarvelo:")));
}

void WindowTest::cleanup()
{
    window_.reset();
    game_.reset();
}

void WindowTest::expectFailure(const char* event, const char* detail)
{
    QTest::ignoreMessage(
        QtWarningMsg,
        qPrintable(QStringLiteral("Tarvelo: %1 failed: %2").arg(QLatin1String(event), QString::fromUtf8(detail))));
}

void WindowTest::opensReadyToTap()
{
    QCOMPARE(window_->text(trick::Text1), "0");
    QCOMPARE(window_->text(trick::Text6), "14");
    QCOMPARE(window_->text(trick::Text7), "");
    for (const trick::Control hidden : {trick::Text6, trick::Text7, trick::Label1, trick::Frame1})
        QVERIFY2(!window_->shown(hidden), trick::to_string(hidden).c_str());
    QVERIFY(window_->litMarkers().isEmpty());
    QCOMPARE(form_->focusWidget(), &window_->textBox(trick::Text1));

    // No "Загадать" is needed for the first round.
    window_->tap(1);
    QCOMPARE(window_->text(trick::Text1), "1");
    QCOMPARE(window_->litMarkers(), QList<int>{0});
}

void WindowTest::guessesEveryNumber_data()
{
    QTest::addColumn<int>("taps");
    QTest::addColumn<QString>("answer");
    for (int n = 1; n <= 12; ++n)
        QTest::addRow("%d", n) << 20 - n << QString::number(n);
    // Too few taps to tell.
    for (int taps = 1; taps <= 6; ++taps)
        QTest::addRow("%d taps", taps) << taps << "?";
}

void WindowTest::guessesEveryNumber()
{
    QFETCH(int, taps);
    QFETCH(QString, answer);

    window_->newRound();
    window_->tap(taps);
    QCOMPARE(window_->text(trick::Text1), QString::number(taps));
    QVERIFY(!window_->shown(trick::Text7));
    QCOMPARE(window_->text(trick::Text7), taps < 7 ? "" : answer);

    const QList<int> lit = window_->litMarkers();
    QCOMPARE(lit.size(), 1);
    QVERIFY2(QString::number(layout::hourOf(lit.front())) != answer, "the marker points at the player's number");

    window_->stop();
    QCOMPARE(window_->text(trick::Text7), answer);
    QVERIFY(window_->shown(trick::Text7));
    QVERIFY(window_->shown(trick::Label1));
    QCOMPARE(window_->text(trick::Text1), "0");
    QCOMPARE(window_->litMarkers(), lit);

    // The revealed round takes no more taps.
    window_->tap(2);
    QCOMPARE(window_->text(trick::Text1), "0");
    QCOMPARE(window_->text(trick::Text7), answer);
}

void WindowTest::twentiethTapEndsTheRound()
{
    window_->newRound();
    window_->tap(19);
    QCOMPARE(window_->text(trick::Text1), "19");
    QVERIFY(!window_->shown(trick::Text7));
    QCOMPARE(window_->litMarkers(), QList<int>{10});

    window_->tap(1);
    QCOMPARE(window_->text(trick::Text1), "20");
    QCOMPARE(window_->text(trick::Text7), "XXX");
    QVERIFY(window_->shown(trick::Text7));
    QVERIFY(window_->shown(trick::Label1));
    QVERIFY(!form_->picture().isEnabled());
    QCOMPARE(window_->litMarkers(), QList<int>{10});

    window_->tap(3);
    QCOMPARE(window_->text(trick::Text1), "20");

    window_->stop();
    QCOMPARE(window_->text(trick::Text1), "0");
    QCOMPARE(window_->text(trick::Text7), "XXX");
}

void WindowTest::stopTwiceKeepsTheAnswer()
{
    window_->newRound();
    window_->tap(3);
    window_->stop();
    window_->stop();
    QCOMPARE(window_->text(trick::Text7), "?");
    QCOMPARE(window_->text(trick::Text1), "0");
    window_->tap(1);
    QCOMPARE(window_->text(trick::Text1), "0");

    window_->newRound();
    window_->tap(9);
    window_->stop();
    window_->stop();
    QCOMPARE(window_->text(trick::Text7), "11");
}

void WindowTest::stopRightAfterOpening()
{
    window_->stop();
    QVERIFY(window_->shown(trick::Text7));
    QVERIFY(window_->shown(trick::Label1));
    QCOMPARE(window_->text(trick::Text7), "");
    QCOMPARE(window_->text(trick::Text1), "0");
    window_->tap(4);
    QCOMPARE(window_->text(trick::Text1), "0");

    window_->newRound();
    QVERIFY(!window_->shown(trick::Text7));
    QVERIFY(!window_->shown(trick::Label1));
    window_->tap(4);
    QCOMPARE(window_->text(trick::Text1), "4");
}

void WindowTest::newRoundInTheMiddleOfCounting()
{
    window_->tap(8);
    window_->textBox(trick::Text6).setText(QStringLiteral("3"));
    window_->newRound();
    QCOMPARE(window_->text(trick::Text1), "0");
    QCOMPARE(window_->text(trick::Text6), "14");
    QCOMPARE(window_->text(trick::Text7), "");
    QVERIFY(!window_->shown(trick::Text7));
    QVERIFY(window_->litMarkers().isEmpty());
    window_->tap(1);
    QCOMPARE(window_->text(trick::Text1), "1");
}

void WindowTest::typedCountsDriveTheMarkers()
{
    window_->click(centreOf(trick::Text1));
    QCOMPARE(window_->text(trick::Text1), "0");

    // Typing raises Change at every keystroke: "1", then "13".
    window_->type(QStringLiteral("13"));
    QCOMPARE(window_->text(trick::Text1), "13");
    QCOMPARE(window_->litMarkers(), QList<int>{4});
    QCOMPARE(window_->text(trick::Text7), "7");
    QVERIFY(!window_->shown(trick::Text7));

    // Texts that only look like counts match nothing, and a tap ignores them.
    for (const QString& typed :
         {QStringLiteral("07"), QStringLiteral(" 7"), QStringLiteral("+7"), QStringLiteral("семь")}) {
        window_->type(typed);
        QCOMPARE(window_->text(trick::Text1), typed);
        QCOMPARE(window_->text(trick::Text7), "7");
        window_->tap(1);
        QCOMPARE(window_->text(trick::Text1), typed);
    }

    // A typed count carries on like a tapped one.
    window_->type(QStringLiteral("17"));
    window_->tap(1);
    QCOMPARE(window_->text(trick::Text1), "18");
    QCOMPARE(window_->litMarkers(), QList<int>{3});
    window_->stop();
    QCOMPARE(window_->text(trick::Text7), "2");
}

void WindowTest::onlyTheCountTakesTyping_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("after");
    // clang-format off
    QTest::newRow("Text1, the count") << "Text1" << "5";
    QTest::newRow("Text7, the answer") << "Text7" << "13";
    QTest::newRow("Text6, the base value") << "Text6" << "14";
    // clang-format on
}

void WindowTest::onlyTheCountTakesTyping()
{
    QFETCH(QString, box);
    QFETCH(QString, after);

    window_->tap(7);
    window_->stop();  // the answer "13" shows
    QLineEdit* edit = &window_->textBox(layout::find(box.toStdString())->id);
    edit->show();  // the base value is hidden from the player; here it is not
    QTest::mouseClick(edit, Qt::LeftButton);
    QCOMPARE(QApplication::focusWidget(), edit);
    QTest::keyClick(form_->windowHandle(), Qt::Key_End);
    QTest::keyClick(form_->windowHandle(), Qt::Key_Backspace);
    QTest::keyClick(form_->windowHandle(), Qt::Key_Backspace);
    QTest::keyClicks(edit, QStringLiteral("5"));
    QCOMPARE(edit->text(), after);

    // What is shown can still be selected and copied.
    QTest::keyClick(form_->windowHandle(), Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(edit->selectedText(), after);
}

void WindowTest::keysPressTheFocusedButton_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::newRow("Space") << int(Qt::Key_Space) << int(Qt::NoModifier);
    QTest::newRow("Return") << int(Qt::Key_Return) << int(Qt::NoModifier);
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << int(Qt::KeypadModifier);
}

void WindowTest::keysPressTheFocusedButton()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    const auto press = [&](trick::Control button) {
        window_->control(button).setFocus();
        QTest::keyClick(form_->windowHandle(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    };

    window_->tap(4);
    press(trick::Command2);  // "Стоп"
    QCOMPARE(window_->text(trick::Text7), "?");
    press(trick::Command4);  // "Правила"
    QVERIFY(window_->shown(trick::Frame1));
    press(trick::Command5);  // "ОК"
    QVERIFY(!window_->shown(trick::Frame1));
    press(trick::Command3);  // "Загадать"
    QVERIFY(!window_->shown(trick::Text7));
}

void WindowTest::tabWalksTheShownControlsInOrder_data()
{
    QTest::addColumn<QString>("phase");
    QTest::addColumn<QStringList>("chain");
    const QStringList buttons{"Command1", "Command2", "Command3", "Command4"};
    QTest::newRow("opened") << "opened" << QStringList{"Text1"} + buttons;
    QTest::newRow("revealed") << "revealed" << QStringList{"Text1", "Text7"} + buttons;
    QTest::newRow("rules open") << "rules open" << QStringList{"Text1"} + buttons + QStringList{"Command5"};
}

// The chain that Tab walks, as a keyboard user meets it: from a window with
// nothing focused (as when the focused control is hidden), on through every
// shown control that takes the focus, round to where it began. It is
// compared from the count on, where the first Tab of an opened window goes.
void WindowTest::tabWalksTheShownControlsInOrder()
{
    QFETCH(QString, phase);
    QFETCH(QStringList, chain);
    if (phase == "revealed") {
        window_->tap(13);
        window_->stop();
    } else if (phase == "rules open") {
        window_->press(trick::Command4);
    }
    if (QWidget* focused = QApplication::focusWidget())
        focused->clearFocus();
    QStringList walked;
    do {
        QTest::keyClick(form_->windowHandle(), Qt::Key_Tab);
        QVERIFY(QApplication::focusWidget() != nullptr);
        walked << QApplication::focusWidget()->objectName();
    } while (walked.size() <= chain.size() && (walked.size() == 1 || walked.back() != walked.front()));
    walked.removeLast();
    // With the rules open the first Tab goes to "ОК", the panel being
    // first in the window's focus chain; the cycle is the same.
    if (phase != "rules open")
        QCOMPARE(walked.front(), chain.front());
    std::rotate(walked.begin(), std::find(walked.begin(), walked.end(), chain.front()), walked.end());
    QCOMPARE(walked, chain);
}

void WindowTest::controlsOverThePictureAreNoTaps()
{
    window_->click(centreOf(trick::Text1));
    QCOMPARE(window_->text(trick::Text1), "0");

    // A lit marker lets the click through to the watch under it.
    window_->tap(1);
    QCOMPARE(window_->litMarkers(), QList<int>{0});
    window_->click(centreOf(marker(0)));
    QCOMPARE(window_->text(trick::Text1), "2");

    // So does every corner of the picture's rectangle.
    const QRect picture = boxOf(trick::Image1_0);
    for (const QPoint corner : {picture.topLeft(), picture.topRight(), picture.bottomLeft(), picture.bottomRight()})
        window_->click(corner);
    QCOMPARE(window_->text(trick::Text1), "6");
}

void WindowTest::rulesPanelSwallowsClicksInItsArea()
{
    window_->tap(2);
    window_->press(trick::Command4);
    QVERIFY(window_->shown(trick::Frame1));

    // The panel covers the dial, Text1 and the inner parts of the buttons.
    for (const trick::Control under :
         {trick::Image1_0, trick::Text1, trick::Command1, trick::Command2, trick::Command3, trick::Command4})
        window_->click(overlapOf(trick::Frame1, under));
    window_->click(dial());
    QCOMPARE(window_->text(trick::Text1), "2");
    QVERIFY(!window_->shown(trick::Text7));

    // Outside it the picture still takes taps: an open panel pauses nothing.
    window_->click(background());
    QCOMPARE(window_->text(trick::Text1), "3");
    QVERIFY(window_->shown(trick::Frame1));

    // The outer parts of the corner buttons stay clickable.
    window_->click(besideThePanel(trick::Command2));
    QCOMPARE(window_->text(trick::Text7), "?");

    window_->press(trick::Command5);
    QVERIFY(!window_->shown(trick::Frame1));
    QCOMPARE(window_->text(trick::Text7), "?");
    QCOMPARE(window_->text(trick::Text1), "0");
    window_->click(besideThePanel(trick::Command4));
    QVERIFY(window_->shown(trick::Frame1));
}

void WindowTest::exitClosesTheWindow()
{
    QSignalSpy closed(form_, &ui::Form1::closed);
    window_->tap(5);
    window_->press(trick::Command4);
    window_->click(overlapOf(trick::Frame1, trick::Command1));  // the panel covers this part of "Выход"
    QCOMPARE(closed.count(), 0);
    window_->click(besideThePanel(trick::Command1));
    QCOMPARE(closed.count(), 1);
    QVERIFY(!form_->isVisible());
}

void WindowTest::failureIsReportedAndTheGameGoesOn()
{
    window_->tap(6);
    window_->textBox(trick::Text6).setText(QStringLiteral("abc"));

    // The tap fails inside its count reaction; Text1 keeps the new count.
    expectFailure("Image1_Click", "type mismatch: base value \"abc\" is not a number");
    window_->tap(1);
    QCOMPARE(window_->text(trick::Text1), "7");
    QCOMPARE(window_->litMarkers(), QList<int>{7});

    expectFailure("Text1_Change", "type mismatch: base value \"abc\" is not a number");
    window_->type(QStringLiteral("9"));

    window_->newRound();
    window_->tap(15);
    window_->stop();
    QCOMPARE(window_->text(trick::Text7), "5");
}

QTEST_MAIN(WindowTest)
#include "test_window.moc"
