// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

// The real window, played through real mouse and key events at window
// positions, as a player would.

#include <QApplication>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

#include <memory>

#include "ui/forms_runtime.h"
#include "window_driver.h"

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

    std::unique_ptr<ui::Form1> form_;
    std::unique_ptr<ui::FormsRuntime> runtime_;
    std::unique_ptr<WindowDriver> window_;
};

void WindowTest::init()
{
    form_ = std::make_unique<ui::Form1>();
    runtime_ = std::make_unique<ui::FormsRuntime>(*form_);
    runtime_->load();
    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
    // Keystrokes go to the active window; without a window manager nobody
    // else makes it active.
    form_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form_.get()));
    window_ = std::make_unique<WindowDriver>(*form_);
    // A failure report that a test does not expect fails it.
    QTest::failOnWarning(QRegularExpression(QStringLiteral("^Tarvelo:")));
}

void WindowTest::cleanup()
{
    window_.reset();
    runtime_.reset();
    form_.reset();
}

void WindowTest::expectFailure(const char* event, const char* detail)
{
    QTest::ignoreMessage(
        QtWarningMsg,
        qPrintable(QStringLiteral("Tarvelo: %1 failed: %2").arg(QLatin1String(event), QString::fromUtf8(detail))));
}

void WindowTest::opensReadyToTap()
{
    QCOMPARE(window_->text("Text1"), "0");
    QCOMPARE(window_->text("Text6"), "14");
    QCOMPARE(window_->text("Text7"), "");
    for (const char* hidden : {"Text6", "Text7", "Label1", "Frame1"})
        QVERIFY2(!window_->shown(hidden), hidden);
    QVERIFY(window_->litMarkers().isEmpty());
    QCOMPARE(form_->focusWidget(), window_->textBox("Text1"));

    // No "Загадать" is needed for the first round.
    window_->tap(1);
    QCOMPARE(window_->text("Text1"), "1");
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
    QCOMPARE(window_->text("Text1"), QString::number(taps));
    QVERIFY(!window_->shown("Text7"));
    QCOMPARE(window_->text("Text7"), taps < 7 ? "" : answer);

    const QList<int> lit = window_->litMarkers();
    QCOMPARE(lit.size(), 1);
    QVERIFY2(QString::number(12 - lit.front()) != answer, "the marker points at the player's number");

    window_->stop();
    QCOMPARE(window_->text("Text7"), answer);
    QVERIFY(window_->shown("Text7"));
    QVERIFY(window_->shown("Label1"));
    QCOMPARE(window_->text("Text1"), "0");
    QCOMPARE(window_->litMarkers(), lit);

    // The revealed round takes no more taps.
    window_->tap(2);
    QCOMPARE(window_->text("Text1"), "0");
    QCOMPARE(window_->text("Text7"), answer);
}

void WindowTest::twentiethTapEndsTheRound()
{
    window_->newRound();
    window_->tap(19);
    QCOMPARE(window_->text("Text1"), "19");
    QVERIFY(!window_->shown("Text7"));
    QCOMPARE(window_->litMarkers(), QList<int>{10});

    window_->tap(1);
    QCOMPARE(window_->text("Text1"), "20");
    QCOMPARE(window_->text("Text7"), "XXX");
    QVERIFY(window_->shown("Text7"));
    QVERIFY(window_->shown("Label1"));
    QVERIFY(!form_->control(QStringLiteral("Image1_0"))->isEnabled());
    QCOMPARE(window_->litMarkers(), QList<int>{10});

    window_->tap(3);
    QCOMPARE(window_->text("Text1"), "20");

    window_->stop();
    QCOMPARE(window_->text("Text1"), "0");
    QCOMPARE(window_->text("Text7"), "XXX");
}

void WindowTest::stopTwiceKeepsTheAnswer()
{
    window_->newRound();
    window_->tap(3);
    window_->stop();
    window_->stop();
    QCOMPARE(window_->text("Text7"), "?");
    QCOMPARE(window_->text("Text1"), "0");
    window_->tap(1);
    QCOMPARE(window_->text("Text1"), "0");

    window_->newRound();
    window_->tap(9);
    window_->stop();
    window_->stop();
    QCOMPARE(window_->text("Text7"), "11");
}

void WindowTest::stopRightAfterOpening()
{
    window_->stop();
    QVERIFY(window_->shown("Text7"));
    QVERIFY(window_->shown("Label1"));
    QCOMPARE(window_->text("Text7"), "");
    QCOMPARE(window_->text("Text1"), "0");
    window_->tap(4);
    QCOMPARE(window_->text("Text1"), "0");

    window_->newRound();
    QVERIFY(!window_->shown("Text7"));
    QVERIFY(!window_->shown("Label1"));
    window_->tap(4);
    QCOMPARE(window_->text("Text1"), "4");
}

void WindowTest::newRoundInTheMiddleOfCounting()
{
    window_->tap(8);
    window_->textBox("Text6")->setText(QStringLiteral("3"));
    window_->newRound();
    QCOMPARE(window_->text("Text1"), "0");
    QCOMPARE(window_->text("Text6"), "14");
    QCOMPARE(window_->text("Text7"), "");
    QVERIFY(!window_->shown("Text7"));
    QVERIFY(window_->litMarkers().isEmpty());
    window_->tap(1);
    QCOMPARE(window_->text("Text1"), "1");
}

