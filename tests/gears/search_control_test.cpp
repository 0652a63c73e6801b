// A search under control: it stops at its bound on sets with exactly the
// sets found until then, it ends soon after a cancel even where its ranges
// are enormous, and the calculation turns both into outcomes that change
// nothing but show a message (bound) or nothing at all (cancel).
#include "gears/gear_lines.h"
#include "gears/gear_search.h"
#include "ordinary/ordinary_calculation.h"
#include "support/plain_search.h"

#include <chrono>
#include <future>
#include <gtest/gtest.h>

namespace kelvaro {
namespace {

using namespace std::chrono_literals;

struct Range {
    const char* name;
    double ratio, tolerance, zmin, zmax;
};

class BoundTest : public testing::TestWithParam<Range> {};

TEST_P(BoundTest, StopsWithExactlyTheSetsUpToTheBound) {
    const Range& r = GetParam();
    const auto search = [&r](SearchControl& control) {
        return searchGears(r.ratio, r.tolerance, r.zmin, r.zmax, {}, &control);
    };
    const auto all = reference::plainSearchGears(r.ratio, r.tolerance, r.zmin, r.zmax).sets;
    ASSERT_GT(all.size(), 100u);
    for (std::size_t limit :
         {std::size_t{0}, std::size_t{1}, std::size_t{57}, all.size() - 1, all.size()}) {
        SearchControl control;
        control.setLimit = limit;
        const GearSearchResult result = search(control);
        EXPECT_EQ(result.end, limit < all.size() ? SearchEnd::TooManySets : SearchEnd::Complete);
        EXPECT_EQ(result.sets, std::vector<GearSet>(all.begin(), all.begin() + limit)) << limit;
        EXPECT_EQ(control.found.load(), limit);
    }
    SearchControl cancelled;
    cancelled.cancelled = true;
    const GearSearchResult result = search(cancelled);
    EXPECT_EQ(result.end, SearchEnd::Cancelled);
    EXPECT_TRUE(result.sets.empty());
}

// Whole ranges take the skipping search, fractional counts the straight
// loop; both must keep to the control alike.
INSTANTIATE_TEST_SUITE_P(Paths, BoundTest,
                         testing::Values(Range{"skipping", 1.5, 0.001, 20, 60},
                                         Range{"straight", 1.5, 0.001, 20.5, 60.5}),
                         [](const auto& info) { return std::string(info.param.name); });

class CancelTest : public testing::TestWithParam<Range> {};

TEST_P(CancelTest, EndsSoonAfterTheCancel) {
    const Range& r = GetParam();
    SearchControl control;
    auto search = std::async(std::launch::async, [&] {
        return searchGears(r.ratio, r.tolerance, r.zmin, r.zmax, {}, &control);
    });
    ASSERT_EQ(search.wait_for(100ms), std::future_status::timeout);
    control.cancelled = true;
    ASSERT_EQ(search.wait_for(10s), std::future_status::ready);
    EXPECT_EQ(search.get().end, SearchEnd::Cancelled);
}

// Ranges that would run for days, or for ever: from 1E17 on the loop
// counters no longer advance (1E17 + 1 == 1E17).
INSTANTIATE_TEST_SUITE_P(
    Ranges, CancelTest,
    testing::Values(Range{"skipping_to_a_million", 3.14159265358979, 1e-13, 1, 1e6},
                    Range{"straight_to_a_billion", 1.5, 0.00001, 1, 1e9},
                    Range{"counter_cannot_advance", 1.5, 0.00001, 1e17, 1e17 + 64}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BoundedCalculation, BeyondTheBoundOnlyAMessageAfterACancelNothing) {
    // 1.5 over 20 to 30 lists 14 sets.
    const struct {
        std::size_t limit;
        bool cancelled;
        std::size_t items;
        std::string message;
    } rows[] = {
        {14, false, 16, ""},
        {13, false, 0, "结果超过13组，请缩小齿数范围或减小允差"},
        {14, true, 0, ""},
    };
    for (const auto& row : rows) {
        SearchControl control;
        control.setLimit = row.limit;
        control.cancelled = row.cancelled;
        const CalculationOutcome outcome =
            calculateOrdinary({"1.5", "0.00001", "20", "30"}, &control);
        EXPECT_EQ(outcome.replaceResults, row.items > 0);
        EXPECT_EQ(listItems(outcome).size(), row.items);
        EXPECT_EQ(printText(outcome).empty(), row.items == 0);
        EXPECT_EQ(outcome.message, row.message);
    }
    // Without a control of its own the calculation is bounded by a million sets.
    EXPECT_EQ(calculateOrdinary({"1.5", "0.5", "1", "300"}).message,
              "结果超过1000000组，请缩小齿数范围或减小允差");
}

} // namespace
} // namespace kelvaro
