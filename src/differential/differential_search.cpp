#include "differential/differential_search.h"

#include "ordinary/ordinary_search.h"

namespace kelvaro {

GearSearchResult searchDifferentialGears(double ratio, double tolerance,
                                         const MachineRecord& machine) {
    return searchGears(ratio, tolerance, machine.minTeeth, machine.maxTeeth, machine.missingTeeth);
}

} // namespace kelvaro