void WindowTest::typedCountsDriveTheMarkers()
{
    window_->click(window_->centreOf("Text1"));
    QCOMPARE(window_->text("Text1"), "0");

    // Typing raises Change at every keystroke: "1", then "13".
    window_->type(QStringLiteral("13"));
    QCOMPARE(window_->text("Text1"), "13");
    QCOMPARE(window_->litMarkers(), QList<int>{4});
    QCOMPARE(window_->text("Text7"), "7");
    QVERIFY(!window_->shown("Text7"));

    // Texts that only look like counts match nothing, and a tap ignores them.
    for (const QString& typed :
         {QStringLiteral("07"), QStringLiteral(" 7"), QStringLiteral("+7"), QStringLiteral("семь")}) {
        window_->type(typed);
        QCOMPARE(window_->text("Text1"), typed);
        QCOMPARE(window_->text("Text7"), "7");
        window_->tap(1);
        QCOMPARE(window_->text("Text1"), typed);
    }

    // A typed count carries on like a tapped one.
    window_->type(QStringLiteral("17"));
    window_->tap(1);
    QCOMPARE(window_->text("Text1"), "18");
    QCOMPARE(window_->litMarkers(), QList<int>{3});
    window_->stop();
    QCOMPARE(window_->text("Text7"), "2");
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
    QLineEdit* edit = window_->textBox(qPrintable(box));
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
    const auto press = [&](const char* button) {
        form_->control(QString::fromLatin1(button))->setFocus();
        QTest::keyClick(form_->windowHandle(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    };

    window_->tap(4);
    press("Command2");  // "Стоп"
    QCOMPARE(window_->text("Text7"), "?");
    press("Command4");  // "Правила"
    QVERIFY(window_->shown("Frame1"));
    press("Command5");  // "ОК"
    QVERIFY(!window_->shown("Frame1"));
    press("Command3");  // "Загадать"
    QVERIFY(!window_->shown("Text7"));
}

void WindowTest::tabWalksTheShownControlsInOrder_data()
{
    QTest::addColumn<QString>("phase");
    QTest::addColumn<QStringList>("chain");
    const QStringList buttons{"Command1", "Command2", "Command3", "Command4"};
    QTest::newRow("opened") << "opened" << QStringList{"Text1"} + buttons;
    QTest::newRow("revealed") << "revealed" << QStringList{"Text1", "Text7"} + buttons;
}

// The chain that Tab walks, as a keyboard user meets it: from a window with
// nothing focused (as when the focused control is hidden) the first Tab
// goes to the count, and on through every shown control that takes the
// focus, back to the count.
void WindowTest::tabWalksTheShownControlsInOrder()
{
    QFETCH(QString, phase);
    QFETCH(QStringList, chain);
    if (phase == "revealed") {
        window_->tap(13);
        window_->stop();
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
    QCOMPARE(walked, chain);
}

void WindowTest::controlsOverThePictureAreNoTaps()
{
    window_->click(window_->centreOf("Text1"));
    QCOMPARE(window_->text("Text1"), "0");

    // A lit marker lets the click through to the watch under it.
    window_->tap(1);
    QCOMPARE(window_->litMarkers(), QList<int>{0});
    window_->click(QPoint(124, 60));
    QCOMPARE(window_->text("Text1"), "2");

    // So does every corner of the picture's rectangle.
    for (const QPoint corner : {QPoint(8, 8), QPoint(251, 8), QPoint(8, 135), QPoint(251, 204)})
        window_->click(corner);
    QCOMPARE(window_->text("Text1"), "6");
}

void WindowTest::rulesPanelSwallowsClicksInItsArea()
{
    window_->tap(2);
    window_->press("Command4");
    QVERIFY(window_->shown("Frame1"));

    // The panel covers the dial, Text1 and the inner parts of the buttons.
    for (const QPoint inside :
         {QPoint(60, 60), QPoint(34, 180), window_->centreOf("Text1"), kDial, QPoint(70, 156), QPoint(200, 188)})
        window_->click(inside);
    QCOMPARE(window_->text("Text1"), "2");
    QVERIFY(!window_->shown("Text7"));

    // Outside it the picture still takes taps: an open panel pauses nothing.
    window_->click(QPoint(12, 60));
    QCOMPARE(window_->text("Text1"), "3");
    QVERIFY(window_->shown("Frame1"));

    // The outer parts of the corner buttons stay clickable.
    window_->click(QPoint(12, 156));
    QCOMPARE(window_->text("Text7"), "?");

    window_->press("Command5");
    QVERIFY(!window_->shown("Frame1"));
    QCOMPARE(window_->text("Text7"), "?");
    QCOMPARE(window_->text("Text1"), "0");
    window_->click(QPoint(240, 150));
    QVERIFY(window_->shown("Frame1"));
}

void WindowTest::exitClosesTheWindow()
{
    QSignalSpy closed(form_.get(), &ui::Form1::closed);
    window_->tap(5);
    window_->press("Command4");
    window_->click(QPoint(200, 188));  // the panel covers this part of "Выход"
    QCOMPARE(closed.count(), 0);
    window_->click(QPoint(240, 196));
    QCOMPARE(closed.count(), 1);
    QVERIFY(!form_->isVisible());
}

void WindowTest::failureIsReportedAndTheGameGoesOn()
{
    window_->tap(6);
    window_->textBox("Text6")->setText(QStringLiteral("abc"));

    // The tap fails inside its count reaction; Text1 keeps the new count.
    expectFailure("Image1_Click", "type mismatch: base value \"abc\" is not a number");
    window_->tap(1);
    QCOMPARE(window_->text("Text1"), "7");
    QCOMPARE(window_->litMarkers(), QList<int>{7});

    expectFailure("Text1_Change", "type mismatch: base value \"abc\" is not a number");
    window_->type(QStringLiteral("9"));

    window_->newRound();
    window_->tap(15);
    window_->stop();
    QCOMPARE(window_->text("Text7"), "5");
}

QTEST_MAIN(WindowTest)
#include "test_window.moc"
