// One click of PuTong's Calculate, from the four field texts to the list
// items and printText, and the few search results that the texts cannot
// show.
#include "gears/gear_lines.h"
#include "gears/gear_search.h"
#include "ordinary/ordinary_calculation.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace kelvaro {
namespace {

using Items = std::vector<std::string>;

const std::string kHeading = "     误差最小的挂轮组及误差为";
const Items kWorkedExample = {
    " 20    30    20    20      0", " 21    30    20    21      0", " 22    30    20    22      0",
    " 23    30    20    23      0", " 24    25    20    20      0", " 24    30    20    24      0",
    " 25    30    20    25      0", " 26    30    20    26      0", " 27    28    21    24      0",
    " 27    30    20    27      0", " 28    30    20    28      0", " 29    30    20    29      0",
    " 30    30    20    30      0", " 30    30    24    25      0", kHeading,
    " 20    30    20    20      0",
};
const Items kNothingFound = {kHeading, " 0      0      0      0        1E-05"};
const Items kMissing = {"请输入数值"};

TEST(OrdinaryCalculation, WorkedExampleCharacterByCharacter) {
    const CalculationOutcome outcome = calculateOrdinary({"1.5", "0.00001", "20", "30"});
    EXPECT_TRUE(outcome.replaceResults);
    EXPECT_TRUE(outcome.message.empty());
    EXPECT_EQ(listItems(outcome), kWorkedExample);
    EXPECT_EQ(printText(outcome),
              "\r      20     30     20     20     0\r      21     30     20     21     0"
              "\r      22     30     20     22     0\r      23     30     20     23     0"
              "\r      24     25     20     20     0\r      24     30     20     24     0"
              "\r      25     30     20     25     0\r      26     30     20     26     0"
              "\r      27     28     21     24     0\r      27     30     20     27     0"
              "\r      28     30     20     28     0\r      29     30     20     29     0"
              "\r      30     30     20     30     0\r      30     30     24     25     0"
              "\r     误差最小的挂轮组及误差为\r      20     30     20     20     0");
    // Nothing found: the heading and the starting set, whose error is the tolerance.
    EXPECT_EQ(printText(calculateOrdinary({"3.7", "0.00001", "20", "22"})),
              "\r     误差最小的挂轮组及误差为\r      0      0      0      0      1E-05");
}

struct Row {
    const char* name;
    OrdinaryInput input;
    Items items; // kMissing: appended to the list, which is kept
};

void PrintTo(const Row& row, std::ostream* os) {
    *os << row.name;
}

class OrdinaryFieldsTest : public testing::TestWithParam<Row> {};

TEST_P(OrdinaryFieldsTest, GiveTheseItems) {
    const CalculationOutcome outcome = calculateOrdinary(GetParam().input);
    EXPECT_EQ(listItems(outcome), GetParam().items);
    EXPECT_EQ(outcome.replaceResults, GetParam().items != kMissing);
    EXPECT_TRUE(outcome.message.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Found, OrdinaryFieldsTest,
    testing::Values(Row{"LeadingNumbers", {" 1.5x", "0.00001", " 2 0 ", "3 0"}, kWorkedExample},
                    Row{"SwappedRange", {"1.5", "0.00001", "30", "20"}, kWorkedExample},
                    Row{"NothingFits", {"3.7", "0.00001", "20", "22"}, kNothingFound},
                    // Blanks are a text, read as 0: a ratio of 0 finds nothing.
                    Row{"BlankRatio", {"   ", "0.00001", "20", "30"}, kNothingFound},
                    // Both floors of every test are equal: not even an exact set passes.
                    Row{"ZeroTolerance",
                        {"1.5", "0", "20", "30"},
                        {kHeading, " 0      0      0      0        0"}},
                    Row{"OneToothCount",
                        {"1", "0.00001", "25", "25"},
                        {" 25    25    25    25      0", kHeading, " 25    25    25    25      0"}},
                    Row{"RatioOne",
                        {"1", "0.00001", "20", "22"},
                        {" 20    20    20    20      0", " 20    21    20    21      0",
                         " 20    22    20    22      0", " 21    21    21    21      0",
                         " 21    22    21    22      0", " 22    22    22    22      0", kHeading,
                         " 20    20    20    20      0"}},
                    // Signs are taken as they come: the floor tests pass a set far from the ratio.
                    Row{"NegativeRange",
                        {"1", "0.00001", "-21", "-20"},
                        {"-21   -20   -21   -21     -.04761905", kHeading, kNothingFound[1]}},
                    // The largest counts whose loops still advance.
                    Row{"CountBelow2To53",
                        {"1", "0.00001", "9007199254740991", "9007199254740991"},
                        kNothingFound},
                    Row{"NegativeCountBelow2To53",
                        {"1", "0.00001", "-9007199254740991", "-9007199254740991"},
                        kNothingFound}),
    [](const auto& info) { return info.param.name; });

INSTANTIATE_TEST_SUITE_P(
    Refused, OrdinaryFieldsTest,
    testing::Values(
        Row{"EmptyRatio", {"", "0.00001", "20", "30"}, kMissing},
        Row{"EmptyTolerance", {"1.5", "", "20", "30"}, kMissing},
        Row{"EmptySmallest", {"1.5", "0.00001", "", "30"}, kMissing},
        Row{"EmptyLargest", {"1.5", "0.00001", "20", ""}, kMissing},
        // Divisors of zero: ratio - tolerance, ratio + tolerance, c.
        Row{"RatioEqualsTolerance", {"1", "1", "20", "30"}, kMissing},
        Row{"RatioIsMinusTolerance", {"-0.5", "0.5", "20", "30"}, kMissing},
        Row{"RangeFromZero", {"1.5", "0.00001", "0", "30"}, kMissing},
        Row{"SwappedRangeToZero", {"1.5", "0.00001", "0", "-5"}, kMissing},
        // Beyond the range of a double.
        Row{"InfiniteRatio", {"1E400", "0.00001", "20", "30"}, kMissing},
        Row{"InfiniteTolerance", {"1.5", "1E400", "20", "30"}, kMissing},
        Row{"InfiniteRange", {"1.5", "0.00001", "20", "1E999"}, kMissing},
        // From 2^53 on a count plus 1 is the same count: endless loops.
        Row{"Largest2To53", {"1", "0.00001", "20", "9007199254740992"}, kMissing},
        Row{"SmallestMinus2To53", {"1", "0.00001", "-9007199254740992", "-20"}, kMissing}),
    [](const auto& info) { return info.param.name; });

// Computed as ((24 * 35) / 25) / 48 - 0.7, the error of an exact set is a
// residue, not 0; it does not replace the earlier best with error 0.
TEST(OrdinarySearch, ResidueOfDoubleArithmeticDoesNotReplaceAnExactBest) {
    const GearSearchResult result = searchOrdinaryGears(0.7, 0.00001, 24, 100);
    ASSERT_GE(result.sets.size(), 4u);
    EXPECT_EQ(result.sets[0], (GearSet{24, 28, 24, 40, 0}));
    EXPECT_EQ(result.sets[3], (GearSet{24, 35, 25, 48, 1.1102230246251565e-16}));
    EXPECT_EQ(result.best, result.sets[0]);
}

} // namespace
} // namespace kelvaro
