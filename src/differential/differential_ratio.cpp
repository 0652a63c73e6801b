#include "differential/differential_ratio.h"

#include "gears/rounded_math.h"

namespace kelvaro {

MachineKind machineKind(std::string_view model) {
    if (model == "C630") return MachineKind::Lathe;
    if (model == "Y7150" || model == "ZSTZ") return MachineKind::PartTeeth;
    return MachineKind::Default;
}

double helixAngleRadians(double degrees, double minutes, double seconds) {
    return ((degrees + minutes / 60) + seconds / 3600) * (kPi / 180);
}

double differentialRatio(MachineKind kind, double module, double helix, double constant,
                         double teeth, double degrees) {
    switch (kind) {
    case MachineKind::Lathe:
        return (kPi / 4 * module) / degrees;
    case MachineKind::PartTeeth:
        return ((constant / module) / teeth) * roundedCos(helix);
    case MachineKind::Default:
        break;
    }
    return (constant / module) * roundedSin(helix);
}

} // namespace kelvaro
