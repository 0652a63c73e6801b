// One click of PuTong's Calculate, from the four field texts to the list
// lines and printText: the worked example character by character, then how
// each kind of field text is taken or refused.
#include "gears/gear_lines.h"
#include "gears/gear_search.h"
#include "ordinary/ordinary_calculation.h"

#include <gtest/gtest.h>

namespace kelvaro {
namespace {

using Lines = std::vector<std::string>;

const std::string kHeading = "     误差最小的挂轮组及误差为";
const Lines kWorkedExample = {
    " 20    30    20    20      0", " 21    30    20    21      0", " 22    30    20    22      0",
    " 23    30    20    23      0", " 24    25    20    20      0", " 24    30    20    24      0",
    " 25    30    20    25      0", " 26    30    20    26      0", " 27    28    21    24      0",
    " 27    30    20    27      0", " 28    30    20    28      0", " 29    30    20    29      0",
    " 30    30    20    30      0", " 30    30    24    25      0", kHeading,
    " 20    30    20    20      0"};
const Lines kNothingFound = {kHeading, " 0      0      0      0        1E-05"};
const Lines kMissing = {"请输入数值"};

TEST(OrdinaryCalculation, WorkedExampleCharacterByCharacter) {
    const CalculationOutcome outcome = calculateOrdinary({"1.5", "0.00001", "20", "30"});
    EXPECT_TRUE(outcome.replaceResults && outcome.message.empty());
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
    // Nothing found: kelvaro-calc's --printout row shows the heading and the starting set.
}

TEST(OrdinaryCalculation, TakesOrRefusesEachKindOfFieldText) {
    const struct {
        const char* name;
        OrdinaryInput input;
        Lines lines; // kMissing: appended to the list, which is kept
    } rows[] = {
        {"leading numbers, blanks skipped", {" 1.5x", "0.00001", " 2 0 ", "3 0"}, kWorkedExample},
        {"a swapped range", {"1.5", "0.00001", "30", "20"}, kWorkedExample},
        // Both floors of every test are equal: not even an exact set passes.
        {"tolerance 0", {"1.5", "0", "20", "30"}, {kHeading, " 0      0      0      0        0"}},
        // Signs are taken as they come: the floor tests pass a set far from the ratio.
        {"negative counts",
         {"1", "0.00001", "-21", "-20"},
         {"-21   -20   -21   -21     -.04761905", kHeading, kNothingFound[1]}},
        {"below 2^53", {"1", "0.00001", "9007199254740991", "9007199254740991"}, kNothingFound},
        {"an empty ratio", {"", "0.00001", "20", "30"}, kMissing},
        {"ratio - tolerance = 0", {"1", "1", "20", "30"}, kMissing},
        {"ratio + tolerance = 0", {"-0.5", "0.5", "20", "30"}, kMissing},
        {"c = 0", {"1.5", "0.00001", "0", "30"}, kMissing},
        {"2^53: count + 1 == count", {"1", "0.00001", "20", "9007199254740992"}, kMissing},
    };
    for (const auto& row : rows) {
        const CalculationOutcome outcome = calculateOrdinary(row.input);
        SCOPED_TRACE(row.name);
        EXPECT_EQ(listItems(outcome), row.lines);
        EXPECT_EQ(outcome.replaceResults, row.lines != kMissing);
        EXPECT_TRUE(outcome.message.empty());
    }
}

// Computed as ((24 * 35) / 25) / 48 - 0.7, the error of an exact set is a
// residue, not 0; it does not replace the earlier best with error 0.
TEST(OrdinarySearch, ResidueOfDoubleArithmeticDoesNotReplaceAnExactBest) {
    const GearSearchResult result = searchGears(0.7, 0.00001, 24, 100);
    ASSERT_GE(result.sets.size(), 4u);
    EXPECT_EQ(result.sets[3], (GearSet{24, 35, 25, 48, 1.1102230246251565e-16}));
    EXPECT_EQ(result.best, (GearSet{24, 28, 24, 40, 0}));
}

} // namespace
} // namespace kelvaro
