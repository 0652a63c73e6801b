#include "differential/differential_facts.h"

#include <cmath>
#include <cstdio>
#include <numbers>

namespace kelvaro {

namespace {

constexpr double kRadiansPerDegree = kPi / 180; // the calculation's own factor

} // namespace

DifferentialFacts describeDifferentialSet(const DifferentialContext& context, double setRatio) {
    DifferentialFacts facts;
    const MachineKindDescription& kind = describeKind(context.kind);
    // A set of the wanted ratio itself cuts what was typed, free of the
    // rounding of a formula turned round.
    const bool exact = setRatio == context.ratio;
    if (kind.achieved == Achieved::Module) {
        const std::optional<double> module =
            exact ? context.module : kind.inverse(context.formulaInputs(), setRatio);
        if (module && std::isfinite(*module)) {
            facts.module = *module;
            facts.moduleDeviation = *module - context.module;
        }
        return facts;
    }
    const std::optional<double> angle =
        exact ? context.helix : kind.inverse(context.formulaInputs(), setRatio);
    if (!angle) return facts;
    facts.helixDegrees = *angle / kRadiansPerDegree;
    facts.helixDeviationArcsec = (*angle - context.helix) / kRadiansPerDegree * 3600;
    return facts;
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
    const MachineKindDescription& kind = describeKind(context.kind);
    rows.push_back({"公式", std::string(kind.caption) + "（机床型号 " + context.model + "）"});
    if (kind.achieved == Achieved::Module) {
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
    const MachineKindDescription& kind = describeKind(context.kind);
    CalculationFacts facts;
    facts.inputs = std::move(inputs);
    facts.kind = kind.name;
    facts.inputLines = std::move(inputLines);
    auto describe = [context](const GearSet& set) {
        return describeDifferentialSet(context, ((set.a * set.b) / set.c) / set.d);
    };
    facts.extra.csvHeader.assign(kind.csvHeader.begin(), kind.csvHeader.end());
    facts.extra.jsonKeys.assign(kind.jsonKeys.begin(), kind.jsonKeys.end());
    facts.extra.values = [describe,
                          module = kind.achieved == Achieved::Module](const GearSet& set) {
        const DifferentialFacts f = describe(set);
        return module ? std::vector<std::optional<double>>{f.module, f.moduleDeviation}
                      : std::vector<std::optional<double>>{f.helixDegrees, f.helixDeviationArcsec};
    };
    facts.extraRows = [context, describe](const GearSet& set) {
        return differentialFactRows(context, describe(set));
    };
    return facts;
}

} // namespace kelvaro
