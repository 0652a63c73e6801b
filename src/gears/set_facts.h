#pragma once

#include "gears/gear_set.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// What a listed set gives the part: its ratio and error in the terms a shop
// uses, its exact ratio as a fraction, and whether it can be mounted on the
// change-gear quadrant. Gear a sits on the driving shaft and meshes c; c and
// b share the stud; b meshes d on the driven shaft.

namespace kelvaro {

// The room left on the quadrant, in teeth. Tip circles reach one tooth (one
// module on the radius) beyond the pitch circles, so b's tips clear the
// driving shaft's axis while (a + c) - (b + 2) > 0, and c's tips clear the
// driven shaft's axis while (b + d) - (c + 2) > 0. The shaft and its spacer
// need room of their own: a set mounts when both margins are at least the
// clearance s.
struct QuadrantMargins {
    double driving = 0; // (a + c) - (b + 2)
    double driven = 0;  // (b + d) - (c + 2)

    // The one rule of the verdict and of the drawing's red marks.
    bool drivingFits(double clearance) const { return driving >= clearance; }
    bool drivenFits(double clearance) const { return driven >= clearance; }
    bool mountable(double clearance) const {
        return drivingFits(clearance) && drivenFits(clearance);
    }
};

// The clearance of a machine that names none, as lathe change-gear tables use.
inline constexpr double kDefaultClearance = 10;

QuadrantMargins quadrantMargins(double a, double b, double c, double d);

// (a * b) / (c * d) in lowest terms; the denominator is positive.
struct Fraction {
    std::int64_t numerator = 0;
    std::int64_t denominator = 1;
};

struct SetFacts {
    GearSet set;
    double ratio = 0;                       // ((a * b) / c) / d, as the search computes it
    std::optional<double> relativeErrorPpm; // error / wanted ratio, in millionths
    std::optional<Fraction> fraction;       // for whole counts of at most 2^31
    QuadrantMargins margins;
    double clearance = kDefaultClearance;
    std::string clearanceSource = "默认值"; // where the clearance came from, in words
    // Where the set as listed cannot be mounted: whether it can with a and
    // b, or with c and d, changed over (the ratio stays the same).
    bool swapDrivingFits = false;
    bool swapDrivenFits = false;
};

// The facts of a listed set against the calculation's wanted ratio. The
// error is the set's own, as the list shows it.
SetFacts describeSet(const GearSet& set, double wantedRatio, double clearance = kDefaultClearance);

// One line of the details: a caption and its value, both in Chinese; a
// warning is shown in red.
struct DetailRow {
    std::string caption;
    std::string value;
    bool warning = false;
};

// The facts as detail rows: the set by position, its ratio, errors and
// fraction, and the quadrant.
std::vector<DetailRow> setFactRows(const SetFacts& facts);

// What a margin below the clearance means, in words: "b 的齿顶碰到主动轴"
// where it is not above 0, "b 的齿顶离主动轴不足 10 齿" where it is.
std::string drivingMarginFailure(double margin, double clearance);
std::string drivenMarginFailure(double margin, double clearance);

// A number with at most `digits` significant digits in plain or exponent
// form ("0.174", "1.2E-05"), without the list's leading blank.
std::string shortNumber(double value, int digits);

} // namespace kelvaro
