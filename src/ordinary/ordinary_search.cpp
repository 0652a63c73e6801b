#include "ordinary/ordinary_search.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace kelvaro {

namespace {

bool usesMissingTooth(const GearSet& set, std::span<const std::int16_t> missingTeeth) {
    return std::any_of(missingTeeth.begin(), missingTeeth.end(), [&set](std::int16_t teeth) {
        const double t = teeth;
        return t == set.a || t == set.b || t == set.c || t == set.d;
    });
}

} // namespace

// Every expression below is evaluated in this order on purpose: the tests
// compare floors of quotients, and a reordered product can move a quotient
// across a whole number.
GearSearchResult searchGears(double ratio, double tolerance, double zmin, double zmax,
                             std::span<const std::int16_t> missingTeeth) {
    GearSearchResult result;
    result.best = GearSet{0, 0, 0, 0, tolerance};
    for (double a = zmin; a <= zmax; a += 1) {
        for (double b = a; b <= zmax; b += 1) {
            // No whole product c * d in the tolerated range: no driven pair fits.
            if (std::floor((a * b) / (ratio - tolerance)) -
                    std::floor((a * b) / (ratio + tolerance)) ==
                0)
                continue;
            for (double c = zmin; c <= zmax; c += 1) {
                if (std::floor((a * b) / (c * (ratio - tolerance))) -
                        std::floor((a * b) / (c * (ratio + tolerance))) ==
                    0)
                    continue;
                const double d = std::floor((a * b) / (c * (ratio - tolerance)));
                if (d > zmax || d < c) continue;
                const GearSet set{a, b, c, d, ((a * b) / c) / d - ratio};
                if (usesMissingTooth(set, missingTeeth)) continue;
                result.sets.push_back(set);
                if (std::abs(set.error) < std::abs(result.best.error)) result.best = set;
            }
        }
    }
    return result;
}

GearSearchResult searchOrdinaryGears(double ratio, double tolerance, double zmin, double zmax) {
    if (zmin > zmax) std::swap(zmin, zmax);
    return searchGears(ratio, tolerance, zmin, zmax);
}

bool searchIsDefined(double ratio, double tolerance, double zmin, double zmax) {
    if (!std::isfinite(ratio) || !std::isfinite(tolerance) || !std::isfinite(zmin) ||
        !std::isfinite(zmax))
        return false;
    if (ratio - tolerance == 0 || ratio + tolerance == 0) return false;
    const double low = std::min(zmin, zmax);
    const double high = std::max(zmin, zmax);
    if (low <= 0 && high >= 0) return false;
    constexpr double kLoopLimit = 9007199254740992.0; // 2^53
    return std::abs(zmin) < kLoopLimit && std::abs(zmax) < kLoopLimit;
}

} // namespace kelvaro
