// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

// The real window, played through real mouse and key events at window
// positions, as a player would.

#include <QApplication>
#include <QJsonObject>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>
#include <memory>

#include "layout/window.h"
#include "modelled_window.h"
#include "ui/widgets.h"

class WindowTest : public GameTest {
    Q_OBJECT

private slots:
    void init();

    void playsEveryScenario_data();
    void playsEveryScenario();
    void onlyTheCountTakesTyping_data();
    void onlyTheCountTakesTyping();
    void tabWalksTheShownControlsInOrder_data();
    void tabWalksTheShownControlsInOrder();
    void failureIsReportedAndTheGameGoesOn();

private:
    void expectFailure(const char* event, const char* detail);
};

void WindowTest::init()
{
    GameTest::init();
    // Keystrokes go to the active window; without a window manager nobody
    // else makes it active.
    form().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form()));
    // A failure report that a test does not expect fails it.
    QTest::failOnWarning(QRegularExpression(QStringLiteral("^Tarvelo:")));
}

void WindowTest::expectFailure(const char* event, const char* detail)
{
    QTest::ignoreMessage(
        QtWarningMsg,
        qPrintable(QStringLiteral("Tarvelo: %1 failed: %2").arg(QLatin1String(event), QString::fromUtf8(detail))));
}

void WindowTest::playsEveryScenario_data()
{
    QTest::addColumn<QJsonObject>("scenario");
    const QJsonArray all = scenarios();
    QVERIFY(!all.isEmpty());
    for (const QJsonValue scenario : all)
        QTest::newRow(qPrintable(scenario[QLatin1String("name")].toString())) << scenario.toObject();
}

// Every scenario that the game's front-ends share, played on the window
// as a player does, beside the model of the window: after every event the
// whole window is as the model says, and at the end as the scenario says.
void WindowTest::playsEveryScenario()
{
    QFETCH(QJsonObject, scenario);
    QCOMPARE(form().focusWidget(), &window_->textBox(trick::Text1));
    ModelledWindow player(form());
    for (const QJsonValue step : scenario[QLatin1String("steps")].toArray())
        player.play(step.toString());
    QVERIFY2(player.disagreement().isEmpty(), qPrintable(player.disagreement()));

    QCOMPARE(window_->text(trick::Text1), scenario[QLatin1String("Text1")].toString());
    QCOMPARE(window_->text(trick::Text7), scenario[QLatin1String("Text7")].toString());
    const bool revealed = scenario[QLatin1String("revealed")].toBool();
    QCOMPARE(window_->shown(trick::Text7), revealed);
    QCOMPARE(window_->shown(trick::Label1), revealed);
    QList<int> lit;
    for (const QJsonValue marker : scenario[QLatin1String("lit")].toArray())
        lit << marker.toInt();
    QCOMPARE(window_->litMarkers(), lit);
    QCOMPARE(form().picture().isEnabled(), scenario[QLatin1String("picture")].toBool());
    QCOMPARE(window_->shown(trick::Frame1), scenario[QLatin1String("rules")].toBool());
    QCOMPARE(window_->shown(trick::Text6), scenario[QLatin1String("baseShown")].toBool());
    QCOMPARE(!form().isVisible(), scenario[QLatin1String("closed")].toBool());
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
    QTest::keyClick(form().windowHandle(), Qt::Key_End);
    QTest::keyClick(form().windowHandle(), Qt::Key_Backspace);
    QTest::keyClick(form().windowHandle(), Qt::Key_Backspace);
    QTest::keyClicks(edit, QStringLiteral("5"));
    QCOMPARE(edit->text(), after);

    // What is shown can still be selected and copied.
    QTest::keyClick(form().windowHandle(), Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(edit->selectedText(), after);
}

void WindowTest::tabWalksTheShownControlsInOrder_data()
{
    QTest::addColumn<QString>("phase");
    QTest::addColumn<QStringList>("chain");
    const QStringList buttons{"Command1", "Command2", "Command3", "Command4"};
    QTest::newRow("opened") << "opened" << QStringList{"Text1"} + buttons;
    QTest::newRow("revealed") << "revealed" << QStringList{"Text1", "Text7"} + buttons;
    QTest::newRow("rules open") << "rules open" << QStringList{"Text1"} + buttons + QStringList{"Command5"};
    // The controls that the game hides keep their places in the chain.
    QTest::newRow("all shown") << "all shown"
                               << QStringList{"Text1", "Text6", "Text7"} + buttons + QStringList{"Command5"};
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
    } else if (phase == "all shown") {
        for (const trick::Control hidden : {trick::Text6, trick::Text7, trick::Frame1})
            window_->control(hidden).show();
    }
    if (QWidget* focused = QApplication::focusWidget())
        focused->clearFocus();
    QStringList walked;
    do {
        QTest::keyClick(form().windowHandle(), Qt::Key_Tab);
        QVERIFY(QApplication::focusWidget() != nullptr);
        walked << QApplication::focusWidget()->objectName();
    } while (walked.size() <= chain.size() && (walked.size() == 1 || walked.back() != walked.front()));
    walked.removeLast();
    // With the rules open the first Tab goes to "ОК", the panel being
    // first in the window's focus chain; the cycle is the same.
    if (!window_->shown(trick::Frame1))
        QCOMPARE(walked.front(), chain.front());
    std::rotate(walked.begin(), std::find(walked.begin(), walked.end(), chain.front()), walked.end());
    QCOMPARE(walked, chain);
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
