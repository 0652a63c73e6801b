#pragma once

#include "gears/gear_set.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kelvaro {

struct CalculationFacts;

inline constexpr const char* kMissingInputItem = "请输入数值";
inline constexpr const char* kBestSetHeading = "     误差最小的挂轮组及误差为";
// What a calculation says, as its message, when memory runs out.
inline constexpr const char* kOutOfMemoryMessage = "内存不足，请缩小齿数范围或减小允差";

// What one click of a calculation window's Calculate does to the window: a
// window applies it in this order and does nothing else.
struct CalculationOutcome {
    // Empty the result list and printText; then, where a search completed,
    // its sets become the list (a line per set, the heading, the best set)
    // and printText. Lines and printText are made from the sets when they
    // are needed, not kept as texts.
    bool replaceResults = false;
    std::optional<GearSearchResult> results;
    // What the facts of those sets need: the search's inputs and the
    // calculation's own facts (set_details.h). Set with `results`.
    std::shared_ptr<const CalculationFacts> facts;
    // Items appended to the end of the result list.
    std::vector<std::string> items;
    // Message box text; empty for none.
    std::string message;
};

// An input is missing (or unusable): one item at the end of the list,
// everything else kept.
CalculationOutcome missingInputOutcome();

// The message of a search stopped at its bound on sets, for example
// "结果超过1000000组，请缩小齿数范围或减小允差".
std::string tooManySetsMessage(std::size_t setLimit);

} // namespace kelvaro
