#include "gears/set_facts.h"

#include "gears/number_text.h"

#include <charconv>
#include <cmath>
#include <numeric>

namespace kelvaro {

namespace {

// Whole, non-zero and small enough that a product of two stays exact in 64 bits.
bool fractionCount(double teeth) {
    return teeth == std::floor(teeth) && teeth != 0 && std::abs(teeth) <= 0x1p31;
}

std::optional<Fraction> reducedFraction(const GearSet& set) {
    for (double teeth : {set.a, set.b, set.c, set.d})
        if (!fractionCount(teeth)) return std::nullopt;
    auto numerator = static_cast<std::int64_t>(set.a) * static_cast<std::int64_t>(set.b);
    auto denominator = static_cast<std::int64_t>(set.c) * static_cast<std::int64_t>(set.d);
    if (denominator < 0) {
        numerator = -numerator;
        denominator = -denominator;
    }
    const std::int64_t divisor = std::gcd(numerator, denominator);
    return Fraction{numerator / divisor, denominator / divisor};
}

std::string teethText(double teeth) {
    return shortNumber(teeth, 15);
}

} // namespace

QuadrantMargins quadrantMargins(double a, double b, double c, double d) {
    return {(a + c) - (b + 2), (b + d) - (c + 2)};
}

SetFacts describeSet(const GearSet& set, double wantedRatio, double clearance) {
    SetFacts facts;
    facts.set = set;
    facts.ratio = ((set.a * set.b) / set.c) / set.d;
    if (wantedRatio != 0 && std::isfinite(set.error / wantedRatio))
        facts.relativeErrorPpm = set.error / wantedRatio * 1e6;
    facts.fraction = reducedFraction(set);
    facts.margins = quadrantMargins(set.a, set.b, set.c, set.d);
    facts.clearance = clearance;
    if (!facts.margins.mountable(clearance)) {
        facts.swapDrivingFits = quadrantMargins(set.b, set.a, set.c, set.d).mountable(clearance);
        facts.swapDrivenFits = quadrantMargins(set.a, set.b, set.d, set.c).mountable(clearance);
    }
    return facts;
}

std::string drivingMarginFailure(double margin, double clearance) {
    return margin <= 0 ? "b 的齿顶碰到主动轴"
                       : "b 的齿顶离主动轴不足 " + shortNumber(clearance, 15) + " 齿";
}

std::string drivenMarginFailure(double margin, double clearance) {
    return margin <= 0 ? "c 的齿顶碰到被动轴"
                       : "c 的齿顶离被动轴不足 " + shortNumber(clearance, 15) + " 齿";
}

std::string shortNumber(double value, int digits) {
    if (!std::isfinite(value)) return "—";
    if (value == 0) value = 0.0; // no "-0"
    char buffer[64];
    const auto end =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, digits)
            .ptr;
    std::string text(buffer, end);
    for (char& c : text)
        if (c == 'e') c = 'E';
    return text;
}

std::vector<DetailRow> setFactRows(const SetFacts& facts) {
    const GearSet& s = facts.set;
    std::vector<DetailRow> rows;
    rows.push_back({"挂轮", "主动 a=" + teethText(s.a) + "  主动 b=" + teethText(s.b) +
                                "  被动 c=" + teethText(s.c) + "  被动 d=" + teethText(s.d)});
    rows.push_back({"位置", "a 在主动轴，c 与 b 在中间轴，d 在被动轴"});
    rows.push_back({"传动比", shortNumber(facts.ratio, 15)});
    rows.push_back({"误差", errorDetailText(s.error)});
    rows.push_back({"相对误差", facts.relativeErrorPpm
                                    ? readableNumber(*facts.relativeErrorPpm, 3) + " ppm (µ)"
                                    : "—"});
    if (facts.fraction)
        rows.push_back({"精确传动比", std::to_string(facts.fraction->numerator) + " / " +
                                          std::to_string(facts.fraction->denominator)});
    const QuadrantMargins& m = facts.margins;
    rows.push_back({"装配余量", "(a+c)-(b+2) = " + shortNumber(m.driving, 15) +
                                    " 齿，(b+d)-(c+2) = " + shortNumber(m.driven, 15) + " 齿"});
    const std::string rule = "（两处余量都不小于 s = " + shortNumber(facts.clearance, 15) +
                             " 齿才装得上，s 留给轴和隔套，" + facts.clearanceSource + "）";
    if (m.mountable(facts.clearance)) {
        rows.push_back({"能否装上", "能" + rule});
        return rows;
    }
    std::string reason;
    if (!m.drivingFits(facts.clearance)) reason = drivingMarginFailure(m.driving, facts.clearance);
    if (!m.drivenFits(facts.clearance))
        reason += (reason.empty() ? "" : "，") + drivenMarginFailure(m.driven, facts.clearance);
    rows.push_back({"能否装上", "不能：" + reason + rule, true});
    std::string advice;
    if (facts.swapDrivingFits) advice = "对调主动轮 a 与 b 后可以装上";
    if (facts.swapDrivenFits)
        advice += (advice.empty() ? "" : "；") + std::string("对调被动轮 c 与 d 后可以装上");
    if (advice.empty()) {
        rows.push_back({"建议", "对调主动轮或被动轮也装不上", true});
    } else {
        rows.push_back({"建议", advice + "，传动比不变"});
    }
    return rows;
}

} // namespace kelvaro
