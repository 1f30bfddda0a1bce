// A long random session on the real window: clicks anywhere, the buttons,
// typed text. Afterwards the window must be in one of the round's phases,
// and the process must not have kept growing.

#include <QLineEdit>
#include <QTest>

#include <fstream>
#include <random>
#include <unistd.h>

#include "ui/form1.h"
#include "ui/forms_runtime.h"

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;  // its quarantine holds freed memory back
#else
constexpr bool kAddressSanitizer = false;
#endif

long residentKiB()
{
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

}  // namespace

class SoakTest : public QObject {
    Q_OBJECT

private slots:
    void hundredThousandRandomEvents();
};

void SoakTest::hundredThousandRandomEvents()
{
    ui::Form1 form;
    ui::FormsRuntime runtime(form);
    runtime.load();
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QWindow* window = form.windowHandle();
    const auto control = [&form](const char* name) { return form.control(QString::fromLatin1(name)); };
    auto* count = qobject_cast<QLineEdit*>(control("Text1"));

    const QRect exitButton = control("Command1")->geometry();  // the session goes on
    const QPoint buttons[] = {{40, 156}, {40, 188}, {216, 156}, {120, 164}};  // Стоп, Загадать, Правила, ОК
    const QString typed[] = {"0", "7", "13", "19", "20", "07", " 5", "+3", "abc", "", "семь", "1234567890123"};

    std::mt19937 random(20261208);
    const auto below = [&random](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };

    bool typedSinceReset = false;  // Text1 may hold whatever was typed
    long warmedUp = 0;
    constexpr int kEvents = 100000;
    for (int event = 0; event < kEvents; ++event) {
        const int kind = below(20);
        if (kind < 14) {
            QPoint point(below(form.width()), below(form.height()));
            if (exitButton.contains(point))
                continue;
            QTest::mouseClick(window, Qt::LeftButton, {}, point);
        } else if (kind < 19) {
            QTest::mouseClick(window, Qt::LeftButton, {}, buttons[below(4)]);
        } else {
            count->selectAll();
            for (const QChar character : typed[below(std::size(typed))])
                QTest::sendKeyEvent(QTest::Click, count, Qt::Key_unknown, QString(character), Qt::NoModifier);
            typedSinceReset = true;
        }
        // Only "Стоп" and "Загадать" put "0" back; from there the count is
        // the handlers' own again.
        if (count->text() == QLatin1String("0"))
            typedSinceReset = false;
        if (event % 16 == 0)
            QCoreApplication::processEvents();
        if (event == kEvents / 10)
            warmedUp = residentKiB();
    }
    QCoreApplication::processEvents();

    // The phase, read off the controls.
    const bool pictureEnabled = control("Image1_0")->isEnabled();
    const bool answerShown = !control("Text7")->isHidden();
    const QString answer = qobject_cast<QLineEdit*>(control("Text7"))->text();
    QCOMPARE(!control("Label1")->isHidden(), answerShown);
    QCOMPARE(answerShown, !pictureEnabled);
    int litMarkers = 0;
    for (int i = 0; i < 12; ++i)
        litMarkers += control(qPrintable(QStringLiteral("Shape1_%1").arg(i)))->isHidden() ? 0 : 1;
    QVERIFY(litMarkers <= 1);
    QVERIFY2(answer.isEmpty() || answer == "?" || answer == "XXX" || (answer.toInt() >= 1 && answer.toInt() <= 13),
             qPrintable(answer));

    const QString taps = count->text();
    if (pictureEnabled) {
        // Opened or counting.
        bool isCount = false;
        const int n = taps.toInt(&isCount);
        QVERIFY2(typedSinceReset || (isCount && n >= 0 && n <= 19 && QString::number(n) == taps), qPrintable(taps));
    } else if (taps == "20") {
        QCOMPARE(answer, "XXX");  // revealed by a twentieth tap
    } else {
        QVERIFY2(typedSinceReset || taps == "0", qPrintable(taps));  // revealed by "Стоп"
    }

    if (!kAddressSanitizer) {
        const long grown = residentKiB() - warmedUp;
        qInfo("resident memory grew by %ld KiB after warm-up", grown);
        QVERIFY2(grown < 2048, qPrintable(QStringLiteral("grew by %1 KiB").arg(grown)));
    }
}

QTEST_MAIN(SoakTest)
#include "test_soak.moc"
