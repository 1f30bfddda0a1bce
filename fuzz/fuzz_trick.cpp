// Drives the trick's handlers with arbitrary event sequences against the
// in-memory window, and checks after every event what must always hold.
//
// An input is a list of events, one per line:
//   t        a tap on the picture        1 to 5   Command1 ("Выход") to Command5 ("ОК")
//   x<text>  <text> typed into Text1     b<text>  <text> put into Text6, the base value
//   l        Load of the window          f<n>     the next event's operation n fails

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "recording_forms.h"
#include "trick/handlers.h"

namespace {

[[noreturn]] void broken(const char* invariant, const RecordingForms& forms)
{
    std::fprintf(stderr, "invariant broken: %s\n", invariant);
    for (const std::string& entry : forms.log)
        std::fprintf(stderr, "  %s\n", entry.c_str());
    std::abort();
}

bool isDigits(std::string_view text)
{
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// The value of a base text that the handlers must accept: digits only,
// within 32 bits. Leading zeros are allowed.
std::optional<long long> usableBase(std::string_view text)
{
    if (!isDigits(text))
        return std::nullopt;
    const std::size_t first = std::min(text.find_first_not_of('0'), text.size() - 1);
    text.remove_prefix(first);
    if (text.size() > 10)
        return std::nullopt;
    const long long value = std::stoll(std::string(text));
    return value <= 2147483647 ? std::optional(value) : std::nullopt;
}

// "-" followed by digits, or digits, with no leading zero.
bool isPlainInteger(std::string_view text)
{
    if (!text.empty() && text.front() == '-')
        text.remove_prefix(1);
    return isDigits(text) && (text.size() == 1 || text.front() != '0');
}

// Runs one event. Returns false if it failed.
bool run(RecordingForms& forms, char event, const std::string& payload)
{
    try {
        switch (event) {
        case 't': trick::image1Click(forms, static_cast<std::int16_t>(payload.size())); break;
        case '1': trick::command1Click(forms); break;
        case '2': trick::command2Click(forms); break;
        case '3': trick::command3Click(forms); break;
        case '4': trick::command4Click(forms); break;
        case '5': trick::command5Click(forms); break;
        case 'x': forms.setText(trick::Text1, payload); break;  // as typing does: Change follows
        case 'l': trick::form1Load(forms); break;
        default: break;
        }
        return true;
    } catch (const trick::Failure&) {
        return false;
    }
}

void checkAnswer(const RecordingForms& forms, const std::string& answerBefore)
{
    const std::string& answer = forms.textOf(trick::Text7);
    if (answer == answerBefore || answer.empty() || answer == "?" || answer == "XXX")
        return;
    // A new number is the base value less the offset of the count that
    // produced it, count - 6, written in plain decimal digits.
    if (!isPlainInteger(answer))
        broken("the answer field holds something other than a plain number", forms);
    const std::string& count = forms.textOf(trick::Text1);
    const std::optional<long long> base = usableBase(forms.textOf(trick::Text6));
    if (!isDigits(count) || count.size() > 2 || !base)
        broken("an answer was written without a count and a base value", forms);
    const long long taps = std::stoll(count);
    if (taps < 7 || taps > 19 || std::to_string(*base - (taps - 6)) != answer)
        broken("the answer is not the base value less the count's offset", forms);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    RecordingForms forms = RecordingForms::loaded();
    forms.recording = false;
    std::size_t failAt = 0;
    bool failNext = false;

    for (std::size_t start = 0; start < input.size();) {
        std::size_t end = input.find('\n', start);
        if (end == std::string_view::npos)
            end = input.size();
        const std::string_view line = input.substr(start, end - start);
        start = end + 1;
        if (line.empty())
            continue;
        const char event = line.front();
        const std::string payload(line.substr(1));

        if (event == 'b') {
            forms.state.texts["Text6"] = payload;
            continue;
        }
        if (event == 'f') {
            failNext = true;
            failAt = payload.size() > 3 ? 0 : std::strtoul(payload.c_str(), nullptr, 10) % 64;
            continue;
        }

        const std::string countBefore = forms.textOf(trick::Text1);
        const std::string answerBefore = forms.textOf(trick::Text7);

        if (failNext) {
            // The same event without the failure, for comparison; both
            // record what they do.
            forms.recording = true;
            forms.operations = 0;
            forms.log.clear();
            forms.stateBefore.clear();
            RecordingForms whole = forms;
            const bool wholeRan = run(whole, event, payload);
            forms.failAt = failAt;
            const bool ran = run(forms, event, payload);
            forms.failAt.reset();
            forms.recording = false;
            failNext = false;
            if (failAt < whole.log.size()) {
                if (ran)
                    broken("an injected failure did not end the handler", forms);
                if (forms.log.size() != failAt ||
                    !std::equal(forms.log.begin(), forms.log.end(), whole.log.begin()))
                    broken("a failure did not keep exactly the operations before it", forms);
                if (!(forms.state == whole.stateBefore[failAt]))
                    broken("a failure changed the window beyond the operations before it", forms);
                continue;
            }
            if (ran != wholeRan || !(forms.state == whole.state))
                broken("an injection past the end changed the outcome", forms);
            if (!ran)
                continue;
        } else if (!run(forms, event, payload)) {
            // Only a base value that is not a number may fail, and only
            // once a count with an offset is set.
            if (usableBase(forms.textOf(trick::Text6)))
                broken("a handler failed with a usable base value", forms);
            continue;
        }

        if (event == 't' && isDigits(countBefore) && countBefore.size() <= 2 && std::stoi(countBefore) <= 18 &&
            (countBefore.size() == 1 || countBefore.front() != '0')) {
            if (forms.visibleMarkers().size() != 1)
                broken("a tap did not leave exactly one marker lit", forms);
            if (forms.textOf(trick::Text1) != std::to_string(std::stoi(countBefore) + 1))
                broken("a tap did not advance the count by one", forms);
        }
        checkAnswer(forms, answerBefore);
    }
    return 0;
}
