#include "common/gear_lines.h"

#include "common/number_text.h"

namespace kelvaro {

namespace {

// A count that comes out below zero (tooth counts of four digits, fractional
// counts) writes no blanks instead of failing.
void appendBlanks(std::string& line, long count) {
    if (count > 0) line.append(static_cast<std::size_t>(count), ' ');
}

long length(const std::string& text) {
    return static_cast<long>(text.size());
}

void appendListLine(std::string& line, const GearSet& set) {
    for (double teeth : {set.a, set.b, set.c}) {
        const std::string text = numberText(teeth);
        line += text;
        appendBlanks(line, 5 - 2 * (length(text) - 2));
    }
    const std::string d = numberText(set.d);
    line += d;
    appendBlanks(line, 7 - 2 * (length(d) - 2));
    line += errorText(set.error);
}

void appendPrintLine(std::string& line, const GearSet& set) {
    for (double teeth : {set.a, set.b, set.c, set.d}) {
        const std::string text = numberText(teeth);
        line += text;
        appendBlanks(line, 7 - length(text));
    }
    line += errorText(set.error);
}

constexpr char kCarriageReturn = '\r';
constexpr const char* kPrintIndent = "     ";

} // namespace

CalculationOutcome missingInputOutcome() {
    CalculationOutcome outcome;
    outcome.items.emplace_back(kMissingInputItem);
    return outcome;
}

std::string formatListLine(const GearSet& set) {
    std::string line;
    appendListLine(line, set);
    return line;
}

std::string formatPrintLine(const GearSet& set) {
    std::string line;
    appendPrintLine(line, set);
    return line;
}

CalculationOutcome resultsOutcome(const GearSearchResult& result) {
    CalculationOutcome outcome;
    outcome.replaceResults = true;
    outcome.items.reserve(result.sets.size() + 2);
    // About 50 characters a printout line; one allocation for the whole text.
    outcome.printText.reserve((result.sets.size() + 3) * 56);

    auto addSet = [&outcome](const GearSet& set) {
        outcome.items.push_back(formatListLine(set));
        outcome.printText += kCarriageReturn;
        outcome.printText += kPrintIndent;
        appendPrintLine(outcome.printText, set);
    };
    for (const GearSet& set : result.sets)
        addSet(set);
    outcome.items.emplace_back(kBestSetHeading);
    outcome.printText += kCarriageReturn;
    outcome.printText += kBestSetHeading;
    addSet(result.best);
    return outcome;
}

} // namespace kelvaro
