// The real window, played through real mouse and key events at window
// positions, as a player would.

#include <QApplication>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

#include <memory>

#include "ui/form1.h"
#include "ui/forms_runtime.h"

namespace {

// Window pixels. The picture covers (8, 8) to (251, 204).
constexpr QPoint kBackground{18, 48};   // white space left of the dial
constexpr QPoint kDial{140, 130};       // on the dial, clear of Text1
constexpr QPoint kText1{128, 105};
constexpr QPoint kStop{40, 156};        // "Стоп"
constexpr QPoint kNewRound{40, 188};    // "Загадать"
constexpr QPoint kRules{216, 156};      // "Правила"
constexpr QPoint kRulesOk{120, 164};    // "ОК" in the rules panel

}  // namespace

class WindowTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void opensReadyToTap();
    void guessesEveryNumber_data();
    void guessesEveryNumber();
    void earlyStopShowsQuestionMark_data();
    void earlyStopShowsQuestionMark();
    void twentiethTapEndsTheRound();
    void stopTwiceKeepsTheAnswer();
    void stopRightAfterOpening();
    void newRoundInTheMiddleOfCounting();
    void typedCountsDriveTheMarkers();
    void onlyTheCountTakesTyping_data();
    void onlyTheCountTakesTyping();
    void keysPressTheFocusedButton_data();
    void keysPressTheFocusedButton();
    void controlsOverThePictureAreNoTaps();
    void rulesPanelSwallowsClicksInItsArea();
    void exitClosesTheWindow();
    void failureIsReportedAndTheGameGoesOn();

private:
    void click(QPoint windowPos);
    void tap(int times);
    QLineEdit* textBox(const char* name) const;
    QString text(const char* name) const { return textBox(name)->text(); }
    bool shown(const char* name) const;
    QList<int> litMarkers() const;
    void type(const QString& text);
    void expectFailure(const char* event, const char* detail);

    std::unique_ptr<ui::Form1> form_;
    std::unique_ptr<ui::FormsRuntime> runtime_;
};

void WindowTest::init()
{
    form_ = std::make_unique<ui::Form1>();
    runtime_ = std::make_unique<ui::FormsRuntime>(*form_);
    runtime_->load();
    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
    // A failure report that a test does not expect fails it.
    QTest::failOnWarning(QRegularExpression(QStringLiteral("^Tarvelo:")));
}

void WindowTest::cleanup()
{
    runtime_.reset();
    form_.reset();
}

void WindowTest::click(QPoint windowPos)
{
    // Through the window, so Qt picks the widget under the point.
    QTest::mouseClick(form_->windowHandle(), Qt::LeftButton, {}, windowPos);
}

void WindowTest::tap(int times)
{
    for (int i = 0; i < times; ++i)
        click(i % 2 ? kDial : kBackground);
}

QLineEdit* WindowTest::textBox(const char* name) const
{
    return qobject_cast<QLineEdit*>(form_->control(QString::fromLatin1(name)));
}

bool WindowTest::shown(const char* name) const
{
    return !form_->control(QString::fromLatin1(name))->isHidden();
}

QList<int> WindowTest::litMarkers() const
{
    QList<int> lit;
    for (int i = 0; i < 12; ++i) {
        if (shown(QByteArray("Shape1_" + QByteArray::number(i)).constData()))
            lit << i;
    }
    return lit;
}

// Replaces what Text1 holds, one keystroke per character. Key codes cover
// only Latin-1, so each key carries its text instead.
void WindowTest::type(const QString& text)
{
    QLineEdit* count = textBox("Text1");
    count->selectAll();
    for (const QChar character : text)
        QTest::sendKeyEvent(QTest::Click, count, Qt::Key_unknown, QString(character), Qt::NoModifier);
}

void WindowTest::expectFailure(const char* event, const char* detail)
{
    QTest::ignoreMessage(QtWarningMsg, qPrintable(QStringLiteral("Tarvelo: %1 failed: %2").arg(
                                           QLatin1String(event), QString::fromUtf8(detail))));
}

void WindowTest::opensReadyToTap()
{
    QCOMPARE(text("Text1"), "0");
    QCOMPARE(text("Text6"), "14");
    QCOMPARE(text("Text7"), "");
    for (const char* hidden : {"Text6", "Text7", "Label1", "Frame1"})
        QVERIFY2(!shown(hidden), hidden);
    QVERIFY(litMarkers().isEmpty());
    QCOMPARE(form_->focusWidget(), textBox("Text1"));

    // No "Загадать" is needed for the first round.
    tap(1);
    QCOMPARE(text("Text1"), "1");
    QCOMPARE(litMarkers(), QList<int>{0});
}

