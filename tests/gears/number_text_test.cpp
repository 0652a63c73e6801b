// Number texts are what C's %.15G (numbers) and %.7G (errors, in single
// precision) write, with a blank for the sign of a value >= 0 and no 0
// before the point. They are made without printf, for speed, so they are
// held against printf on random values of every magnitude as well.
#include "gears/number_text.h"

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

// Examples; the comparison with printf below covers every magnitude.
INSTANTIATE_TEST_SUITE_P(Values, NumberTextTest,
                         testing::Values(Row{numberText, -20, "-20"}, Row{numberText, -0.0, " 0"},
                                         Row{numberText, 0.25, " .25"},
                                         Row{numberText, -0.0005, "-.0005"},
                                         Row{numberText, 2.4999999613248978, " 2.4999999613249"},
                                         Row{numberText, 1e15, " 1E+15"},
                                         Row{errorText, 0.00001, " 1E-05"},
                                         Row{errorText, 1.1102230246251565e-16, " 1.110223E-16"},
                                         // Errors are converted to single precision first.
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
