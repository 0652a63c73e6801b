#pragma once

#include <optional>
#include <string>
#include <string_view>

// The ratio that a machine's differential change gears must give, from the
// part's module and helix angle and the machine's constant. The formula
// depends on the machine's kind, told by its model name; this is the one
// place that reads model names.

namespace kelvaro {

// pi as the machines' tables have always used it, not the full constant.
inline constexpr double kPi = 3.1415926;

// Lathe ("C630"): (pi / 4 * module) / degrees, where the degrees field holds
// the lathe's own module. PartTeeth ("Y7150", "ZSTZ"): ((constant / module) /
// teeth) * cos(helix). Default, every other model: (constant / module) *
// sin(helix).
enum class MachineKind { Default, Lathe, PartTeeth };

// Models are compared exactly: "Y7150A" is of the default kind.
MachineKind machineKind(std::string_view model);

// The kind's name in kelvaro-calc's output: "default", "part_teeth", "lathe".
const char* kindName(MachineKind kind);
// The kind's formula in words, for the details.
std::string kindCaption(MachineKind kind);

// Degrees as D°M′S.SS″ ("15°0′0.53″"), the seconds rounded to two places.
std::string angleText(double degrees);

// ((degrees + minutes / 60) + seconds / 3600) * (pi / 180), in this order,
// with no normalisation of the parts.
double helixAngleRadians(double degrees, double minutes, double seconds);

// The kind's formula. `degrees` is used by the lathe kind only, `teeth` by
// the part-teeth kind only.
double differentialRatio(MachineKind kind, double module, double helix, double constant,
                         double teeth, double degrees);

// The angle kinds' formula turned round: the helix angle (radians) that a
// set of ratio `setRatio` cuts, on the branch nearest the `typed` angle, so
// that a set cutting nearly the typed angle shows nearly it. None for the
// lathe kind and where the sine or cosine would be beyond 1.
std::optional<double> achievedHelix(MachineKind kind, double setRatio, double module,
                                    double constant, double teeth, double typed);

} // namespace kelvaro