void WindowTest::guessesEveryNumber_data()
{
    QTest::addColumn<int>("n");
    for (int n = 1; n <= 12; ++n)
        QTest::addRow("%d", n) << n;
}

void WindowTest::guessesEveryNumber()
{
    QFETCH(int, n);

    click(kNewRound);
    tap(20 - n);
    QCOMPARE(text("Text1"), QString::number(20 - n));
    QVERIFY(!shown("Text7"));

    const QList<int> lit = litMarkers();
    QCOMPARE(lit.size(), 1);
    QVERIFY2(12 - lit.front() != n, "the marker points at the player's number");

    click(kStop);
    QCOMPARE(text("Text7"), QString::number(n));
    QVERIFY(shown("Text7"));
    QVERIFY(shown("Label1"));
    QCOMPARE(text("Text1"), "0");
    QCOMPARE(litMarkers(), lit);

    // The revealed round takes no more taps.
    tap(2);
    QCOMPARE(text("Text1"), "0");
    QCOMPARE(text("Text7"), QString::number(n));
}

void WindowTest::earlyStopShowsQuestionMark_data()
{
    QTest::addColumn<int>("taps");
    for (int taps = 1; taps <= 6; ++taps)
        QTest::addRow("%d", taps) << taps;
}

void WindowTest::earlyStopShowsQuestionMark()
{
    QFETCH(int, taps);
    click(kNewRound);
    tap(taps);
    QCOMPARE(text("Text7"), "");
    click(kStop);
    QCOMPARE(text("Text7"), "?");
    QVERIFY(shown("Text7"));
}

void WindowTest::twentiethTapEndsTheRound()
{
    click(kNewRound);
    tap(19);
    QCOMPARE(text("Text1"), "19");
    QVERIFY(!shown("Text7"));
    QCOMPARE(litMarkers(), QList<int>{10});

    tap(1);
    QCOMPARE(text("Text1"), "20");
    QCOMPARE(text("Text7"), "XXX");
    QVERIFY(shown("Text7"));
    QVERIFY(shown("Label1"));
    QVERIFY(!form_->control(QStringLiteral("Image1_0"))->isEnabled());
    QCOMPARE(litMarkers(), QList<int>{10});

    tap(3);
    QCOMPARE(text("Text1"), "20");

    click(kStop);
    QCOMPARE(text("Text1"), "0");
    QCOMPARE(text("Text7"), "XXX");
}

void WindowTest::stopTwiceKeepsTheAnswer()
{
    click(kNewRound);
    tap(3);
    click(kStop);
    click(kStop);
    QCOMPARE(text("Text7"), "?");
    QCOMPARE(text("Text1"), "0");
    tap(1);
    QCOMPARE(text("Text1"), "0");

    click(kNewRound);
    tap(9);
    click(kStop);
    click(kStop);
    QCOMPARE(text("Text7"), "11");
}

void WindowTest::stopRightAfterOpening()
{
    click(kStop);
    QVERIFY(shown("Text7"));
    QVERIFY(shown("Label1"));
    QCOMPARE(text("Text7"), "");
    QCOMPARE(text("Text1"), "0");
    tap(4);
    QCOMPARE(text("Text1"), "0");

    click(kNewRound);
    QVERIFY(!shown("Text7"));
    QVERIFY(!shown("Label1"));
    tap(4);
    QCOMPARE(text("Text1"), "4");
}

void WindowTest::newRoundInTheMiddleOfCounting()
{
    tap(8);
    textBox("Text6")->setText(QStringLiteral("3"));
    click(kNewRound);
    QCOMPARE(text("Text1"), "0");
    QCOMPARE(text("Text6"), "14");
    QCOMPARE(text("Text7"), "");
    QVERIFY(!shown("Text7"));
    QVERIFY(litMarkers().isEmpty());
    tap(1);
    QCOMPARE(text("Text1"), "1");
}

