#include "gears/differential_ratio.h"

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

} // namespace

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
        return ((constant / module) / teeth) * std::cos(helix);
    case MachineKind::Default:
        break;
    }
    return (constant / module) * std::sin(helix);
}

std::optional<double> achievedHelix(MachineKind kind, double setRatio, double module,
                                    double constant, double teeth, double typed) {
    if (kind == MachineKind::Lathe) return std::nullopt;
    const double factor =
        kind == MachineKind::PartTeeth ? (constant / module) / teeth : constant / module;
    const double x = setRatio / factor;
    if (!(std::abs(x) <= 1)) return std::nullopt; // NaN too
    double first, second;
    if (kind == MachineKind::PartTeeth) {
        first = nearestTurn(std::acos(x), typed);
        second = nearestTurn(-std::acos(x), typed);
    } else {
        first = nearestTurn(std::asin(x), typed);
        second = nearestTurn(std::numbers::pi - std::asin(x), typed);
    }
    return std::abs(first - typed) <= std::abs(second - typed) ? first : second;
}

const char* kindName(MachineKind kind) {
    switch (kind) {
    case MachineKind::Lathe:
        return "lathe";
    case MachineKind::PartTeeth:
        return "part_teeth";
    case MachineKind::Default:
        break;
    }
    return "default";
}

std::string kindCaption(MachineKind kind) {
    switch (kind) {
    case MachineKind::Lathe:
        return "车床公式 i = (π/4 × m) / 机床模数";
    case MachineKind::PartTeeth:
        return "零件齿数公式 i = ((C / m) / z) × cos β";
    case MachineKind::Default:
        break;
    }
    return "默认公式 i = (C / m) × sin β";
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
    return (degrees < 0 && whole != 0 ? "-" : "") + std::to_string(d) + "°" + std::to_string(m) +
           "′" + seconds + "″";
}

} // namespace kelvaro
