// The number texts are made without printf, for speed; they must be what
// C's %.15G (numbers) and %.7G (errors, in single precision) give, with a
// blank for the sign of a value >= 0 and no 0 before the point.
#include "common/number_text.h"

#include <cmath>
#include <cstdio>
#include <gtest/gtest.h>
#include <random>
#include <string>

namespace kelvaro {
namespace {

struct TextRow {
    double value;
    const char* text;
};

class WholeNumberText : public testing::TestWithParam<TextRow> {};

TEST_P(WholeNumberText, IsTheSignOrABlankThenTheDigits) {
    EXPECT_EQ(numberText(GetParam().value), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Values, WholeNumberText,
                         testing::Values(TextRow{0, " 0"}, TextRow{-0.0, " 0"}, TextRow{7, " 7"},
                                         TextRow{20, " 20"}, TextRow{-20, "-20"},
                                         TextRow{1000, " 1000"},
                                         TextRow{999999999999999, " 999999999999999"},
                                         TextRow{-999999999999999, "-999999999999999"},
                                         // From 10^15 on, %.15G writes an exponent.
                                         TextRow{1e15, " 1E+15"}, TextRow{-1e15, "-1E+15"},
                                         TextRow{9007199254740993.0, " 9.00719925474099E+15"},
                                         TextRow{20.5, " 20.5"}, TextRow{-0.5, "-.5"}));

std::string printfText(const char* format, double value) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, format, value == 0 ? 0.0 : value);
    std::string text = buffer;
    const bool negative = text[0] == '-';
    if (negative) text.erase(0, 1);
    if (text.size() > 1 && text[0] == '0' && text[1] == '.') text.erase(0, 1);
    return (negative ? "-" : " ") + text;
}

TEST(NumberTextForm, MatchesPrintfForRandomWholeNumbers) {
    std::mt19937_64 random(15);
    for (int i = 0; i < 20000; ++i) {
        const int digits = std::uniform_int_distribution<int>(1, 16)(random);
        double value =
            std::floor(std::uniform_real_distribution<double>(0, std::pow(10.0, digits))(random));
        if (i % 2) value = -value;
        ASSERT_EQ(numberText(value), printfText("%.15G", value)) << value;
    }
}

// Values of every magnitude, and errors as the search leaves them: tiny
// differences of ratios, converted to single precision.
TEST(NumberTextForm, MatchesPrintfForRandomValuesAndErrors) {
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> unit(-1, 1);
    std::uniform_int_distribution<int> exponent(-330, 310);
    for (int i = 0; i < 50000; ++i) {
        const double value = std::ldexp(unit(random), exponent(random) / 3 * (i % 3 == 0 ? 3 : 1));
        ASSERT_EQ(numberText(value), printfText("%.15G", value)) << value;
        const double error = static_cast<float>(std::ldexp(unit(random), -(i % 64)));
        ASSERT_EQ(errorText(error), printfText("%.7G", error)) << error;
    }
}

} // namespace
} // namespace kelvaro
