#include "common/numeric_value.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <string>

namespace kelvaro {
namespace {

struct Row {
    const char* text;
    double value;
};

class NumericValueTest : public ::testing::TestWithParam<Row> {};

TEST_P(NumericValueTest, ReadsTheLeadingNumber) {
    const Row& row = GetParam();
    const double value = numericValue(row.text);
    if (std::isinf(row.value)) {
        EXPECT_EQ(value, row.value);
    } else {
        // Exact: the conversion must round correctly, like any typed constant.
        EXPECT_EQ(value, row.value) << '"' << row.text << '"';
        EXPECT_EQ(std::signbit(value), std::signbit(row.value)) << '"' << row.text << '"';
    }
}

constexpr double kInf = std::numeric_limits<double>::infinity();

INSTANTIATE_TEST_SUITE_P(
    Texts, NumericValueTest,
    ::testing::Values(
        // No number at all.
        Row{"", 0}, Row{"   ", 0}, Row{"abc", 0}, Row{".", 0}, Row{"-", 0}, Row{"+", 0},
        Row{"e5", 0}, Row{"\r1", 0}, Row{"１", 0},
        // Plain numbers and what may follow them.
        Row{"1.5", 1.5}, Row{" 1.5", 1.5}, Row{"1.5x", 1.5}, Row{"1,5", 1}, Row{"2.5mm", 2.5},
        Row{"1.2.3", 1.2}, Row{".5", 0.5}, Row{"5.", 5}, Row{"0.7", 0.7}, Row{"0.00001", 0.00001},
        Row{"0.8627301359629121", 0.8627301359629121}, Row{"20a", 20}, Row{"007", 7},
        // Signs.
        Row{"-3", -3}, Row{"+2.5", 2.5}, Row{"--3", 0}, Row{"-0", -0.0}, Row{"3-", 3},
        // Blanks, tabs and line feeds are skipped anywhere, other characters are not.
        Row{"1 2", 12}, Row{"\t1\n2", 12}, Row{"- 3", -3}, Row{"1 . 5", 1.5}, Row{"1 e 2", 100},
        Row{"1\r2", 1},
        // Exponents: E or e, optional sign, digits; an exponent without digits is none.
        Row{"1e3", 1000}, Row{"1E-5", 1e-5}, Row{"2.5E+2", 250}, Row{"1e", 1}, Row{"1e+", 1},
        Row{"1e5x", 1e5}, Row{"1D2", 1}, Row{"1e0000000000000000000002", 100},
        // Beyond the range of a double.
        Row{"1E308", 1e308}, Row{"1.7976931348623157E308", 1.7976931348623157e308},
        Row{"1E400", kInf}, Row{"-1E400", -kInf}, Row{"1E-400", 0}, Row{"-1E-400", -0.0},
        Row{"1E-308", 1e-308}, Row{"0e99999999", 0}, Row{"1e99999999999999999999", kInf},
        Row{"0.000000000000000000000000000000000000000000000000000000000000000000000000000000000"
            "00000000000000000000000000000000000000000000000000000000000000000000000000000000000"
            "00000000000000000000000000000000000000000000000000000000000000000000000000000000000"
            "00000000000000000000000000000000000000000000000000000000000000000000000000000000001",
            0},
        Row{"1000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
            "0000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
            "0000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
            "0000000000000000000000000000000000000000000000000000000000000000000000000000000000000",
            kInf}));

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
