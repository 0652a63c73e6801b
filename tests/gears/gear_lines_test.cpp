// The list and print lines of a set, where the tooth counts' texts have
// other lengths than the two digits of the worked example (which the
// calculation tests hold character by character).
#include "gears/gear_lines.h"

#include <gtest/gtest.h>

namespace kelvaro {
namespace {

struct Row {
    const char* name;
    GearSet set;
    const char* listLine;
    const char* printLine;
};

class GearLinesTest : public testing::TestWithParam<Row> {};

TEST_P(GearLinesTest, ListAndPrintLine) {
    EXPECT_EQ(formatListLine(GetParam().set), GetParam().listLine);
    EXPECT_EQ(formatPrintLine(GetParam().set), GetParam().printLine);
}

INSTANTIATE_TEST_SUITE_P(Sets, GearLinesTest,
                         testing::Values(Row{"OneDigit",
                                             {1, 2, 3, 4, -0.25},
                                             " 1      2      3      4       -.25",
                                             " 1      2      3      4     -.25"},
                                         Row{"ThreeDigits",
                                             {100, 120, 110, 109, 5.713093691683824e-06},
                                             " 100  120  110  109    5.713094E-06",
                                             " 100    120    110    109    5.713094E-06"},
                                         // Blank counts below zero write no blanks: four digits
                                         // leave none after a, b and c and one after d, five none.
                                         Row{"FourDigits",
                                             {1000, 1200, 1100, 1090, 0},
                                             " 1000 1200 1100 1090  0",
                                             " 1000   1200   1100   1090   0"},
                                         Row{"FiveDigitDriven",
                                             {1000, 1200, 1100, 10900, 0},
                                             " 1000 1200 1100 10900 0",
                                             " 1000   1200   1100   10900  0"},
                                         Row{"Fractional",
                                             {20.5, 21.5, 20.5, 21, 0},
                                             " 20.5 21.5 20.5 21      0",
                                             " 20.5   21.5   20.5   21     0"},
                                         Row{"LongerThanAPrintColumn",
                                             {1.25e-7, 21.123456789, 20, 21, 0},
                                             " 1.25E-07 21.123456789 20    21      0",
                                             " 1.25E-07 21.123456789 20     21     0"},
                                         Row{"Negative",
                                             {-20, -19, -20, -19, 0},
                                             "-20   -19   -20   -19      0",
                                             "-20    -19    -20    -19     0"}),
                         [](const auto& info) { return info.param.name; });

} // namespace
} // namespace kelvaro
