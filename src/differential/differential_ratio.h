#pragma once

#include <string_view>

// The ratio that a machine's differential change gears must give, from the
// part's module and helix angle and the machine's constant. The formula
// depends on the machine's kind, told by its model name.

namespace kelvaro {

// pi as the machines' tables have always used it, not the full constant.
inline constexpr double kPi = 3.1415926;

// ((degrees + minutes / 60) + seconds / 3600) * (pi / 180), in this order,
// with no normalisation of the parts.
double helixAngleRadians(double degrees, double minutes, double seconds);

// "C630": (pi / 4 * module) / degrees, where the degrees field holds the
// lathe's own module; "Y7150" and "ZSTZ": ((constant / module) / teeth) *
// cos(helix); any other model: (constant / module) * sin(helix). Models are
// compared exactly. `degrees` is used by "C630" only, `teeth` by "Y7150"
// and "ZSTZ" only.
double differentialRatio(std::string_view model, double module, double helix, double constant,
                         double teeth, double degrees);

// Whether the model's ratio needs the part's tooth count.
bool needsPartTeeth(std::string_view model);

} // namespace kelvaro
