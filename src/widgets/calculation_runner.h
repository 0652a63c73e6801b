#pragma once

#include "gears/calculation_outcome.h"
#include "gears/search_control.h"

#include <functional>
#include <optional>

class QWidget;

namespace kelvaro {

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

} // namespace kelvaro
