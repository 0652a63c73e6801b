#include "differential/differential_search.h"

#include "ordinary/ordinary_search.h"

namespace kelvaro {

GearSearchResult searchDifferentialGears(double ratio, double tolerance,
                                         const MachineRecord& machine, SearchControl* control) {
    return searchGears(ratio, tolerance, machine.minTeeth, machine.maxTeeth, machine.missingTeeth,
                       control);
}

} // namespace kelvaro
