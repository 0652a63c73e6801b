#include "ordinary/ordinary_calculation.h"

#include "gears/gear_lines.h"
#include "gears/gear_search.h"
#include "gears/numeric_value.h"
#include "gears/trim_blanks.h"

#include <utility>

namespace kelvaro {

namespace {

CalculationOutcome messageOutcome(std::string message) {
    CalculationOutcome outcome;
    outcome.message = std::move(message);
    return outcome;
}

} // namespace

std::optional<GearSearchInputs> ordinaryInputs(const OrdinaryInput& input) {
    if (input.ratio.empty() || input.tolerance.empty() || input.smallest.empty() ||
        input.largest.empty())
        return std::nullopt;

    GearSearchInputs inputs;
    inputs.ratio = numericValue(input.ratio);
    inputs.tolerance = numericValue(input.tolerance);
    inputs.zmin = numericValue(input.smallest);
    inputs.zmax = numericValue(input.largest);
    if (!searchIsDefined(inputs.ratio, inputs.tolerance, inputs.zmin, inputs.zmax))
        return std::nullopt;
    if (inputs.zmin > inputs.zmax) std::swap(inputs.zmin, inputs.zmax);
    return inputs;
}

CalculationFacts ordinaryFacts(const GearSearchInputs& inputs, const OrdinaryInput& input) {
    CalculationFacts facts;
    facts.inputs = inputs;
    facts.inputLines = {"传动比 i=" + std::string(trimBlanks(input.ratio)) + "  允差 " +
                            std::string(trimBlanks(input.tolerance)),
                        "齿数 " + shortNumber(inputs.zmin, 15) + " ～ " +
                            shortNumber(inputs.zmax, 15)};
    return facts;
}

CalculationOutcome calculateOrdinary(const OrdinaryInput& input, SearchControl* control) {
    // A missing text first, then a negative tolerance, then inputs the
    // search cannot take.
    if (input.ratio.empty() || input.tolerance.empty() || input.smallest.empty() ||
        input.largest.empty())
        return missingInputOutcome();
    if (numericValue(input.tolerance) < 0) return messageOutcome(kNegativeToleranceMessage);
    const std::optional<GearSearchInputs> inputs = ordinaryInputs(input);
    if (!inputs) return missingInputOutcome();
    SearchControl bounded;
    CalculationOutcome outcome =
        resultsOutcome(searchGears(inputs->ratio, inputs->tolerance, inputs->zmin, inputs->zmax, {},
                                   control ? control : &bounded));
    if (outcome.results)
        outcome.facts = std::make_shared<const CalculationFacts>(ordinaryFacts(*inputs, input));
    return outcome;
}

} // namespace kelvaro
