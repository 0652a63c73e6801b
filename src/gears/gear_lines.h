#pragma once

#include "gears/calculation_outcome.h"
#include "gears/gear_set.h"
#include "gears/text_sink.h"

#include <cstddef>
#include <string>
#include <vector>

namespace kelvaro {

// A set as an item of a result list: each digit of a tooth count beyond the
// first costs two of the blanks that follow it.
std::string formatListLine(const GearSet& set);
// The same line appended to `out`: the one formatting of a list line, for
// writers that gather many lines in one buffer.
void appendListLine(std::string& out, const GearSet& set);

// A set as a printout line: each tooth count fills a column of 7 characters.
std::string formatPrintLine(const GearSet& set);

// The outcome of a search: a completed one replaces the list with its sets
// (resultLine gives their lines); one stopped at its bound gives only the
// message of tooManySetsMessage, a cancelled one nothing at all: both leave
// the window as it was.
CalculationOutcome resultsOutcome(GearSearchResult result);

// The list lines of a completed search: one per listed set, then the
// heading, then the best set.
std::size_t resultLineCount(const GearSearchResult& result);
std::string resultLine(const GearSearchResult& result, std::size_t row);
void appendResultLine(std::string& out, const GearSearchResult& result, std::size_t row);

// printText of a completed search: for each listed set a carriage return,
// five blanks and its printout line, then a carriage return and the
// heading, then the best set likewise.
std::string printText(const GearSearchResult& result);
// The same text handed to `sink` in pieces.
void writePrintText(const GearSearchResult& result, const TextSink& sink);

// What a window shows after applying the outcome to an empty list, and its
// printText then.
std::vector<std::string> listItems(const CalculationOutcome& outcome);
std::string printText(const CalculationOutcome& outcome);

} // namespace kelvaro
