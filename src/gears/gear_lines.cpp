#include "gears/gear_lines.h"

#include "gears/number_text.h"

namespace kelvaro {

namespace {

// A count that comes out below zero (tooth counts of four digits, fractional
// counts) writes no blanks instead of failing.
void appendBlanks(std::string& line, long count) {
    if (count > 0) line.append(static_cast<std::size_t>(count), ' ');
}

// Appends the text of a tooth count and gives its length.
long appendTeeth(std::string& line, double teeth) {
    const std::size_t before = line.size();
    appendNumberText(line, teeth);
    return static_cast<long>(line.size() - before);
}

void appendPrintLine(std::string& out, const GearSet& set) {
    for (double teeth : {set.a, set.b, set.c, set.d})
        appendBlanks(out, 7 - appendTeeth(out, teeth));
    appendErrorText(out, set.error);
}

constexpr char kCarriageReturn = '\r';
constexpr const char* kPrintIndent = "     ";

} // namespace

CalculationOutcome missingInputOutcome() {
    CalculationOutcome outcome;
    outcome.items.emplace_back(kMissingInputItem);
    return outcome;
}

void appendListLine(std::string& out, const GearSet& set) {
    const double teeth[] = {set.a, set.b, set.c, set.d};
    for (int i = 0; i < 4; ++i)
        appendBlanks(out, (i < 3 ? 5 : 7) - 2 * (appendTeeth(out, teeth[i]) - 2));
    appendErrorText(out, set.error);
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

void appendResultLine(std::string& out, const GearSearchResult& result, std::size_t row) {
    if (row < result.sets.size())
        appendListLine(out, result.sets[row]);
    else if (row == result.sets.size())
        out += kBestSetHeading;
    else
        appendListLine(out, result.best);
}

std::string resultLine(const GearSearchResult& result, std::size_t row) {
    std::string line;
    appendResultLine(line, result, row);
    return line;
}

std::string printText(const GearSearchResult& result) {
    std::string text;
    // About 50 characters a printout line; one allocation for the whole text.
    text.reserve((result.sets.size() + 3) * 56);
    writePrintText(result, [&text](std::string_view piece) { text += piece; });
    return text;
}

void writePrintText(const GearSearchResult& result, const TextSink& sink) {
    ChunkedText out(sink);
    auto addSet = [&out](const GearSet& set) {
        out.text += kCarriageReturn;
        out.text += kPrintIndent;
        appendPrintLine(out.text, set);
        out.next();
    };
    for (const GearSet& set : result.sets)
        addSet(set);
    out.text += kCarriageReturn;
    out.text += kBestSetHeading;
    addSet(result.best);
    out.finish();
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
