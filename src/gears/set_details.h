#pragma once

#include "gears/gear_set.h"
#include "gears/result_export.h"
#include "gears/set_facts.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

// What the details window and the setup sheet show of one line of a result
// list: the set's facts in rows, the set to draw, and where nothing was
// listed, the nearest set and the tolerance to type.

namespace kelvaro {

// What a calculation knows beyond its sets, kept with its results so that
// the facts of any line can be given later.
struct CalculationFacts {
    GearSearchInputs inputs;
    // The calculation's own facts of a set (the differential's angle or
    // module): as export columns and as detail rows. Empty for the ordinary
    // calculation.
    ExtraFacts extra;
    std::function<std::vector<DetailRow>(const GearSet&)> extraRows;
    std::string kind;                     // kelvaro-calc's "kind"; empty for none
    double clearance = kDefaultClearance; // the mounting rule's s
    std::string clearanceSource = "默认值";
    std::vector<std::string> inputLines; // the inputs, for the setup sheet
};

struct SetDetails {
    std::string heading; // "允差内无解" where nothing was listed, else empty
    std::vector<DetailRow> rows;
    std::optional<GearSet> train;         // the set drawn; none where there is no set
    double clearance = kDefaultClearance; // the mounting rule the drawing marks
    std::vector<std::string> inputLines;  // the calculation's inputs
};

// The export file of a calculation's listed sets, with its own columns.
std::string calculationCsv(const GearSearchResult& result, const CalculationFacts& facts);

// The details of a listed set. For the best set, a nearer set that the
// search skipped is named as well.
SetDetails listedSetDetails(const CalculationFacts& facts, const GearSet& set, bool isBest);

// The details where nothing was listed: the nearest set, the reachable
// ratios and the tolerance with which the search lists a set.
SetDetails nothingListedDetails(const CalculationFacts& facts);

} // namespace kelvaro
