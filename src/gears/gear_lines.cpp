#include "gears/gear_lines.h"

#include "gears/number_text.h"

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

// The texts of a set's five numbers, shared by its list and printout line.
struct SetTexts {
    explicit SetTexts(const GearSet& set)
        : teeth{numberText(set.a), numberText(set.b), numberText(set.c), numberText(set.d)},
          error(errorText(set.error)) {}
    std::string teeth[4];
    std::string error;
};

void appendListLine(std::string& line, const SetTexts& texts) {
    for (int i = 0; i < 3; ++i) {
        line += texts.teeth[i];
        appendBlanks(line, 5 - 2 * (length(texts.teeth[i]) - 2));
    }
    line += texts.teeth[3];
    appendBlanks(line, 7 - 2 * (length(texts.teeth[3]) - 2));
    line += texts.error;
}

void appendPrintLine(std::string& line, const SetTexts& texts) {
    for (const std::string& teeth : texts.teeth) {
        line += teeth;
        appendBlanks(line, 7 - length(teeth));
    }
    line += texts.error;
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
    appendListLine(line, SetTexts(set));
    return line;
}

std::string formatPrintLine(const GearSet& set) {
    std::string line;
    appendPrintLine(line, SetTexts(set));
    return line;
}

std::string tooManySetsMessage(std::size_t setLimit) {
    return "结果超过" + std::to_string(setLimit) + "组，请缩小齿数范围或减小允差";
}

CalculationOutcome resultsOutcome(GearSearchResult result) {
    CalculationOutcome outcome;
    if (result.end == SearchEnd::Cancelled) return outcome;
    if (result.end == SearchEnd::TooManySets) {
        // The search keeps exactly as many sets as its bound allows.
        outcome.message = tooManySetsMessage(result.sets.size());
        return outcome;
    }
    outcome.replaceResults = true;
    outcome.results = std::move(result);
    return outcome;
}

std::size_t resultLineCount(const GearSearchResult& result) {
    return result.sets.size() + 2;
}

std::string resultLine(const GearSearchResult& result, std::size_t row) {
    if (row < result.sets.size()) return formatListLine(result.sets[row]);
    if (row == result.sets.size()) return kBestSetHeading;
    return formatListLine(result.best);
}

std::string printText(const GearSearchResult& result) {
    std::string text;
    // About 50 characters a printout line; one allocation for the whole text.
    text.reserve((result.sets.size() + 3) * 56);
    auto addSet = [&text](const GearSet& set) {
        text += kCarriageReturn;
        text += kPrintIndent;
        appendPrintLine(text, SetTexts(set));
    };
    for (const GearSet& set : result.sets)
        addSet(set);
    text += kCarriageReturn;
    text += kBestSetHeading;
    addSet(result.best);
    return text;
}

std::vector<std::string> listItems(const CalculationOutcome& outcome) {
    std::vector<std::string> items;
    if (outcome.results) {
        const std::size_t count = resultLineCount(*outcome.results);
        items.reserve(count + outcome.items.size());
        for (std::size_t row = 0; row < count; ++row)
            items.push_back(resultLine(*outcome.results, row));
    }
    items.insert(items.end(), outcome.items.begin(), outcome.items.end());
    return items;
}

std::string printText(const CalculationOutcome& outcome) {
    return outcome.results ? printText(*outcome.results) : std::string();
}

} // namespace kelvaro
