// A search under control: it stops at its bound on sets with exactly the
// sets found until then, it ends soon after a cancel even where its ranges
// are enormous, and the calculation turns both into outcomes that change
// nothing but show a message (bound) or nothing at all (cancel).
#include "common/gear_lines.h"
#include "ordinary/ordinary_calculation.h"
#include "ordinary/ordinary_search.h"
#include "support/plain_search.h"

#include <chrono>
#include <future>
#include <gtest/gtest.h>
#include <thread>

namespace kelvaro {
namespace {

using namespace std::chrono_literals;

struct Range {
    const char* name;
    double ratio, tolerance, zmin, zmax;
};

// Whole ranges take the skipping search, a range of fractional counts the
// straight loop; both must keep to the control alike.
const Range kRanges[] = {
    {"skipping", 1.5, 0.001, 20, 60},
    {"straight", 1.5, 0.001, 20.5, 60.5},
};

class BoundTest : public testing::TestWithParam<Range> {};

TEST_P(BoundTest, StopsWithExactlyTheFirstSetsBeyondTheBound) {
    const Range& r = GetParam();
    const auto all = reference::plainSearchGears(r.ratio, r.tolerance, r.zmin, r.zmax).sets;
    ASSERT_GT(all.size(), 100u);
    for (std::size_t limit : {std::size_t{0}, std::size_t{1}, std::size_t{57}, all.size() - 1}) {
        SearchControl control;
        control.setLimit = limit;
        const GearSearchResult result =
            searchGears(r.ratio, r.tolerance, r.zmin, r.zmax, {}, &control);
        EXPECT_EQ(result.end, SearchEnd::TooManySets) << limit;
        EXPECT_EQ(result.sets, std::vector<GearSet>(all.begin(), all.begin() + limit));
        EXPECT_EQ(control.found.load(), limit);
    }
}

TEST_P(BoundTest, ListsEverySetUpToTheBound) {
    const Range& r = GetParam();
    const auto all = reference::plainSearchGears(r.ratio, r.tolerance, r.zmin, r.zmax).sets;
    SearchControl control;
    control.setLimit = all.size();
    const GearSearchResult result = searchGears(r.ratio, r.tolerance, r.zmin, r.zmax, {}, &control);
    EXPECT_EQ(result.end, SearchEnd::Complete);
    EXPECT_EQ(result.sets, all);
    EXPECT_EQ(control.found.load(), all.size());
}

TEST_P(BoundTest, CancelledBeforeItStartsFindsNothing) {
    const Range& r = GetParam();
    SearchControl control;
    control.cancelled = true;
    const GearSearchResult result = searchGears(r.ratio, r.tolerance, r.zmin, r.zmax, {}, &control);
    EXPECT_EQ(result.end, SearchEnd::Cancelled);
    EXPECT_TRUE(result.sets.empty());
}

INSTANTIATE_TEST_SUITE_P(Paths, BoundTest, testing::ValuesIn(kRanges),
                         [](const auto& info) { return std::string(info.param.name); });

// Ranges that would run for days, or for ever: the loop counters from 1E17
// on no longer advance (1E17 + 1 == 1E17).
const Range kEndless[] = {
    {"skipping_to_a_million", 3.14159265358979, 1e-13, 1, 1e6},
    {"straight_to_a_billion", 1.5, 0.00001, 1, 1e9},
    {"counter_cannot_advance", 1.5, 0.00001, 1e17, 1e17 + 64},
};

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

INSTANTIATE_TEST_SUITE_P(Ranges, CancelTest, testing::ValuesIn(kEndless),
                         [](const auto& info) { return std::string(info.param.name); });

struct DefinedRow {
    double zmin, zmax;
    bool defined;
};

class CounterRangeTest : public testing::TestWithParam<DefinedRow> {};

// From 2^53 on a + 1 == a: such a range is refused before the search.
TEST_P(CounterRangeTest, RefusesCountersThatCannotAdvance) {
    EXPECT_EQ(searchIsDefined(1.5, 0.00001, GetParam().zmin, GetParam().zmax), GetParam().defined);
}

INSTANTIATE_TEST_SUITE_P(Ranges, CounterRangeTest,
                         testing::Values(DefinedRow{20, 9007199254740991.0, true},
                                         DefinedRow{20, 9007199254740992.0, false},
                                         DefinedRow{1e17, 1e17, false},
                                         DefinedRow{-9007199254740991.0, -20, true},
                                         DefinedRow{-9007199254740992.0, -20, false},
                                         DefinedRow{1e9, 1, true}));

TEST(BoundedCalculation, RefusesRangesBeyondTheCounterLimitAsMissingInput) {
    const CalculationOutcome outcome = calculateOrdinary({"1.5", "0.00001", "1E17", "1E17"});
    EXPECT_FALSE(outcome.replaceResults);
    EXPECT_EQ(outcome.items, std::vector<std::string>{"请输入数值"});
}

TEST(BoundedCalculation, BeyondTheBoundOnlyAMessage) {
    SearchControl control;
    control.setLimit = 13;
    const CalculationOutcome outcome = calculateOrdinary({"1.5", "0.00001", "20", "30"}, &control);
    EXPECT_FALSE(outcome.replaceResults);
    EXPECT_TRUE(outcome.items.empty());
    EXPECT_TRUE(outcome.printText.empty());
    EXPECT_EQ(outcome.message, "结果超过13组，请缩小齿数范围或减小允差");
}

TEST(BoundedCalculation, AtTheBoundTheWholeList) {
    SearchControl control;
    control.setLimit = 14;
    const CalculationOutcome outcome = calculateOrdinary({"1.5", "0.00001", "20", "30"}, &control);
    EXPECT_TRUE(outcome.replaceResults);
    EXPECT_EQ(outcome.items.size(), 16u);
    EXPECT_TRUE(outcome.message.empty());
}

// Without a control of its own the calculation is bounded by a million sets.
TEST(BoundedCalculation, DefaultBoundIsAMillionSets) {
    EXPECT_EQ(kSetLimit, 1000000u);
    const CalculationOutcome outcome = calculateOrdinary({"1.5", "0.5", "1", "300"});
    EXPECT_FALSE(outcome.replaceResults);
    EXPECT_TRUE(outcome.items.empty());
    EXPECT_EQ(outcome.message, "结果超过1000000组，请缩小齿数范围或减小允差");
}

TEST(BoundedCalculation, CancelledChangesNothing) {
    SearchControl control;
    control.cancelled = true;
    const CalculationOutcome outcome = calculateOrdinary({"1.5", "0.00001", "20", "30"}, &control);
    EXPECT_FALSE(outcome.replaceResults);
    EXPECT_TRUE(outcome.items.empty());
    EXPECT_TRUE(outcome.message.empty());
}

} // namespace
} // namespace kelvaro
