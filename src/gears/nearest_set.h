#pragma once

#include "gears/gear_set.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>

// When a calculation lists nothing, or a loose tolerance lists a worse best
// set than it skips: the set nearest the wanted ratio among all that the
// search's loops can reach, the ratios those gears can make at all, and the
// tolerance with which the search really lists a set.

namespace kelvaro {

struct NearestSet {
    enum class Status {
        Found,       // `set` is the nearest reachable set
        NoSets,      // the gears make no set at all (a range given backwards)
        Unsupported, // no nearest set can be given; `reason` says why
    };
    Status status = Status::Unsupported;
    std::string reason;
    GearSet set;        // its error against the wanted ratio, as the search computes it
    double lowest = 0;  // the smallest reachable ratio
    double highest = 0; // the largest
};

// The most tooth counts a range may hold for the nearest set: its table of
// products then holds about half a million pairs, a few tenths of a second.
inline constexpr double kMaxNearestRange = 1024;

// The smallest |error| over every set (a, b, c, d) with a <= b, c <= d, each
// count from zmin to zmax and none of `missingTeeth`; the first such set in
// the search's order (a, then b, then c) where several are as near. The
// range is used as given. Needs whole, positive counts and a range of at
// most kMaxNearestRange counts.
NearestSet nearestSet(double ratio, double zmin, double zmax,
                      std::span<const std::int16_t> missingTeeth = {});

// The smallest tolerance of two significant digits (1.0E-06, 1.1E-06, ...)
// from |nearestError| up (an error that differs from such a value by
// rounding alone counts as that value), with which searchGears lists a set
// and makes it the best set (its |error| below the tolerance); it runs the
// search for each. None where no tolerance below the ratio does.
std::optional<double> toleranceNeeded(double ratio, double nearestError, double zmin, double zmax,
                                      std::span<const std::int16_t> missingTeeth = {});

} // namespace kelvaro
