#include "differential/differential_facts.h"

#include "gears/rounded_math.h"

#include <cmath>
#include <cstdio>
#include <numbers>

namespace kelvaro {

namespace {

constexpr double kRadiansPerDegree = kPi / 180; // the calculation's own factor
constexpr double kTurn = 2 * std::numbers::pi;

// Of the angles base + k turns, the one nearest `near`.
double nearestTurn(double base, double near) {
    return base + kTurn * std::round((near - base) / kTurn);
}

// The angle whose sine (or cosine) is x, on the branch nearest the typed
// angle, so a set that cuts nearly the typed angle shows nearly it.
std::optional<double> inverseAngle(MachineKind kind, double x, double typed) {
    if (!(std::abs(x) <= 1)) return std::nullopt; // NaN too
    double first, second;
    if (kind == MachineKind::PartTeeth) {
        first = nearestTurn(roundedAcos(x), typed);
        second = nearestTurn(-roundedAcos(x), typed);
    } else {
        first = nearestTurn(roundedAsin(x), typed);
        second = nearestTurn(std::numbers::pi - roundedAsin(x), typed);
    }
    return std::abs(first - typed) <= std::abs(second - typed) ? first : second;
}

} // namespace

DifferentialFacts describeDifferentialSet(const DifferentialContext& context, double setRatio) {
    DifferentialFacts facts;
    // A set of the wanted ratio itself cuts what was typed, free of the
    // rounding of a formula turned round.
    const bool exact = setRatio == context.ratio;
    if (context.kind == MachineKind::Lathe) {
        const double module = exact ? context.module : setRatio * context.degrees / (kPi / 4);
        if (std::isfinite(module)) {
            facts.module = module;
            facts.moduleDeviation = module - context.module;
        }
        return facts;
    }
    const double factor = context.kind == MachineKind::PartTeeth
                              ? (context.constant / context.module) / context.teeth
                              : context.constant / context.module;
    const std::optional<double> angle =
        exact ? context.helix : inverseAngle(context.kind, setRatio / factor, context.helix);
    if (!angle) return facts;
    facts.helixDegrees = *angle / kRadiansPerDegree;
    facts.helixDeviationArcsec = (*angle - context.helix) / kRadiansPerDegree * 3600;
    return facts;
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
    std::string text = degrees < 0 && whole != 0 ? "-" : "";
    text += std::to_string(d) + "°" + std::to_string(m) + "′" + seconds + "″";
    return text;
}

std::vector<DetailRow> differentialFactRows(const DifferentialContext& context,
                                            const DifferentialFacts& facts) {
    std::vector<DetailRow> rows;
    rows.push_back({"公式", kindCaption(context.kind) + "（机床型号 " + context.model + "）"});
    if (context.kind == MachineKind::Lathe) {
        if (facts.module) {
            rows.push_back({"实际模数", shortNumber(*facts.module, 10)});
            rows.push_back({"模数误差", shortNumber(*facts.moduleDeviation, 3)});
        } else {
            rows.push_back({"实际模数", "无法算出", true});
        }
        return rows;
    }
    if (!facts.helixDegrees) {
        rows.push_back({"实际螺旋角", "这组挂轮得不到实际的螺旋角（sin 或 cos 超过 1）", true});
        return rows;
    }
    rows.push_back({"实际螺旋角", angleText(*facts.helixDegrees)});
    // Rounded first, so a deviation of -0.001″ is shown as +0.00″, not -0.00″.
    const double hundredths = std::round(*facts.helixDeviationArcsec * 100) + 0.0;
    char deviation[48];
    std::snprintf(deviation, sizeof deviation, "%+.2f″", hundredths / 100);
    rows.push_back({"螺旋角误差", deviation});
    return rows;
}

CalculationFacts differentialCalculationFacts(const DifferentialContext& context,
                                              GearSearchInputs inputs,
                                              std::vector<std::string> inputLines) {
    CalculationFacts facts;
    facts.inputs = std::move(inputs);
    facts.kind = kindName(context.kind);
    facts.inputLines = std::move(inputLines);
    auto describe = [context](const GearSet& set) {
        return describeDifferentialSet(context, ((set.a * set.b) / set.c) / set.d);
    };
    if (context.kind == MachineKind::Lathe) {
        facts.extra.csvHeader = {"实际模数", "模数误差"};
        facts.extra.jsonKeys = {"module", "module_deviation"};
        facts.extra.values = [describe](const GearSet& set) {
            const DifferentialFacts f = describe(set);
            return std::vector<std::optional<double>>{f.module, f.moduleDeviation};
        };
    } else {
        facts.extra.csvHeader = {"实际螺旋角(°)", "螺旋角误差(″)"};
        facts.extra.jsonKeys = {"helix_angle_deg", "helix_deviation_arcsec"};
        facts.extra.values = [describe](const GearSet& set) {
            const DifferentialFacts f = describe(set);
            return std::vector<std::optional<double>>{f.helixDegrees, f.helixDeviationArcsec};
        };
    }
    facts.extraRows = [context, describe](const GearSet& set) {
        return differentialFactRows(context, describe(set));
    };
    return facts;
}

} // namespace kelvaro
