#pragma once

#include "gears/calculation_outcome.h"
#include "gears/gear_set.h"

#include <string>

namespace kelvaro {

// A set as an item of a result list: each digit of a tooth count beyond the
// first costs two of the blanks that follow it.
std::string formatListLine(const GearSet& set);

// A set as a printout line: each tooth count fills a column of 7 characters.
std::string formatPrintLine(const GearSet& set);

// The list items and printText of a completed search: one item and one
// printText line per listed set, then the heading and the best set. A
// search stopped at its bound gives only the message of tooManySetsMessage,
// a cancelled one nothing at all: both leave the window as it was.
CalculationOutcome resultsOutcome(const GearSearchResult& result);

} // namespace kelvaro
