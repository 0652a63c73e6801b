#include "differential/differential_ratio.h"

#include <cmath>

namespace kelvaro {

double helixAngleRadians(double degrees, double minutes, double seconds) {
    return ((degrees + minutes / 60) + seconds / 3600) * (kPi / 180);
}

bool needsPartTeeth(std::string_view model) {
    return model == "Y7150" || model == "ZSTZ";
}

double differentialRatio(std::string_view model, double module, double helix, double constant,
                         double teeth, double degrees) {
    if (model == "C630") return (kPi / 4 * module) / degrees;
    if (needsPartTeeth(model)) return ((constant / module) / teeth) * std::cos(helix);
    return (constant / module) * std::sin(helix);
}

} // namespace kelvaro
