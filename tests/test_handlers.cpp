// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

// The handlers against the in-memory window, operation by operation. In
// every scenario the handler's log of window operations, its end state and
// whether it failed must be what the independent model of the window says,
// whether or not a same-text setting raises Change, and again with a
// failure injected at each of its operations, where exactly the operations
// before it must have run. Then the properties that hold whatever the
// model says.

#include <QTest>

#include <algorithm>
#include <string>
#include <vector>

#include "layout/window.h"
#include "recording_forms.h"
#include "trick/handlers.h"
#include "window_model.h"

namespace {

using Handler = WindowEvent;

// A window in the middle of a round, and the event it gets.
struct Scenario {
    std::string name;
    Handler handler;
    std::string count;                    // Text1
    std::string answer;                   // Text7
    std::string base = "14";              // Text6
    std::vector<trick::Control> shown{};  // shown on top of the loaded window
    bool picture = true;                  // enabled
};

std::vector<Scenario> scenarios()
{
    std::vector<Scenario> all;
    // The count reaction for every count it knows, and for texts that only
    // look like counts; the marker it lit before stays lit for those.
    for (int count = 1; count <= 19; ++count)
        all.push_back({"count " + std::to_string(count), Handler::Change, std::to_string(count), "before"});
    for (const char* count : {"0", "20", "07", " 7", "7 ", "+7", "-1", "", "abc", "٧", "1.0"})
        all.push_back(
            {"unknown count \"" + std::string(count) + "\"", Handler::Change, count, "kept", "14", {marker(4)}});
    // Base values that convert and ones that are no number, with and
    // without an offset to subtract.
    const std::pair<const char*, const char*> bases[] = {
        {"abc", "3"},  {"abc", "7"},        {"", "19"},          {"+14", "7"}, {"-14", "7"}, {" 14", "7"}, {"14 ", "7"},
        {"14.5", "7"}, {"2147483648", "7"}, {"2147483647", "7"}, {"014", "7"}, {"20", "13"}, {"5", "19"},
    };
    for (const auto& [base, count] : bases)
        all.push_back({"base \"" + std::string(base) + "\", count " + count, Handler::Change, count, "before", base});
    all.push_back({"base far past 64 bits", Handler::Change, "7", "before", std::string(400, '9')});
    // A tap at every count, at 19 over an earlier marker, and at texts a tap ignores.
    for (int count = 0; count <= 18; ++count)
        all.push_back({"tap at " + std::to_string(count), Handler::Tap, std::to_string(count), ""});
    all.push_back({"tap at 19", Handler::Tap, "19", "2", "14", {marker(3)}});
    for (const char* count : {"20", "", "07", " 5", "5 ", "abc", "-1", "+5", "19 "})
        all.push_back({"tap at \"" + std::string(count) + "\"", Handler::Tap, count, ""});
    all.push_back({"tap at 6, base letters", Handler::Tap, "6", "", "abc", {marker(7)}});
    // Round control.
    all.push_back({"load", Handler::Load, "0", ""});
    all.push_back({"new round", Handler::NewRound, "5", "?", "abc", {trick::Text7, trick::Label1, marker(2)}, false});
    for (const char* count : {"1", "2", "3", "4", "5", "6"})
        all.push_back({"stop after " + std::string(count), Handler::Stop, count, ""});
    all.push_back({"stop after 7", Handler::Stop, "7", "13"});
    all.push_back({"stop after 13", Handler::Stop, "13", "7"});
    all.push_back({"stop after 19", Handler::Stop, "19", "1"});
    all.push_back({"stop after 20", Handler::Stop, "20", "XXX"});
    all.push_back({"stop after an early stop", Handler::Stop, "0", "?"});
    all.push_back({"stop at start", Handler::Stop, "0", ""});
    all.push_back({"stop at typed text", Handler::Stop, "06", ""});
    all.push_back({"rules", Handler::Rules, "4", ""});
    all.push_back({"rules closed", Handler::RulesClosed, "4", "", "14", {trick::Frame1}});
    all.push_back({"exit", Handler::Exit, "4", ""});
    return all;
}

RecordingForms windowFor(const Scenario& scenario, bool changeOnSameText)
{
    // Load itself meets the window as it is created.
    RecordingForms forms = scenario.handler == Handler::Load ? RecordingForms() : RecordingForms::loaded();
    forms.changeOnSameText = changeOnSameText;
    forms.state.texts = {
        {trick::Text1, scenario.count}, {trick::Text6, scenario.base}, {trick::Text7, scenario.answer}};
    for (const trick::Control control : scenario.shown)
        forms.state.visible.at(control) = true;
    forms.state.pictureEnabled = scenario.picture;
    return forms;
}

QString joined(const std::vector<std::string>& lines)
{
    QStringList list;
    for (const std::string& line : lines)
        list << QString::fromStdString(line);
    return list.join(QLatin1String("\n"));
}

// A window in the middle of a round: `count` in Text1.
RecordingForms at(const std::string& count)
{
    RecordingForms forms = RecordingForms::loaded();
    forms.state.texts.at(trick::Text1) = count;
    return forms;
}

}  // namespace

