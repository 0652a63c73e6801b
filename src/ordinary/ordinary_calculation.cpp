#include "ordinary/ordinary_calculation.h"

#include "gears/gear_lines.h"
#include "gears/gear_search.h"
#include "gears/numeric_value.h"

#include <utility>

namespace kelvaro {

namespace {

CalculationOutcome messageOutcome(std::string message) {
    CalculationOutcome outcome;
    outcome.message = std::move(message);
    return outcome;
}

} // namespace

GearSearchResult searchOrdinaryGears(double ratio, double tolerance, double zmin, double zmax,
                                     SearchControl* control) {
    if (zmin > zmax) std::swap(zmin, zmax);
    return searchGears(ratio, tolerance, zmin, zmax, {}, control);
}

CalculationOutcome calculateOrdinary(const OrdinaryInput& input, SearchControl* control) {
    if (input.ratio.empty() || input.tolerance.empty() || input.smallest.empty() ||
        input.largest.empty())
        return missingInputOutcome();

    const double ratio = numericValue(input.ratio);
    const double tolerance = numericValue(input.tolerance);
    const double smallest = numericValue(input.smallest);
    const double largest = numericValue(input.largest);
    if (tolerance < 0) return messageOutcome(kNegativeToleranceMessage);
    if (!searchIsDefined(ratio, tolerance, smallest, largest)) return missingInputOutcome();

    SearchControl bounded;
    return resultsOutcome(
        searchOrdinaryGears(ratio, tolerance, smallest, largest, control ? control : &bounded));
}

} // namespace kelvaro
