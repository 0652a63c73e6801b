#pragma once

#include "common/calculation_outcome.h"

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
// would divide by zero or never end (searchIsDefined), append "请输入数值"
// and keep everything else;
// otherwise the whole result of the ordinary search replaces the list.
CalculationOutcome calculateOrdinary(const OrdinaryInput& input);

} // namespace kelvaro
