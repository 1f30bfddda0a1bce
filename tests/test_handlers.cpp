// The handlers against the in-memory window: what each one sets, in which
// order, and what a failure at any of its operations leaves behind.

#include <QTest>

#include <functional>
#include <string>
#include <vector>

#include "recording_forms.h"
#include "trick/handlers.h"

using Lines = std::vector<std::string>;

namespace {

struct Row {
    const char* count;
    int marker;
    const char* answer;  // nullptr: the answer field keeps its text
};

// The marker and answer for every tap count, with the base value "14".
const Row kRows[] = {
    {"1", 0, nullptr},  {"2", 5, nullptr},  {"3", 1, nullptr}, {"4", 6, nullptr}, {"5", 2, nullptr},
    {"6", 7, nullptr},  {"7", 3, "13"},     {"8", 8, "12"},    {"9", 4, "11"},    {"10", 9, "10"},
    {"11", 0, "9"},     {"12", 10, "8"},    {"13", 4, "7"},    {"14", 11, "6"},   {"15", 5, "5"},
    {"16", 0, "4"},     {"17", 7, "3"},     {"18", 3, "2"},    {"19", 10, "1"},
};

Lines markerSettings(int lit)
{
    Lines lines;
    for (int i = 0; i < trick::kMarkerCount; ++i)
        lines.push_back((i == lit ? "show " : "hide ") + trick::describe(marker(i)));
    return lines;
}

Lines hideAllMarkers()
{
    return markerSettings(-1);
}

Lines operator+(Lines a, const Lines& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// A window in the middle of a round: `count` in Text1, as a tap would have
// left it.
RecordingForms at(const std::string& count, bool changeOnSameText = true)
{
    RecordingForms forms = RecordingForms::loaded(changeOnSameText);
    forms.state.texts["Text1"] = count;
    return forms;
}

// The settings that the count reaction makes on a copy of `forms` whose
// Text1 holds `count`.
Lines reactionSettings(RecordingForms forms, const std::string& count)
{
    forms.log.clear();
    forms.state.texts["Text1"] = count;
    trick::text1Change(forms);
    return forms.settings();
}

QString joined(const Lines& lines)
{
    QStringList list;
    for (const std::string& line : lines)
        list << QString::fromStdString(line);
    return list.join(QLatin1String("\n"));
}

}  // namespace

// Compares line by line, printing both lists when they differ.
#define COMPARE_LINES(actual, ...) QCOMPARE(joined(actual), joined(__VA_ARGS__))

class HandlerTest : public QObject {
    Q_OBJECT

private slots:
    void countReactionLightsTheRowsMarker_data();
    void countReactionLightsTheRowsMarker();
    void countReactionIgnoresUnknownCounts_data();
    void countReactionIgnoresUnknownCounts();
    void markerNeverPointsAtTheAnswer();
    void sameCountTwiceChangesNothing();
    void baseValueConversion_data();
    void baseValueConversion();

    void tapAdvancesTheCount_data();
    void tapAdvancesTheCount();
    void tapAtNineteenRevealsXXX_data();
    void tapAtNineteenRevealsXXX();
    void tapIgnoresUnknownCounts_data();
    void tapIgnoresUnknownCounts();
    void tapIgnoresTheElementIndex();

    void loadHidesTheRoundsControls();
    void newRoundResetsEverything();
    void stopShowsTheAnswer_data();
    void stopShowsTheAnswer();
    void rulesAndExit();
    void roundEndsTheSameWhetherOrNotSameTextRaisesChange();

