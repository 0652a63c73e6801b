// Number texts are what C's %.15G (numbers) and %.7G (errors, in single
// precision) write, with a blank for the sign of a value >= 0 and no 0
// before the point. They are made without printf, for speed, so they are
// held against printf on random values of every magnitude as well.
#include "common/number_text.h"

#include <cmath>
#include <cstdio>
#include <gtest/gtest.h>
#include <random>
#include <string>

namespace kelvaro {
namespace {

struct Row {
    std::string (*format)(double);
    double value;
    const char* text;
};

class NumberTextTest : public testing::TestWithParam<Row> {};

TEST_P(NumberTextTest, WritesTheValue) {
    EXPECT_EQ(GetParam().format(GetParam().value), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Numbers, NumberTextTest,
    testing::Values(
        Row{numberText, 0, " 0"}, Row{numberText, -0.0, " 0"}, Row{numberText, -20, "-20"},
        // The whole-number path ends where %.15G starts an exponent.
        Row{numberText, 999999999999999, " 999999999999999"}, Row{numberText, 1e15, " 1E+15"},
        Row{numberText, 1234567890123456, " 1.23456789012346E+15"}, Row{numberText, 20.5, " 20.5"},
        Row{numberText, 0.25, " .25"}, Row{numberText, -0.0005, "-.0005"},
        Row{numberText, 0.0001, " .0001"}, Row{numberText, 0.00001, " 1E-05"},
        Row{numberText, 2.4999999613248978, " 2.4999999613249"}, Row{numberText, 0.1 + 0.2, " .3"},
        Row{numberText, -1e-300, "-1E-300"}));

INSTANTIATE_TEST_SUITE_P(Errors, NumberTextTest,
                         testing::Values(Row{errorText, 0, " 0"},
                                         Row{errorText, 1.1102230246251565e-16, " 1.110223E-16"},
                                         Row{errorText, 12345678, " 1.234568E+07"},
                                         Row{errorText, 1234567, " 1234567"},
                                         Row{errorText, -2.5e-6, "-2.5E-06"},
                                         Row{errorText, 0.001, " .001"},
                                         // Converted to single precision first.
                                         Row{errorText, 1e-40, " 9.999946E-41"}));

std::string printfText(const char* format, double value) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, format, value == 0 ? 0.0 : value);
    std::string text = buffer;
    const bool negative = text[0] == '-';
    if (negative) text.erase(0, 1);
    if (text.size() > 1 && text[0] == '0' && text[1] == '.') text.erase(0, 1);
    return (negative ? "-" : " ") + text;
}

// Whole numbers of up to 16 digits, values of every magnitude, and errors
// as the search leaves them: tiny differences of ratios.
TEST(NumberTextForm, MatchesPrintfForRandomValues) {
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> unit(-1, 1);
    std::uniform_int_distribution<int> exponent(-330, 310), digits(1, 16);
    for (int i = 0; i < 50000; ++i) {
        const double whole = std::floor(unit(random) * std::pow(10.0, digits(random)));
        ASSERT_EQ(numberText(whole), printfText("%.15G", whole)) << whole;
        const double value = std::ldexp(unit(random), exponent(random) / 3 * (i % 3 == 0 ? 3 : 1));
        ASSERT_EQ(numberText(value), printfText("%.15G", value)) << value;
        const double error = static_cast<float>(std::ldexp(unit(random), -(i % 64)));
        ASSERT_EQ(errorText(error), printfText("%.7G", error)) << error;
    }
}

} // namespace
} // namespace kelvaro
