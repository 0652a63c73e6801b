// Fuzz target: the ordinary calculation behind kelvaro-calc on arbitrary
// field texts.
//
// The input holds up to four field texts separated by "|" (ratio, tolerance,
// smallest and largest tooth count; missing ones are empty); a fifth part,
// whatever it holds, asks kelvaro-calc for the printout instead of the list.
// The search is cubic in the width of the tooth range, so an input whose
// search would span more than kMaxSpan counts is left out (and kept out of
// the corpus).
//
// Properties:
// - calculateOrdinary and runCalcCommand never throw;
// - an empty field, or numbers the search cannot use (not finite, a divisor
//   of zero, a range that holds 0, a count too large for the loops to
//   advance by 1), give exactly the item "请输入数值" and change nothing else;
// - otherwise the results replace the list: the items end with the heading
//   "     误差最小的挂轮组及误差为" and the best line; printText holds one
//   line per item, in order, each set line after five blanks; a list item and
//   its print line hold the same texts apart from blanks; a set line holds
//   only number characters; the best line repeats a set line or is the
//   starting set (0, 0, 0, 0, tolerance);
// - kelvaro-calc prints exactly the items, or the printed document's
//   lines (data line, header, printout), a line each.

#include "fuzz_check.h"
#include "gears/calculation_outcome.h"
#include "gears/gear_lines.h"
#include "gears/gear_search.h"
#include "gears/numeric_value.h"
#include "ordinary/ordinary_calculation.h"
#include "shell/calc_command.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

using kelvaro::CalculationOutcome;

constexpr double kMaxSpan = 16;
// Beyond 2^53 a count plus 1 is the count again.
constexpr double kMaxCount = 9007199254740992.0;

struct Input {
    std::vector<std::string> fields; // always four
    bool printout = false;
};

Input split(std::string_view bytes) {
    Input input;
    std::size_t start = 0;
    for (int part = 0; part < 5 && start <= bytes.size(); ++part) {
        const std::size_t end = std::min(bytes.find('|', start), bytes.size());
        if (part < 4)
            input.fields.emplace_back(bytes.substr(start, end - start));
        else
            input.printout = true;
        start = end + 1;
    }
    input.fields.resize(4);
    return input;
}

// Whether the search can run on these numbers, decided apart from
// searchIsDefined.
bool usable(double ratio, double tolerance, double smallest, double largest) {
    for (double x : {ratio, tolerance, smallest, largest})
        if (std::isnan(x) || std::isinf(x)) return false;
    if (ratio - tolerance == 0 || ratio + tolerance == 0) return false;
    if ((smallest <= 0 && largest >= 0) || (largest <= 0 && smallest >= 0)) return false;
    return std::abs(smallest) < kMaxCount && std::abs(largest) < kMaxCount;
}

std::string withoutBlanks(std::string_view text) {
    std::string packed;
    for (char c : text)
        if (c != ' ') packed += c;
    return packed;
}