    void failureInCountReactionEndsTheTap();
    void failureAtAnyOperationKeepsWhatWasSetBefore();
};

void HandlerTest::countReactionLightsTheRowsMarker_data()
{
    QTest::addColumn<QString>("count");
    QTest::addColumn<int>("marker");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<int>("reads");
    int reads = 0;
    for (const Row& row : kRows)
        QTest::newRow(row.count) << row.count << row.marker << (row.answer ? row.answer : "before") << ++reads;
}

void HandlerTest::countReactionLightsTheRowsMarker()
{
    QFETCH(QString, count);
    QFETCH(int, marker);
    QFETCH(QString, answer);
    QFETCH(int, reads);

    RecordingForms forms = at(count.toStdString());
    forms.state.texts["Text7"] = "before";
    trick::text1Change(forms);

    COMPARE_LINES(forms.settings(), markerSettings(marker) + Lines{"set Text7 \"" + answer.toStdString() + "\""});
    // The count is read afresh for each key up to the one that matches.
    QCOMPARE(std::count(forms.log.begin(), forms.log.end(), "read Text1"), reads);
    QCOMPARE(forms.log.front(), "read Text6");
    QCOMPARE(forms.log[1], "read Text7");
}

void HandlerTest::countReactionIgnoresUnknownCounts_data()
{
    QTest::addColumn<QString>("count");
    for (const char* count : {"0", "20", "07", " 7", "7 ", "+7", "-1", "", "abc", "٧", "1.0"})
        QTest::newRow(count) << count;
}

void HandlerTest::countReactionIgnoresUnknownCounts()
{
    QFETCH(QString, count);

    RecordingForms forms = at(count.toStdString());
    forms.state.texts["Text7"] = "kept";
    forms.state.visible["Shape1(4)"] = true;
    const RecordingForms::State before = forms.state;
    trick::text1Change(forms);

    // The answer field is written back with its own text; no marker moves.
    COMPARE_LINES(forms.settings(), Lines{"set Text7 \"kept\""});
    QCOMPARE(std::count(forms.log.begin(), forms.log.end(), "read Text1"), 19);
    QVERIFY(forms.state == before);
}

void HandlerTest::markerNeverPointsAtTheAnswer()
{
    for (int taps = 7; taps <= 19; ++taps) {
        RecordingForms forms = at(std::to_string(taps));
        trick::text1Change(forms);
        const std::vector<int> lit = forms.visibleMarkers();
        QCOMPARE(lit.size(), 1u);
        const int hour = 12 - lit.front();
        QCOMPARE(forms.textOf(trick::Text7), std::to_string(20 - taps));
        QVERIFY2(hour != 20 - taps, qPrintable(QStringLiteral("taps %1").arg(taps)));
    }
}

void HandlerTest::sameCountTwiceChangesNothing()
{
    for (const char* count : {"3", "13", "20"}) {
        RecordingForms forms = at(count);
        trick::text1Change(forms);
        const RecordingForms::State once = forms.state;
        trick::text1Change(forms);
        QVERIFY2(forms.state == once, count);
    }
}

void HandlerTest::baseValueConversion_data()
{
    QTest::addColumn<QString>("base");
    QTest::addColumn<QString>("count");
    QTest::addColumn<QString>("answer");  // empty: a type mismatch

    QTest::newRow("letters, count without offset") << "abc" << "3" << "before";
    QTest::newRow("letters") << "abc" << "7" << "";
    QTest::newRow("empty") << "" << "19" << "";
    QTest::newRow("plus sign") << "+14" << "7" << "";
    QTest::newRow("minus sign") << "-14" << "7" << "";
    QTest::newRow("leading space") << " 14" << "7" << "";
    QTest::newRow("trailing space") << "14 " << "7" << "";
    QTest::newRow("fraction") << "14.5" << "7" << "";
    QTest::newRow("past 32 bits") << "2147483648" << "7" << "";
    QTest::newRow("far past 64 bits") << std::string(400, '9').c_str() << "7" << "";
    QTest::newRow("largest 32-bit") << "2147483647" << "7" << "2147483646";
    QTest::newRow("leading zero") << "014" << "7" << "13";
    QTest::newRow("other base") << "20" << "13" << "13";
    QTest::newRow("below the offset") << "5" << "19" << "-8";
}

void HandlerTest::baseValueConversion()
{
    QFETCH(QString, base);
    QFETCH(QString, count);
    QFETCH(QString, answer);

    RecordingForms forms = at(count.toStdString());
    forms.state.texts["Text6"] = base.toStdString();
    forms.state.texts["Text7"] = "before";
    if (answer.isEmpty()) {
        const RecordingForms::State before = forms.state;
        try {
            trick::text1Change(forms);
            QFAIL("the subtraction did not fail");
        } catch (const trick::Failure& failure) {
            QCOMPARE(failure.kind(), trick::Failure::Kind::TypeMismatch);
        }
        // It fails before any marker is touched.
        QVERIFY(forms.settings().empty());
        QVERIFY(forms.state == before);
    } else {
        trick::text1Change(forms);
        QCOMPARE(forms.textOf(trick::Text7), answer.toStdString());
        QCOMPARE(forms.visibleMarkers().size(), 1u);
    }
}

void HandlerTest::tapAdvancesTheCount_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<bool>("changeOnSameText");
    for (int n = 0; n <= 18; ++n) {
        QTest::addRow("%d, Change on same text", n) << n << true;
        QTest::addRow("%d, no Change on same text", n) << n << false;
    }
}

void HandlerTest::tapAdvancesTheCount()
{
    QFETCH(int, n);
    QFETCH(bool, changeOnSameText);

    const std::string now = std::to_string(n);
    const std::string next = std::to_string(n + 1);
    RecordingForms forms = at(now, changeOnSameText);
    trick::image1Click(forms, 0);

    const Lines firstPass = changeOnSameText ? reactionSettings(at(now), now) : Lines{};
    const Lines expected = Lines{"set Text1 \"" + now + "\""} + firstPass + Lines{"set Text1 \"" + next + "\""} +
                           reactionSettings(at(now), next);
    COMPARE_LINES(forms.settings(), expected);
    QCOMPARE(forms.log.front(), "read Text1");
    QCOMPARE(forms.textOf(trick::Text1), next);
    // Nothing is revealed before the twentieth tap.
    QVERIFY(!forms.visibleOf(trick::Text7));
    QVERIFY(!forms.visibleOf(trick::Label1));
    QVERIFY(forms.state.enabled.at("Image1(0)"));
}

