#include "ordinary/ordinary_calculation.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace kelvaro {
namespace {

using Items = std::vector<std::string>;

TEST(OrdinaryCalculationTest, WorkedExampleCharacterByCharacter) {
    const CalculationOutcome outcome = calculateOrdinary({"1.5", "0.00001", "20", "30"});
    EXPECT_TRUE(outcome.replaceResults);
    EXPECT_TRUE(outcome.message.empty());
    const Items expected = {
        " 20    30    20    20      0",  " 21    30    20    21      0",
        " 22    30    20    22      0",  " 23    30    20    23      0",
        " 24    25    20    20      0",  " 24    30    20    24      0",
        " 25    30    20    25      0",  " 26    30    20    26      0",
        " 27    28    21    24      0",  " 27    30    20    27      0",
        " 28    30    20    28      0",  " 29    30    20    29      0",
        " 30    30    20    30      0",  " 30    30    24    25      0",
        "     误差最小的挂轮组及误差为", " 20    30    20    20      0",
    };
    EXPECT_EQ(outcome.items, expected);
    EXPECT_EQ(outcome.printText,
              "\r      20     30     20     20     0\r      21     30     20     21     0"
              "\r      22     30     20     22     0\r      23     30     20     23     0"
              "\r      24     25     20     20     0\r      24     30     20     24     0"
              "\r      25     30     20     25     0\r      26     30     20     26     0"
              "\r      27     28     21     24     0\r      27     30     20     27     0"
              "\r      28     30     20     28     0\r      29     30     20     29     0"
              "\r      30     30     20     30     0\r      30     30     24     25     0"
              "\r     误差最小的挂轮组及误差为\r      20     30     20     20     0");
}

TEST(OrdinaryCalculationTest, NothingFoundListsHeadingAndStartingSet) {
    const CalculationOutcome outcome = calculateOrdinary({"3.7", "0.00001", "20", "22"});
    EXPECT_EQ(outcome.items,
              (Items{"     误差最小的挂轮组及误差为", " 0      0      0      0        1E-05"}));
    EXPECT_EQ(outcome.printText,
              "\r     误差最小的挂轮组及误差为\r      0      0      0      0      1E-05");
}

struct TextRow {
    const char* name;
    OrdinaryInput input;
    std::size_t itemCount; // 16 for the worked example's inputs
};

class FieldTextTest : public ::testing::TestWithParam<TextRow> {};

TEST_P(FieldTextTest, FieldsAreReadByTheirLeadingNumber) {
    EXPECT_EQ(calculateOrdinary(GetParam().input).items.size(), GetParam().itemCount);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, FieldTextTest,
    ::testing::Values(TextRow{"LeadingBlank", {" 1.5", "0.00001", "20", "30"}, 16},
                      TextRow{"TrailingLetter", {"1.5x", "0.00001", "20", "30"}, 16},
                      TextRow{"SwappedRange", {"1.5", "0.00001", "30", "20"}, 16},
                      TextRow{"BlankTeeth", {"1.5", "0.00001", " 2 0 ", "3 0"}, 16},
                      // 1,5 reads as 1: R = 1 over 20 to 30 lists 68 sets.
                      TextRow{"CommaIsNoPoint", {"1,5", "0.00001", "20", "30"}, 70},
                      // A ratio of blanks is 0, which finds nothing.
                      TextRow{"BlankRatio", {"   ", "0.00001", "20", "30"}, 2}),
    [](const auto& info) { return info.param.name; });

struct RefusedRow {
    const char* name;
    OrdinaryInput input;
};

class RefusedInputTest : public ::testing::TestWithParam<RefusedRow> {};

TEST_P(RefusedInputTest, AppendsTheMessageItemAndChangesNothingElse) {
    const CalculationOutcome outcome = calculateOrdinary(GetParam().input);
    EXPECT_FALSE(outcome.replaceResults);
    EXPECT_EQ(outcome.items, Items{"请输入数值"});
    EXPECT_TRUE(outcome.message.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, RefusedInputTest,
    ::testing::Values(RefusedRow{"EmptyRatio", {"", "0.00001", "20", "30"}},
                      RefusedRow{"EmptyTolerance", {"1.5", "", "20", "30"}},
                      RefusedRow{"EmptySmallest", {"1.5", "0.00001", "", "30"}},
                      RefusedRow{"EmptyLargest", {"1.5", "0.00001", "20", ""}},
                      // Divisors of zero.
                      RefusedRow{"RatioEqualsTolerance", {"1", "1", "20", "30"}},
                      RefusedRow{"RatioIsMinusTolerance", {"-0.5", "0.5", "20", "30"}},
                      RefusedRow{"ZeroRatioAndTolerance", {"0", "0", "20", "30"}},
                      RefusedRow{"RangeFromZero", {"1.5", "0.00001", "0", "30"}},
                      RefusedRow{"RangeAcrossZero", {"1.5", "0.00001", "10", "-10"}},
                      RefusedRow{"TextsWithoutNumbers", {"1.5", "0.00001", "abc", "30"}},
                      // Beyond the range of a double.
                      RefusedRow{"InfiniteRatio", {"1E400", "0.00001", "20", "30"}},
                      RefusedRow{"InfiniteRange", {"1.5", "0.00001", "20", "1E999"}},
                      // Counts whose loops could never advance.
                      RefusedRow{"CountOf2To53",
                                 {"1", "0.00001", "9007199254740992", "9007199254740992"}},
                      RefusedRow{"HugeCounts", {"1", "0.00001", "1E17", "1E17"}}),
    [](const auto& info) { return info.param.name; });

TEST(OrdinaryCalculationTest, FourDigitTeethWriteNoBlanksInsteadOfFailing) {
    const CalculationOutcome outcome = calculateOrdinary({"1", "0.00001", "1000", "1001"});
    ASSERT_EQ(outcome.items.size(), 5u);
    EXPECT_EQ(outcome.items[0], " 1000 1000 1000 1000  0");
    EXPECT_EQ(outcome.items[4], " 1000 1000 1000 1000  0");
}

TEST(OrdinaryCalculationTest, NegativeRangeAwayFromZeroIsSearched) {
    // The search takes signs as they come: its floor tests pass a set far from
    // the ratio here, and it is listed as found.
    const CalculationOutcome outcome = calculateOrdinary({"1", "0.00001", "-21", "-20"});
    EXPECT_TRUE(outcome.replaceResults);
    EXPECT_EQ(outcome.items,
              (Items{"-21   -20   -21   -21     -.04761905", "     误差最小的挂轮组及误差为",
                     " 0      0      0      0        1E-05"}));
}

} // namespace
} // namespace kelvaro
