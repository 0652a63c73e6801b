#pragma once

#include "common/calculation_outcome.h"
#include "common/search_control.h"

#include <functional>
#include <optional>
#include <string>

class QWidget;

namespace kelvaro {

class ResultListModel;

// A calculation as a window runs it: the texts it needs are captured, the
// control of its search is handed in.
using Calculation = std::function<CalculationOutcome(SearchControl& control)>;

// Runs `calculation` on a worker thread and waits for it without freezing:
// the windows keep repainting, a wait cursor shows, and no user input
// reaches any window of the program, so calculations never overlap. After
// about 0.3 s a progress dialog over `window` shows the number of sets found
// so far and a button "取消" that cancels the search. Returns the outcome,
// or nothing when the user cancelled.
std::optional<CalculationOutcome> runCalculation(QWidget* window, const Calculation& calculation,
                                                 std::size_t setLimit = kSetLimit);

// A Calculate button in one call: runs the calculation as above and puts its
// outcome, all at once, into the window's list and printText (applyOutcome).
// A cancelled calculation changes nothing.
void runAndApply(QWidget* window, const Calculation& calculation, ResultListModel& list,
                 std::string& printText, std::size_t setLimit = kSetLimit);

} // namespace kelvaro
