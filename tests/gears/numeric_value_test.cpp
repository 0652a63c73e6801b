#include "gears/numeric_value.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <string>

namespace kelvaro {
namespace {

struct Row {
    std::string text;
    double value;
};

class NumericValueTest : public ::testing::TestWithParam<Row> {};

// Exact, with the sign of a zero: the conversion must round correctly, like
// any typed constant.
TEST_P(NumericValueTest, ReadsTheLeadingNumber) {
    const double value = numericValue(GetParam().text);
    EXPECT_EQ(value, GetParam().value) << '"' << GetParam().text << '"';
    EXPECT_EQ(std::signbit(value), std::signbit(GetParam().value)) << '"' << GetParam().text << '"';
}

constexpr double kInf = std::numeric_limits<double>::infinity();

INSTANTIATE_TEST_SUITE_P(
    Texts, NumericValueTest,
    ::testing::Values(
        // No number at all.
        Row{"", 0}, Row{"   ", 0}, Row{"abc", 0}, Row{".", 0}, Row{"-", 0}, Row{"e5", 0},
        Row{"\r1", 0}, Row{"１", 0},
        // Plain numbers and what may follow them.
        Row{"1.5x", 1.5}, Row{"1,5", 1}, Row{"1.2.3", 1.2}, Row{".5", 0.5}, Row{"5.", 5},
        Row{"007", 7}, Row{"0.8627301359629121", 0.8627301359629121},
        // Signs.
        Row{"-3", -3}, Row{"+2.5", 2.5}, Row{"--3", 0}, Row{"-0", -0.0}, Row{"3-", 3},
        // Blanks, tabs and line feeds are skipped anywhere, other characters are not.
        Row{"1 2", 12}, Row{"\t1\n2", 12}, Row{"- 3", -3}, Row{"1 . 5", 1.5}, Row{"1 e 2", 100},
        Row{"1\r2", 1},
        // Exponents: E or e, optional sign, digits; an exponent without digits is none.
        Row{"1E-5", 1e-5}, Row{"2.5E+2", 250}, Row{"1e", 1}, Row{"1e+", 1}, Row{"1e5x", 1e5},
        Row{"1D2", 1}, Row{"1e0000000000000000000002", 100},
        // At and beyond the range of a double.
        Row{"1.7976931348623157E308", 1.7976931348623157e308}, Row{"1E-308", 1e-308},
        Row{"1E400", kInf}, Row{"-1E400", -kInf}, Row{"1E-400", 0}, Row{"-1E-400", -0.0},
        Row{"0e99999999", 0}, Row{"1e99999999999999999999", kInf},
        Row{"0." + std::string(330, '0') + "1", 0}, Row{"1" + std::string(340, '0'), kInf}));

// A long run of digits can carry a value back into range that its exponent
// alone puts far outside it.
TEST(NumericValueTest, LongDigitRunsMeetLongExponents) {
    const std::string zeros(1000000, '0');
    EXPECT_EQ(numericValue("0." + zeros + "1e1000002"), 10);
    EXPECT_EQ(numericValue("-1" + zeros + "e-1000000"), -1);
    EXPECT_EQ(numericValue("1" + zeros + "e-999999"), 10);
    EXPECT_EQ(numericValue("0." + zeros + "1e999999"), 0.01);
    EXPECT_EQ(numericValue("1" + zeros + "e-1"), std::numeric_limits<double>::infinity());
}

} // namespace
} // namespace kelvaro