void WindowTest::typedCountsDriveTheMarkers()
{
    click(kText1);
    QCOMPARE(text("Text1"), "0");

    // Typing raises Change at every keystroke: "1", then "13".
    type(QStringLiteral("13"));
    QCOMPARE(text("Text1"), "13");
    QCOMPARE(litMarkers(), QList<int>{4});
    QCOMPARE(text("Text7"), "7");
    QVERIFY(!shown("Text7"));

    // Texts that only look like counts match nothing, and a tap ignores them.
    for (const QString& typed :
         {QStringLiteral("07"), QStringLiteral(" 7"), QStringLiteral("+7"), QStringLiteral("семь")}) {
        type(typed);
        QCOMPARE(text("Text1"), typed);
        QCOMPARE(text("Text7"), "7");
        tap(1);
        QCOMPARE(text("Text1"), typed);
    }

    // A typed count carries on like a tapped one.
    type(QStringLiteral("17"));
    tap(1);
    QCOMPARE(text("Text1"), "18");
    QCOMPARE(litMarkers(), QList<int>{3});
    click(kStop);
    QCOMPARE(text("Text7"), "2");
}

void WindowTest::onlyTheCountTakesTyping_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("after");
    QTest::newRow("Text1, the count") << "Text1" << "5";
    QTest::newRow("Text7, the answer") << "Text7" << "13";
    QTest::newRow("Text6, the base value") << "Text6" << "14";
}

void WindowTest::onlyTheCountTakesTyping()
{
    QFETCH(QString, box);
    QFETCH(QString, after);

    tap(7);
    click(kStop);  // the answer "13" shows
    QLineEdit* edit = textBox(qPrintable(box));
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

    tap(4);
    press("Command2");  // "Стоп"
    QCOMPARE(text("Text7"), "?");
    press("Command4");  // "Правила"
    QVERIFY(shown("Frame1"));
    press("Command5");  // "ОК"
    QVERIFY(!shown("Frame1"));
    press("Command3");  // "Загадать"
    QVERIFY(!shown("Text7"));
}

void WindowTest::controlsOverThePictureAreNoTaps()
{
    click(kText1);
    QCOMPARE(text("Text1"), "0");

    // A lit marker lets the click through to the watch under it.
    tap(1);
    QCOMPARE(litMarkers(), QList<int>{0});
    click(QPoint(124, 60));
    QCOMPARE(text("Text1"), "2");

    // So does every corner of the picture's rectangle.
    for (const QPoint corner : {QPoint(8, 8), QPoint(251, 8), QPoint(8, 135), QPoint(251, 204)})
        click(corner);
    QCOMPARE(text("Text1"), "6");
}

void WindowTest::rulesPanelSwallowsClicksInItsArea()
{
    tap(2);
    click(kRules);
    QVERIFY(shown("Frame1"));

    // The panel covers the dial, Text1 and the inner parts of the buttons.
    for (const QPoint inside : {QPoint(60, 60), QPoint(34, 180), kText1, kDial, QPoint(70, 156), QPoint(200, 188)})
        click(inside);
    QCOMPARE(text("Text1"), "2");
    QVERIFY(!shown("Text7"));

    // Outside it the picture still takes taps: an open panel pauses nothing.
    click(QPoint(12, 60));
    QCOMPARE(text("Text1"), "3");
    QVERIFY(shown("Frame1"));

    // The outer parts of the corner buttons stay clickable.
    click(QPoint(12, 156));
    QCOMPARE(text("Text7"), "?");

    click(kRulesOk);
    QVERIFY(!shown("Frame1"));
    QCOMPARE(text("Text7"), "?");
    QCOMPARE(text("Text1"), "0");
    click(QPoint(240, 150));
    QVERIFY(shown("Frame1"));
}

void WindowTest::exitClosesTheWindow()
{
    QSignalSpy closed(form_.get(), &ui::Form1::closed);
    tap(5);
    click(kRules);
    click(QPoint(200, 188));  // the panel covers this part of "Выход"
    QCOMPARE(closed.count(), 0);
    click(QPoint(240, 196));
    QCOMPARE(closed.count(), 1);
    QVERIFY(!form_->isVisible());
}

void WindowTest::failureIsReportedAndTheGameGoesOn()
{
    tap(6);
    textBox("Text6")->setText(QStringLiteral("abc"));

    // The tap fails inside its count reaction; Text1 keeps the new count.
    expectFailure("Image1_Click", "type mismatch: base value \"abc\" is not a number");
    tap(1);
    QCOMPARE(text("Text1"), "7");
    QCOMPARE(litMarkers(), QList<int>{7});

    expectFailure("Text1_Change", "type mismatch: base value \"abc\" is not a number");
    type(QStringLiteral("9"));

    click(kNewRound);
    tap(15);
    click(kStop);
    QCOMPARE(text("Text7"), "5");
}

QTEST_MAIN(WindowTest)
#include "test_window.moc"
