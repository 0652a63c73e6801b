#pragma once

#include "common/gear_set.h"

#include <cstdint>
#include <span>

namespace kelvaro {

// The four-gear search shared by both calculations. For every driving pair
// a <= b and first driven gear c from zmin to zmax it takes the largest d
// whose ratio (a * b) / (c * d) is still at least ratio - tolerance, and
// lists the set when it passes the floor tests and uses none of the missing
// tooth counts. The range is used as given (no ordering).
GearSearchResult searchGears(double ratio, double tolerance, double zmin, double zmax,
                             std::span<const std::int16_t> missingTeeth = {});

// The ordinary search: the range is put in order first.
GearSearchResult searchOrdinaryGears(double ratio, double tolerance, double zmin, double zmax);

// Whether the search's divisors are all non-zero and its inputs finite, so
// that every quotient it forms is defined: ratio - tolerance and
// ratio + tolerance are not 0 and the range does not contain 0. Tooth counts
// of magnitude 2^53 or more are refused too: there a count plus 1 is the
// count again, and the search's loops would never end.
bool searchIsDefined(double ratio, double tolerance, double zmin, double zmax);

} // namespace kelvaro
