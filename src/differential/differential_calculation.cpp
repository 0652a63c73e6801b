#include "differential/differential_calculation.h"

#include "catalogue/machine_file.h"
#include "common/gear_lines.h"
#include "common/numeric_value.h"
#include "differential/differential_ratio.h"
#include "differential/differential_search.h"
#include "ordinary/ordinary_search.h"

namespace kelvaro {

namespace {

CalculationOutcome emptiedWith(std::string message) {
    CalculationOutcome outcome;
    outcome.replaceResults = true;
    outcome.message = std::move(message);
    return outcome;
}

CalculationOutcome undefinedRatio() {
    CalculationOutcome outcome = missingInputOutcome();
    outcome.replaceResults = true;
    return outcome;
}

} // namespace

CalculationOutcome calculateDifferential(const DifferentialInput& input, std::string_view model,
                                         const std::string& directory, SearchControl* control,
                                         FileSystem& fs) {
    if (input.module.empty() || input.degrees.empty() || input.minutes.empty() ||
        input.seconds.empty() || input.tolerance.empty())
        return missingInputOutcome();

    if (model.empty()) return emptiedWith(kChooseModelMessage);

    MachineFile machine = readMachineFile(directory, model, fs);
    if (machine.result.failed()) return emptiedWith(std::move(machine.result.message));

    const double module = numericValue(input.module);
    const double degrees = numericValue(input.degrees);
    const double minutes = numericValue(input.minutes);
    const double seconds = numericValue(input.seconds);
    const double helix = helixAngleRadians(degrees, minutes, seconds);

    double partTeeth = 0;
    if (needsPartTeeth(model)) {
        partTeeth = numericValue(input.partTeeth);
        if (partTeeth <= 0) return emptiedWith(kWrongPartTeethMessage);
    }
    const double ratio =
        differentialRatio(model, module, helix, machine.record.machineConstant, partTeeth, degrees);
    const double tolerance = numericValue(input.tolerance);

    // No search with an undefined ratio: every formula divides by the
    // module, "C630"'s by the degrees too; and none that the ordinary
    // window would refuse (a tolerance that is not finite among them).
    const bool divisorZero = module == 0 || (model == "C630" && degrees == 0);
    if (divisorZero ||
        !searchIsDefined(ratio, tolerance, machine.record.minTeeth, machine.record.maxTeeth))
        return undefinedRatio();

    SearchControl bounded;
    return resultsOutcome(
        searchDifferentialGears(ratio, tolerance, machine.record, control ? control : &bounded));
}

} // namespace kelvaro
