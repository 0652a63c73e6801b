#include "gears/differential_ratio.h"

#include "gears/rounded_math.h"
#include "gears/set_facts.h"

#include <cmath>
#include <cstdio>
#include <numbers>

namespace kelvaro {

namespace {

constexpr double kTurn = 2 * std::numbers::pi;

// Of the angles base + k turns, the one nearest `near`.
double nearestTurn(double base, double near) {
    return base + kTurn * std::round((near - base) / kTurn);
}

// Of two angles (each moved by whole turns), the one nearest `typed`, so a
// set that cuts nearly the typed angle shows nearly it.
double nearerAngle(double first, double second, double typed) {
    first = nearestTurn(first, typed);
    second = nearestTurn(second, typed);
    return std::abs(first - typed) <= std::abs(second - typed) ? first : second;
}

// Default: (constant / module) * sin(helix).
double sineRatio(const FormulaInputs& in) {
    return (in.constant / in.module) * roundedSin(in.helix);
}
std::optional<double> sineAngle(const FormulaInputs& in, double ratio) {
    const double x = ratio / (in.constant / in.module);
    if (!(std::abs(x) <= 1)) return std::nullopt; // NaN too
    return nearerAngle(roundedAsin(x), std::numbers::pi - roundedAsin(x), in.helix);
}

// Part teeth: ((constant / module) / teeth) * cos(helix).
double cosineRatio(const FormulaInputs& in) {
    return ((in.constant / in.module) / in.teeth) * roundedCos(in.helix);
}
std::optional<double> cosineAngle(const FormulaInputs& in, double ratio) {
    const double x = ratio / ((in.constant / in.module) / in.teeth);
    if (!(std::abs(x) <= 1)) return std::nullopt;
    return nearerAngle(roundedAcos(x), -roundedAcos(x), in.helix);
}

// Lathe: (pi / 4 * module) / the lathe's own module.
double latheRatio(const FormulaInputs& in) {
    return (kPi / 4 * in.module) / in.latheModule;
}
std::optional<double> latheModule(const FormulaInputs& in, double ratio) {
    const double module = ratio * in.latheModule / (kPi / 4);
    if (!std::isfinite(module)) return std::nullopt;
    return module;
}

constexpr std::array<const char*, 2> kAngleCsv{"实际螺旋角(°)", "螺旋角误差(″)"};
constexpr std::array<const char*, 2> kAngleJson{"helix_angle_deg", "helix_deviation_arcsec"};
constexpr std::string_view kLatheModels[] = {"C630"};
constexpr std::string_view kPartTeethModels[] = {"Y7150", "ZSTZ"};

const MachineKindDescription kKinds[] = {
    {MachineKind::Default,
     {},
     "default",
     "默认公式 i = (C / m) × sin β",
     false,
     Achieved::HelixAngle,
     sineRatio,
     sineAngle,
     kAngleCsv,
     kAngleJson},
    {MachineKind::Lathe,
     kLatheModels,
     "lathe",
     "车床公式 i = (π/4 × m) / 机床模数",
     false,
     Achieved::Module,
     latheRatio,
     latheModule,
     {"实际模数", "模数误差"},
     {"module", "module_deviation"}},
    {MachineKind::PartTeeth, kPartTeethModels, "part_teeth",
     "零件齿数公式 i = ((C / m) / z) × cos β", true, Achieved::HelixAngle, cosineRatio, cosineAngle,
     kAngleCsv, kAngleJson},
};

} // namespace

std::span<const MachineKindDescription> machineKinds() {
    return kKinds;
}

const MachineKindDescription& describeKind(MachineKind kind) {
    return kKinds[static_cast<std::size_t>(kind)];
}

MachineKind machineKind(std::string_view model) {
    for (const MachineKindDescription& row : kKinds)
        for (std::string_view name : row.models)
            if (model == name) return row.kind;
    return MachineKind::Default;
}

double helixAngleRadians(double degrees, double minutes, double seconds) {
    return ((degrees + minutes / 60) + seconds / 3600) * (kPi / 180);
}

std::string angleText(double degrees) {
    if (!std::isfinite(degrees)) return "—";
    // Hundredths of a second, whole: rounding can carry into the minutes.
    const double hundredths = std::round(std::abs(degrees) * 360000);
    if (hundredths > 0x1p62) return shortNumber(degrees, 15) + "°";
    const auto whole = static_cast<long long>(hundredths);
    const long long d = whole / 360000;
    const long long m = whole / 6000 % 60;
    const long long s = whole % 6000;
    char seconds[16];
    std::snprintf(seconds, sizeof seconds, "%lld.%02lld", s / 100, s % 100);
    std::string text = degrees < 0 && whole != 0 ? "-" : "";
    text += std::to_string(d) + "°" + std::to_string(m) + "′" + seconds + "″";
    return text;
}

} // namespace kelvaro
