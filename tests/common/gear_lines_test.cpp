#include "common/gear_lines.h"

#include <gtest/gtest.h>

namespace kelvaro {
namespace {

struct Row {
    const char* name;
    GearSet set;
    const char* listLine;
    const char* printLine;
};

class GearLinesTest : public ::testing::TestWithParam<Row> {};

TEST_P(GearLinesTest, ListLine) {
    EXPECT_EQ(formatListLine(GetParam().set), GetParam().listLine);
}

TEST_P(GearLinesTest, PrintLine) {
    EXPECT_EQ(formatPrintLine(GetParam().set), GetParam().printLine);
}

INSTANTIATE_TEST_SUITE_P(
    Sets, GearLinesTest,
    ::testing::Values(Row{"TwoDigits",
                          {20, 30, 20, 20, 0},
                          " 20    30    20    20      0",
                          " 20     30     20     20     0"},
                      Row{"ThreeDigits",
                          {100, 120, 110, 109, 5.713093691683824e-06},
                          " 100  120  110  109    5.713094E-06",
                          " 100    120    110    109    5.713094E-06"},
                      Row{"OneDigit",
                          {1, 2, 3, 4, -0.25},
                          " 1      2      3      4       -.25",
                          " 1      2      3      4     -.25"},
                      Row{"NothingFound",
                          {0, 0, 0, 0, 0.00001},
                          " 0      0      0      0        1E-05",
                          " 0      0      0      0      1E-05"},
                      // Four digits leave no blanks after a, b and c, one after d; five none.
                      Row{"FourDigits",
                          {1000, 1200, 1100, 1090, 0},
                          " 1000 1200 1100 1090  0",
                          " 1000   1200   1100   1090   0"},
                      Row{"FiveDigitDriven",
                          {1000, 1200, 1100, 10900, 0},
                          " 1000 1200 1100 10900 0",
                          " 1000   1200   1100   10900  0"},
                      // Fractional counts: " 20.5" is five characters long.
                      Row{"Fractional",
                          {20.5, 21.5, 20.5, 21, 0},
                          " 20.5 21.5 20.5 21      0",
                          " 20.5   21.5   20.5   21     0"},
                      Row{"LongFraction",
                          {1.25e-7, 21.123456789, 20, 21, 0},
                          " 1.25E-07 21.123456789 20    21      0",
                          " 1.25E-07 21.123456789 20     21     0"},
                      Row{"Negative",
                          {-20, -19, -20, -19, 0},
                          "-20   -19   -20   -19      0",
                          "-20    -19    -20    -19     0"}),
    [](const auto& info) { return info.param.name; });

TEST(ResultsOutcomeTest, EndsWithHeadingAndBestSetAlsoWithoutSets) {
    GearSearchResult nothing;
    nothing.best = {0, 0, 0, 0, 0.00001};
    const CalculationOutcome outcome = resultsOutcome(nothing);
    EXPECT_TRUE(outcome.replaceResults);
    EXPECT_EQ(outcome.items, (std::vector<std::string>{"     误差最小的挂轮组及误差为",
                                                       " 0      0      0      0        1E-05"}));
    EXPECT_EQ(outcome.printText,
              "\r     误差最小的挂轮组及误差为\r      0      0      0      0      1E-05");
    EXPECT_TRUE(outcome.message.empty());
}

TEST(ResultsOutcomeTest, OneLinePerSetInOrderFound) {
    GearSearchResult result;
    result.sets = {{31, 59, 40, 53, 5.713093691683824e-06},
                   {39, 39, 41, 43, 3.840214058858926e-06}};
    result.best = result.sets[1];
    const CalculationOutcome outcome = resultsOutcome(result);
    EXPECT_EQ(outcome.items, (std::vector<std::string>{
                                 " 31    59    40    53      5.713094E-06",
                                 " 39    39    41    43      3.840214E-06",
                                 "     误差最小的挂轮组及误差为",
                                 " 39    39    41    43      3.840214E-06",
                             }));
    EXPECT_EQ(outcome.printText, "\r      31     59     40     53     5.713094E-06"
                                 "\r      39     39     41     43     3.840214E-06"
                                 "\r     误差最小的挂轮组及误差为"
                                 "\r      39     39     41     43     3.840214E-06");
}

TEST(MissingInputOutcomeTest, AppendsOneItemAndKeepsTheRest) {
    const CalculationOutcome outcome = missingInputOutcome();
    EXPECT_FALSE(outcome.replaceResults);
    EXPECT_EQ(outcome.items, std::vector<std::string>{"请输入数值"});
    EXPECT_TRUE(outcome.message.empty());
}

} // namespace
} // namespace kelvaro
