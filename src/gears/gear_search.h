#pragma once

#include "gears/gear_set.h"
#include "gears/search_control.h"

#include <cstdint>
#include <span>

namespace kelvaro {

// A tolerance below zero would list sets outside the ratio's range.
inline constexpr const char* kNegativeToleranceMessage = "允差不能为负数";

// The four-gear search shared by both calculations. For every driving pair
// a <= b and first driven gear c from zmin to zmax it takes the largest d
// whose ratio (a * b) / (c * d) is still at least ratio - tolerance, and
// lists the set when it passes the floor tests and uses none of the missing
// tooth counts. The range is used as given (no ordering).
//
// With a control the search can be cancelled, reports the number of sets
// found so far and stops at the control's bound on sets; without one it
// always runs to its end.
GearSearchResult searchGears(double ratio, double tolerance, double zmin, double zmax,
                             std::span<const std::int16_t> missingTeeth = {},
                             SearchControl* control = nullptr);

// Whether the search can run on these inputs: they are finite, its divisors
// ratio - tolerance and ratio + tolerance are not 0, the range does not
// contain 0, and its loop counters can advance (below 2^53 in magnitude,
// where adding 1 to a double still changes it).
bool searchIsDefined(double ratio, double tolerance, double zmin, double zmax);

} // namespace kelvaro
