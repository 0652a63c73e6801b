#pragma once

#include <array>
#include <optional>
#include <span>
#include <string_view>

// The machine kinds, each described once: the model names that choose it,
// its name and caption, whether it reads the part's tooth count, the ratio
// its differential change gears must give (from the part's module and helix
// angle and the machine's constant), that formula turned round, and the
// columns its sets' facts add to the exports. The calculation, the facts,
// the window and kelvaro-calc read these rows; this is the one place that
// reads model names. A new kind is a value of MachineKind and its row.

namespace kelvaro {

// pi as the machines' tables have always used it, not the full constant.
inline constexpr double kPi = 3.1415926;

enum class MachineKind { Default, Lathe, PartTeeth };

// The numbers a kind's formula reads, as the calculation converted them.
struct FormulaInputs {
    double module = 0;      // the part's module
    double helix = 0;       // radians, as helixAngleRadians converted the typed angle
    double constant = 0;    // the machine's constant
    double teeth = 0;       // the part's tooth count (kinds that need it)
    double latheModule = 0; // the 度 field of a kind that cuts a module
};

// What a set cuts, by the formula turned round: a helix angle, or (a kind
// whose 度 field holds the lathe's own module, and which reads no angle) the
// part's module.
enum class Achieved { HelixAngle, Module };

struct MachineKindDescription {
    MachineKind kind;
    std::span<const std::string_view> models; // exact model names; none: every other
    const char* name;                         // in kelvaro-calc's JSON: "kind"
    const char* caption;                      // the formula in words, for the details
    bool needsPartTeeth;                      // 齿数 is shown, read, checked and printed
    Achieved achieved;
    double (*ratio)(const FormulaInputs& inputs);
    // The value a set of `ratio` cuts: the helix angle in radians on the
    // branch nearest inputs.helix, or the module; none where it is not real.
    std::optional<double> (*inverse)(const FormulaInputs& inputs, double ratio);
    // The achieved value and its deviation, as the CSV export and the JSON
    // name them.
    std::array<const char*, 2> csvHeader;
    std::array<const char*, 2> jsonKeys;
};

// Every kind, in the order of MachineKind.
std::span<const MachineKindDescription> machineKinds();
const MachineKindDescription& describeKind(MachineKind kind);

// Models are compared exactly: "Y7150A" is of the default kind.
MachineKind machineKind(std::string_view model);
inline const MachineKindDescription& describeModel(std::string_view model) {
    return describeKind(machineKind(model));
}

// ((degrees + minutes / 60) + seconds / 3600) * (pi / 180), in this order,
// with no normalisation of the parts.
double helixAngleRadians(double degrees, double minutes, double seconds);

} // namespace kelvaro
