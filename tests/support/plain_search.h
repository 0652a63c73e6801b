#pragma once

// The four-gear search as a straight loop over every (a, b, c): the
// reference that the equivalence test and the benchmarks hold the fast
// search against. Keep it plain; it is the definition, not an implementation.
#include "gears/gear_set.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <span>

namespace kelvaro::reference {

inline GearSearchResult plainSearchGears(double ratio, double tolerance, double zmin, double zmax,
                                         std::span<const std::int16_t> missingTeeth = {}) {
    GearSearchResult result;
    result.best = GearSet{0, 0, 0, 0, tolerance};
    for (double a = zmin; a <= zmax; a += 1) {
        for (double b = a; b <= zmax; b += 1) {
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
                const bool missing =
                    std::any_of(missingTeeth.begin(), missingTeeth.end(), [&set](std::int16_t t) {
                        const double teeth = t;
                        return teeth == set.a || teeth == set.b || teeth == set.c || teeth == set.d;
                    });
                if (missing) continue;
                result.sets.push_back(set);
                if (std::abs(set.error) < std::abs(result.best.error)) result.best = set;
            }
        }
    }
    return result;
}

} // namespace kelvaro::reference