std::vector<std::string_view> printLines(std::string_view printText) {
    std::vector<std::string_view> lines;
    FUZZ_CHECK(!printText.empty() && printText.front() == '\r', printText);
    std::size_t start = 1;
    while (true) {
        const std::size_t end = printText.find('\r', start);
        lines.push_back(printText.substr(start, end - start));
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    return lines;
}

bool isSetLine(std::string_view line) {
    return !line.empty() && line.find_first_not_of(" 0123456789.E+-") == std::string_view::npos;
}

void checkMissingInput(const CalculationOutcome& outcome, std::string_view detail) {
    FUZZ_CHECK(!outcome.replaceResults, detail);
    FUZZ_CHECK(listItems(outcome) == std::vector<std::string>{kelvaro::kMissingInputItem}, detail);
    FUZZ_CHECK(printText(outcome).empty(), detail);
    FUZZ_CHECK(outcome.message.empty(), detail);
}

void checkResults(const CalculationOutcome& outcome, double tolerance, std::string_view detail) {
    FUZZ_CHECK(outcome.replaceResults, detail);
    FUZZ_CHECK(outcome.message.empty(), detail);
    const std::vector<std::string> items = listItems(outcome);
    FUZZ_CHECK(items.size() >= 2, detail);
    const std::size_t sets = items.size() - 2;
    FUZZ_CHECK(items[sets] == kelvaro::kBestSetHeading, detail);

    const std::string text = printText(outcome);
    const std::vector<std::string_view> lines = printLines(text);
    FUZZ_CHECK(lines.size() == items.size(), detail);
    FUZZ_CHECK(lines[sets] == kelvaro::kBestSetHeading, detail);
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i == sets) continue;
        FUZZ_CHECK(lines[i].substr(0, 5) == "     ", lines[i]);
        FUZZ_CHECK(withoutBlanks(lines[i]) == withoutBlanks(items[i]), items[i]);
        if (i < sets) FUZZ_CHECK(isSetLine(items[i]), items[i]);
    }

    const std::string& best = items.back();
    const auto setsEnd = items.begin() + static_cast<std::ptrdiff_t>(sets);
    const bool bestIsListed = std::find(items.begin(), setsEnd, best) != setsEnd;
    FUZZ_CHECK(bestIsListed || best == kelvaro::formatListLine({0, 0, 0, 0, tolerance}), best);
}

std::string joinedLines(const std::vector<std::string>& items) {
    std::string text;
    for (const std::string& item : items)
        text += item + '\n';
    return text;
}

void checkCalcCommand(const CalculationOutcome& outcome, const Input& input,
                      std::string_view detail) {
    // Option words are taken as options, not as field texts.
    for (const std::string& field : input.fields)
        if (field == "--help" || field == "--printout") return;
    if (input.fields[0] == "--") return;

    std::vector<std::string> args{"ordinary"};
    args.insert(args.end(), input.fields.begin(), input.fields.end());
    if (input.printout) args.insert(args.begin(), "--printout");
    std::ostringstream out, err;
    FUZZ_CHECK(kelvaro::runCalcCommand(args, out, err) == 0, detail);
    FUZZ_CHECK(err.str().empty(), detail);

    std::string expected;
    if (input.printout) {
        // The printed document: the data line and the column header first.
        expected = "      i=" + input.fields[0] + "\r      主动    主动    被动    被动\r" +
                   printText(outcome) + '\n';
        std::replace(expected.begin(), expected.end(), '\r', '\n');
    } else {
        expected = joinedLines(listItems(outcome));
    }
    FUZZ_CHECK(out.str() == expected, detail);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const Input input = split(bytes);
    const bool anyEmpty = std::any_of(input.fields.begin(), input.fields.end(),
                                      [](const std::string& field) { return field.empty(); });
    double numbers[4];
    for (int i = 0; i < 4; ++i)
        numbers[i] = kelvaro::numericValue(input.fields[i]);
    const bool searches = !anyEmpty && usable(numbers[0], numbers[1], numbers[2], numbers[3]);
    if (searches && std::abs(numbers[3] - numbers[2]) > kMaxSpan) return -1;

    CalculationOutcome outcome;
    try {
        outcome = kelvaro::calculateOrdinary(
            {input.fields[0], input.fields[1], input.fields[2], input.fields[3]});
    } catch (...) {
        FUZZ_CHECK(false, bytes);
    }

    // A tolerance below zero is refused with a message and nothing else.
    if (!anyEmpty && numbers[1] < 0) {
        FUZZ_CHECK(outcome.message == "允差不能为负数" && !outcome.replaceResults &&
                       listItems(outcome).empty(),
                   bytes);
        return 0;
    }
    if (searches)
        checkResults(outcome, numbers[1], bytes);
    else
        checkMissingInput(outcome, bytes);

    try {
        checkCalcCommand(outcome, input, bytes);
    } catch (...) {
        FUZZ_CHECK(false, bytes);
    }
    return 0;
}
