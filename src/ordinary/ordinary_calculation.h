#pragma once

#include "gears/calculation_outcome.h"
#include "gears/gear_set.h"
#include "gears/search_control.h"
#include "gears/set_details.h"

#include <optional>
#include <string_view>

namespace kelvaro {

// The field texts of the ordinary calculation window, as typed.
struct OrdinaryInput {
    std::string_view ratio;     // chuandongbi
    std::string_view tolerance; // jingdu
    std::string_view smallest;  // zuishaochishu
    std::string_view largest;   // zuidachishu
};

// One click of Calculate: a missing text, or inputs at which the search
// would divide by zero or never end, append "请输入数值" and keep everything
// else; a tolerance below zero gives the message "允差不能为负数" and keeps
// everything else; otherwise the whole result of the ordinary search replaces the list.
// The search answers to `control` (cancel, progress, bound on sets); without
// one it is still bounded by kSetLimit. Beyond the bound the outcome is a
// message and nothing else; after a cancel it is empty.
CalculationOutcome calculateOrdinary(const OrdinaryInput& input, SearchControl* control = nullptr);

// What the ordinary search runs on (the range put in order), or none where
// Calculate appends "请输入数值" instead.
std::optional<GearSearchInputs> ordinaryInputs(const OrdinaryInput& input);

// What the facts of the ordinary calculation's sets need; `input` gives the
// typed texts for the setup sheet.
CalculationFacts ordinaryFacts(const GearSearchInputs& inputs, const OrdinaryInput& input);

} // namespace kelvaro
