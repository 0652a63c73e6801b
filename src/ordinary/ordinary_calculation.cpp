#include "ordinary/ordinary_calculation.h"

#include "common/gear_lines.h"
#include "common/numeric_value.h"
#include "ordinary/ordinary_search.h"

namespace kelvaro {

CalculationOutcome calculateOrdinary(const OrdinaryInput& input, SearchControl* control) {
    if (input.ratio.empty() || input.tolerance.empty() || input.smallest.empty() ||
        input.largest.empty())
        return missingInputOutcome();

    const double ratio = numericValue(input.ratio);
    const double tolerance = numericValue(input.tolerance);
    const double smallest = numericValue(input.smallest);
    const double largest = numericValue(input.largest);
    if (!searchIsDefined(ratio, tolerance, smallest, largest)) return missingInputOutcome();

    SearchControl bounded;
    return resultsOutcome(
        searchOrdinaryGears(ratio, tolerance, smallest, largest, control ? control : &bounded));
}

} // namespace kelvaro
