#pragma once

#include "gears/calculation_outcome.h"
#include "gears/search_control.h"

#include <functional>
#include <optional>

class QObject;
class QWidget;

namespace kelvaro {

// A calculation as a window runs it: the texts it needs are captured, the
// control of its search is handed in.
using Calculation = std::function<CalculationOutcome(SearchControl& control)>;

// Runs `calculation` on a worker thread and waits for it without freezing:
// the windows keep repainting, a wait cursor shows, and no user input
// reaches any window of the program, so calculations never overlap. After
// about 0.3 s a progress dialog over `window` shows the number of sets found
// so far and how far its outer loops are, and a button "取消" (or Escape)
// that cancels the search. Returns the outcome, or nothing when the user
// cancelled. A request to quit the program during the wait cancels the
// search and ends the program's event loop once the worker has ended.
std::optional<CalculationOutcome> runCalculation(QWidget* window, const Calculation& calculation);

// Whether a calculation is being waited for.
bool calculationRunning();

// Runs `work` now, or, while a calculation is waited for, from the event
// loop once that calculation's outcome has been applied (not at all if
// `context` is gone by then or the program is ending). For work that can
// open a message box, which must not open during the wait.
void whenNoCalculation(QObject* context, std::function<void()> work);

} // namespace kelvaro