void HandlerTest::tapAtNineteenRevealsXXX_data()
{
    QTest::addColumn<bool>("changeOnSameText");
    QTest::newRow("Change on same text") << true;
    QTest::newRow("no Change on same text") << false;
}

void HandlerTest::tapAtNineteenRevealsXXX()
{
    QFETCH(bool, changeOnSameText);

    RecordingForms forms = at("19", changeOnSameText);
    forms.state.texts["Text7"] = "2";
    forms.state.visible["Shape1(3)"] = true;
    trick::image1Click(forms, 0);

    const Lines reveal{"show Label1", "show Text7", "disable Image1(0)", "set Text7 \"XXX\""};
    const Lines firstPass = changeOnSameText ? markerSettings(10) + Lines{"set Text7 \"1\""} : Lines{};
    COMPARE_LINES(forms.settings(), Lines{"set Text1 \"19\""} + firstPass + reveal + Lines{"set Text1 \"20\""} +
                                        Lines{"set Text7 \"XXX\""} + reveal);
    QCOMPARE(forms.textOf(trick::Text1), "20");
    QCOMPARE(forms.textOf(trick::Text7), "XXX");
    QVERIFY(!forms.state.enabled.at("Image1(0)"));
    QCOMPARE(forms.visibleMarkers(), std::vector<int>{changeOnSameText ? 10 : 3});
}

void HandlerTest::tapIgnoresUnknownCounts_data()
{
    QTest::addColumn<QString>("count");
    for (const char* count : {"20", "", "07", " 5", "5 ", "abc", "-1", "+5", "19 "})
        QTest::newRow(count) << count;
}

void HandlerTest::tapIgnoresUnknownCounts()
{
    QFETCH(QString, count);
    RecordingForms forms = at(count.toStdString());
    trick::image1Click(forms, 0);
    COMPARE_LINES(forms.log, Lines{"read Text1"});
}

void HandlerTest::tapIgnoresTheElementIndex()
{
    for (std::int16_t index : {std::int16_t{0}, std::int16_t{1}, std::int16_t{-1}, std::int16_t{32767}}) {
        RecordingForms forms = at("12");
        trick::image1Click(forms, index);
        RecordingForms reference = at("12");
        trick::image1Click(reference, 0);
        QCOMPARE(forms.log, reference.log);
    }
}

void HandlerTest::loadHidesTheRoundsControls()
{
    RecordingForms forms;
    trick::form1Load(forms);
    COMPARE_LINES(forms.settings(), hideAllMarkers() + Lines{"hide Text6", "hide Text7", "hide Label1", "hide Frame1"});
    // The initial texts and the enabled picture are left to the window.
    QCOMPARE(forms.textOf(trick::Text1), "0");
    QCOMPARE(forms.textOf(trick::Text6), "14");
    QCOMPARE(forms.textOf(trick::Text7), "");
    QVERIFY(forms.state.enabled.at("Image1(0)"));
}

void HandlerTest::newRoundResetsEverything()
{
    RecordingForms forms = at("5");
    forms.state.texts["Text6"] = "abc";
    forms.state.texts["Text7"] = "?";
    forms.state.visible["Text7"] = true;
    forms.state.visible["Label1"] = true;
    forms.state.visible["Shape1(2)"] = true;
    forms.state.enabled["Image1(0)"] = false;
    trick::command3Click(forms);

    COMPARE_LINES(forms.settings(), Lines{"enable Image1(0)", "set Text1 \"0\"", "set Text7 \"?\"", "set Text6 \"14\"",
                                          "set Text7 \"\"", "hide Text7", "hide Label1"} +
                                        hideAllMarkers());
    QVERIFY(forms.state == RecordingForms::loaded().state);

    // The next tap starts counting from one.
    trick::image1Click(forms, 0);
    QCOMPARE(forms.textOf(trick::Text1), "1");
}

void HandlerTest::stopShowsTheAnswer_data()
{
    QTest::addColumn<QString>("count");
    QTest::addColumn<QString>("answerBefore");
    QTest::addColumn<QString>("answerAfter");
    for (const char* count : {"1", "2", "3", "4", "5", "6"})
        QTest::newRow(count) << count << "" << "?";
    QTest::newRow("7") << "7" << "13" << "13";
    QTest::newRow("13") << "13" << "7" << "7";
    QTest::newRow("19") << "19" << "1" << "1";
    QTest::newRow("20") << "20" << "XXX" << "XXX";
    QTest::newRow("0 after an early stop") << "0" << "?" << "?";
    QTest::newRow("0 at start") << "0" << "" << "";
    QTest::newRow("typed text") << "06" << "" << "";
}

