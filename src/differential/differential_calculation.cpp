#include "differential/differential_calculation.h"

#include "catalogue/machine_file.h"
#include "differential/differential_facts.h"
#include "differential/differential_ratio.h"
#include "gears/gear_lines.h"
#include "gears/gear_search.h"
#include "gears/numeric_value.h"
#include "gears/trim_blanks.h"

#include <optional>

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

// One click of Calculate up to its search: the texts read, the machine file
// read and the ratio derived; or, where Calculate stops before searching,
// the outcome it gives.
struct DifferentialSetup {
    std::optional<CalculationOutcome> refusal;
    MachineRecord machine;
    DifferentialContext context;
    double tolerance = 0;
};

DifferentialSetup prepareDifferential(const DifferentialInput& input, std::string_view model,
                                      const std::string& directory, FileSystem& fs) {
    DifferentialSetup setup;
    if (input.module.empty() || input.degrees.empty() || input.minutes.empty() ||
        input.seconds.empty() || input.tolerance.empty()) {
        setup.refusal = missingInputOutcome();
        return setup;
    }
    if (numericValue(input.tolerance) < 0) {
        setup.refusal = CalculationOutcome{};
        setup.refusal->message = kNegativeToleranceMessage;
        return setup;
    }
    if (model.empty()) {
        setup.refusal = emptiedWith(kChooseModelMessage);
        return setup;
    }

    MachineFile machine = readMachineFile(directory, model, fs);
    if (machine.result.failed()) {
        setup.refusal = emptiedWith(std::move(machine.result.message));
        return setup;
    }
    setup.machine = std::move(machine.record);

    DifferentialContext& c = setup.context;
    c.model = model;
    c.module = numericValue(input.module);
    c.degrees = numericValue(input.degrees);
    const double minutes = numericValue(input.minutes);
    const double seconds = numericValue(input.seconds);
    c.helix = helixAngleRadians(c.degrees, minutes, seconds);
    c.constant = setup.machine.machineConstant;

    c.kind = machineKind(model);
    const MachineKindDescription& kind = describeKind(c.kind);
    if (kind.needsPartTeeth) {
        c.teeth = numericValue(input.partTeeth);
        if (c.teeth <= 0) {
            setup.refusal = emptiedWith(kWrongPartTeethMessage);
            return setup;
        }
    }
    c.ratio = kind.ratio(c.formulaInputs());
    setup.tolerance = numericValue(input.tolerance);

    // No search with an undefined ratio: every formula divides by the
    // module, the lathe's by its own module (the degrees field) too; and
    // none that the ordinary window would refuse (a tolerance that is not
    // finite among them).
    const bool divisorZero = c.module == 0 || (kind.achieved == Achieved::Module && c.degrees == 0);
    if (divisorZero ||
        !searchIsDefined(c.ratio, setup.tolerance, setup.machine.minTeeth, setup.machine.maxTeeth))
        setup.refusal = undefinedRatio();
    return setup;
}

CalculationFacts differentialFacts(const DifferentialSetup& setup, const DifferentialInput& input) {
    const DifferentialContext& c = setup.context;
    GearSearchInputs inputs{c.ratio, setup.tolerance, setup.machine.minTeeth,
                            setup.machine.maxTeeth, setup.machine.missingTeeth};
    const MachineKindDescription& kind = describeKind(c.kind);
    std::string part = "m=" + std::string(trimBlanks(input.module));
    if (kind.achieved == Achieved::Module) {
        part += "  机床模数=" + std::string(trimBlanks(input.degrees));
    } else {
        part += "  β=" + std::string(trimBlanks(input.degrees)) + "°" +
                std::string(trimBlanks(input.minutes)) + "′" +
                std::string(trimBlanks(input.seconds)) + "″";
    }
    if (kind.needsPartTeeth) part += "  Z=" + std::string(trimBlanks(input.partTeeth));
    std::vector<std::string> lines = {"机床型号 " + c.model + "（" + kind.caption + "）", part,
                                      "传动比 i=" + shortNumber(c.ratio, 15) + "  允差 " +
                                          std::string(trimBlanks(input.tolerance))};
    return differentialCalculationFacts(c, std::move(inputs), std::move(lines));
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
    DifferentialSetup setup = prepareDifferential(input, model, directory, fs);
    if (setup.refusal) return std::move(*setup.refusal);
    SearchControl bounded;
    CalculationOutcome outcome = resultsOutcome(searchDifferentialGears(
        setup.context.ratio, setup.tolerance, setup.machine, control ? control : &bounded));
    if (outcome.results)
        outcome.facts = std::make_shared<const CalculationFacts>(differentialFacts(setup, input));
    return outcome;
}

} // namespace kelvaro