class HandlerTest : public QObject {
    Q_OBJECT

private slots:
    void everyHandlerDoesWhatTheModelDoes_data();
    void everyHandlerDoesWhatTheModelDoes();

    void markerNeverPointsAtTheAnswer();
    void sameCountTwiceChangesNothing();
    void tapIgnoresTheElementIndex();
    void newRoundLeavesTheWindowAsLoaded();
    void roundEndsTheSameWhetherOrNotSameTextRaisesChange();
};

void HandlerTest::everyHandlerDoesWhatTheModelDoes_data()
{
    QTest::addColumn<int>("scenario");
    QTest::addColumn<bool>("changeOnSameText");
    const std::vector<Scenario> all = scenarios();
    for (std::size_t i = 0; i < all.size(); ++i) {
        QTest::addRow("%s, Change on same text", all[i].name.c_str()) << int(i) << true;
        QTest::addRow("%s, no Change on same text", all[i].name.c_str()) << int(i) << false;
    }
}

void HandlerTest::everyHandlerDoesWhatTheModelDoes()
{
    QFETCH(int, scenario);
    QFETCH(bool, changeOnSameText);
    const Scenario s = scenarios().at(static_cast<std::size_t>(scenario));

    std::size_t operations = 0;
    for (std::size_t failAt = 0; failAt <= operations; ++failAt) {
        RecordingForms forms = windowFor(s, changeOnSameText);
        WindowModel model;
        model.state = forms.state;
        model.changeOnSameText = changeOnSameText;
        // The first run goes whole and tells how many operations there are;
        // then each of them fails in turn.
        if (failAt > 0) {
            forms.failAt = failAt - 1;
            model.failAt = failAt - 1;
        }
        const bool ran = forms.deliver(s.handler);
        QCOMPARE(ran, model.run(s.handler));
        QCOMPARE(joined(forms.log), joined(model.log));
        QVERIFY2(forms.state == model.state, forms.state.differences(model.state).c_str());
        if (failAt == 0)
            operations = forms.log.size();
        else
            QVERIFY(!ran);
    }
}

void HandlerTest::markerNeverPointsAtTheAnswer()
{
    for (int taps = 7; taps <= 19; ++taps) {
        RecordingForms forms = at(std::to_string(taps));
        trick::text1Change(forms);
        const std::vector<int> lit = forms.visibleMarkers();
        QCOMPARE(lit.size(), 1u);
        const int hour = layout::hourOf(lit.front());
        QCOMPARE(forms.state.text(trick::Text7), std::to_string(20 - taps));
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

void HandlerTest::newRoundLeavesTheWindowAsLoaded()
{
    // From the middle of a round whose base value was spoiled, revealed,
    // with a marker lit and the picture disabled.
    const std::vector<Scenario> all = scenarios();
    RecordingForms forms = windowFor(
        *std::find_if(all.begin(), all.end(), [](const Scenario& s) { return s.handler == Handler::NewRound; }), true);
    trick::command3Click(forms);
    QVERIFY(forms.state == RecordingForms::loaded().state);
    // The next tap starts counting from one.
    trick::image1Click(forms, 0);
    QCOMPARE(forms.state.text(trick::Text1), "1");
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
    QCOMPARE(raising.text(trick::Text7), "7");
    QVERIFY(raising == playRound(false));
}

QTEST_APPLESS_MAIN(HandlerTest)
#include "test_handlers.moc"
