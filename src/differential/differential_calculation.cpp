#include "differential/differential_calculation.h"

#include "catalogue/machine_file.h"
#include "differential/differential_ratio.h"
#include "gears/gear_lines.h"
#include "gears/gear_search.h"
#include "gears/numeric_value.h"

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

GearSearchResult searchDifferentialGears(double ratio, double tolerance,
                                         const MachineRecord& machine, SearchControl* control) {
    return searchGears(ratio, tolerance, machine.minTeeth, machine.maxTeeth, machine.missingTeeth,
                       control);
}

CalculationOutcome calculateDifferential(const DifferentialInput& input, std::string_view model,
                                         const std::string& directory, SearchControl* control,
                                         FileSystem& fs) {
    if (input.module.empty() || input.degrees.empty() || input.minutes.empty() ||
        input.seconds.empty() || input.tolerance.empty())
        return missingInputOutcome();
    if (numericValue(input.tolerance) < 0) {
        CalculationOutcome outcome;
        outcome.message = kNegativeToleranceMessage;
        return outcome;
    }

    if (model.empty()) return emptiedWith(kChooseModelMessage);

    MachineFile machine = readMachineFile(directory, model, fs);
    if (machine.result.failed()) return emptiedWith(std::move(machine.result.message));

    const double module = numericValue(input.module);
    const double degrees = numericValue(input.degrees);
    const double minutes = numericValue(input.minutes);
    const double seconds = numericValue(input.seconds);
    const double helix = helixAngleRadians(degrees, minutes, seconds);

    const MachineKind kind = machineKind(model);
    double partTeeth = 0;
    if (kind == MachineKind::PartTeeth) {
        partTeeth = numericValue(input.partTeeth);
        if (partTeeth <= 0) return emptiedWith(kWrongPartTeethMessage);
    }
    const double ratio =
        differentialRatio(kind, module, helix, machine.record.machineConstant, partTeeth, degrees);
    const double tolerance = numericValue(input.tolerance);

    // No search with an undefined ratio: every formula divides by the
    // module, the lathe's by the degrees too; and none that the ordinary
    // window would refuse (a tolerance that is not finite among them).
    const bool divisorZero = module == 0 || (kind == MachineKind::Lathe && degrees == 0);
    if (divisorZero ||
        !searchIsDefined(ratio, tolerance, machine.record.minTeeth, machine.record.maxTeeth))
        return undefinedRatio();

    SearchControl bounded;
    return resultsOutcome(
        searchDifferentialGears(ratio, tolerance, machine.record, control ? control : &bounded));
}

} // namespace kelvaro
