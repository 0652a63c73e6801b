#pragma once

#include "differential/differential_ratio.h"
#include "gears/set_details.h"

#include <optional>
#include <string>
#include <vector>

// What a set of the differential calculation really cuts: the machine kind's
// formula turned round (its description's inverse), with the set's ratio and
// the very constants the calculation used. The angle kinds give the helix
// angle the set cuts and its deviation from the typed one; the lathe kind
// the module it cuts.

namespace kelvaro {

// The inputs of one differential calculation, as it read and converted them.
struct DifferentialContext {
    MachineKind kind = MachineKind::Default;
    std::string model;
    double module = 0;
    double helix = 0;    // radians, as helixAngleRadians converted the typed angle
    double constant = 0; // the machine's constant
    double teeth = 0;    // the part's tooth count (part-teeth kind)
    double degrees = 0;  // the degrees field (lathe kind: the lathe's own module)
    double ratio = 0;    // what the kind's formula gave

    FormulaInputs formulaInputs() const { return {module, helix, constant, teeth, degrees}; }
};

struct DifferentialFacts {
    // Angle kinds: the achieved helix angle in degrees and its deviation
    // from the typed one in arc-seconds; none where the set cuts no real
    // angle (the inverse's sine or cosine beyond 1).
    std::optional<double> helixDegrees;
    std::optional<double> helixDeviationArcsec;
    // Lathe kind: the achieved module and its deviation.
    std::optional<double> module;
    std::optional<double> moduleDeviation;
};

DifferentialFacts describeDifferentialSet(const DifferentialContext& context, double setRatio);

// Degrees as D°M′S.SS″ ("15°0′0.53″"), the seconds rounded to two places.
std::string angleText(double degrees);

// The facts as detail rows: the formula the model chose, then the angle or
// the module the set cuts.
std::vector<DetailRow> differentialFactRows(const DifferentialContext& context,
                                            const DifferentialFacts& facts);

// The facts that the differential calculation adds to each of its sets, and
// its inputs for the setup sheet.
CalculationFacts differentialCalculationFacts(const DifferentialContext& context,
                                              GearSearchInputs inputs,
                                              std::vector<std::string> inputLines);

} // namespace kelvaro