void HandlerTest::stopShowsTheAnswer()
{
    QFETCH(QString, count);
    QFETCH(QString, answerBefore);
    QFETCH(QString, answerAfter);

    RecordingForms forms = at(count.toStdString());
    forms.state.texts["Text7"] = answerBefore.toStdString();
    trick::command2Click(forms);

    const std::string before = answerBefore.toStdString();
    Lines expected{"disable Image1(0)", "show Text7", "show Label1", "set Text1 \"0\"", "set Text7 \"" + before + "\""};
    if (answerAfter != answerBefore)
        expected.push_back("set Text7 \"?\"");
    COMPARE_LINES(forms.settings(), expected);
    QCOMPARE(forms.log.front(), "read Text1");
    QCOMPARE(forms.textOf(trick::Text7), answerAfter.toStdString());
    QCOMPARE(forms.textOf(trick::Text1), "0");
}

void HandlerTest::rulesAndExit()
{
    RecordingForms forms = at("4");
    trick::command4Click(forms);
    trick::command5Click(forms);
    trick::command1Click(forms);
    COMPARE_LINES(forms.log, (Lines{"show Frame1", "hide Frame1", "unload Form1"}));
    QVERIFY(forms.state.unloaded);
}

void HandlerTest::roundEndsTheSameWhetherOrNotSameTextRaisesChange()
{
    const auto playRound = [](bool changeOnSameText) {
        RecordingForms forms = RecordingForms::loaded(changeOnSameText);
        trick::command3Click(forms);
        for (int i = 0; i < 13; ++i)
            trick::image1Click(forms, 0);
        trick::command2Click(forms);
        trick::command2Click(forms);
        return forms.state;
    };
    const RecordingForms::State raising = playRound(true);
    QCOMPARE(raising.texts.at("Text7"), "7");
    QVERIFY(raising == playRound(false));
}

void HandlerTest::failureInCountReactionEndsTheTap()
{
    RecordingForms forms = at("6");
    forms.state.texts["Text6"] = "abc";
    forms.state.visible["Shape1(7)"] = true;
    QVERIFY_THROWS_EXCEPTION(trick::Failure, trick::image1Click(forms, 0));

    // Text1 holds the new count, set before the reaction failed; nothing
    // after the failure ran.
    QCOMPARE(forms.textOf(trick::Text1), "7");
    QCOMPARE(forms.settings().back(), "set Text1 \"7\"");
    QCOMPARE(forms.visibleMarkers(), std::vector<int>{7});
}

void HandlerTest::failureAtAnyOperationKeepsWhatWasSetBefore()
{
    struct Scenario {
        const char* name;
        std::string count;
        std::function<void(RecordingForms&)> run;
    };
    const std::vector<Scenario> scenarios{
        {"load", "0", trick::form1Load},
        {"count reaction with offset", "7", trick::text1Change},
        {"count reaction without offset", "3", trick::text1Change},
        {"count reaction, no row", "20", trick::text1Change},
        {"tap at 0", "0", [](RecordingForms& f) { trick::image1Click(f, 0); }},
        {"tap at 6", "6", [](RecordingForms& f) { trick::image1Click(f, 0); }},
        {"tap at 19", "19", [](RecordingForms& f) { trick::image1Click(f, 0); }},
        {"new round", "9", trick::command3Click},
        {"stop after 3", "3", trick::command2Click},
        {"stop after 13", "13", trick::command2Click},
        {"rules", "0", trick::command4Click},
        {"rules closed", "0", trick::command5Click},
        {"exit", "0", trick::command1Click},
    };

    for (const Scenario& scenario : scenarios) {
        RecordingForms full = at(scenario.count);
        scenario.run(full);
        QVERIFY2(!full.log.empty(), scenario.name);

        for (std::size_t failAt = 0; failAt < full.log.size(); ++failAt) {
            RecordingForms forms = at(scenario.count);
            forms.failAt = failAt;
            const QByteArray where = QByteArray(scenario.name) + ", failing " + full.log[failAt].c_str();
            try {
                scenario.run(forms);
                QFAIL((where + ": no failure").constData());
            } catch (const trick::Failure&) {
            }
            const Lines before(full.log.begin(), full.log.begin() + static_cast<std::ptrdiff_t>(failAt));
            QVERIFY2(forms.log == before, where);
            QVERIFY2(forms.state == full.stateBefore[failAt], where);
        }
    }
}

QTEST_APPLESS_MAIN(HandlerTest)
#include "test_handlers.moc"
