#pragma once

#include "catalogue/machine_file.h"
#include "common/gear_set.h"
#include "common/search_control.h"

namespace kelvaro {

// The four-gear search over the machine's own gears: its tooth-count range
// as stored (a range stored the wrong way round lists nothing), without the
// sets that use one of its missing tooth counts. The best set is the first
// listed one of smallest |error|.
GearSearchResult searchDifferentialGears(double ratio, double tolerance,
                                         const MachineRecord& machine,
                                         SearchControl* control = nullptr);

} // namespace kelvaro
