// Whole numbers take a short path through numberText; their texts must be
// those that the general path (%.15G, trimmed) gives.
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

// The same texts as C's %.15G (with the blank for a sign and no zero before
// a point) for random whole numbers of every length.
TEST(WholeNumberText, MatchesTheGeneralFormForRandomWholeNumbers) {
    std::mt19937_64 random(15);
    for (int i = 0; i < 20000; ++i) {
        const int digits = std::uniform_int_distribution<int>(1, 15)(random);
        const double limit = std::pow(10.0, digits);
        double value = std::floor(std::uniform_real_distribution<double>(0, limit)(random));
        if (i % 2) value = -value;
        char buffer[40];
        std::snprintf(buffer, sizeof buffer, "%.15G", value == 0 ? 0.0 : value);
        const std::string general = buffer;
        const std::string expected = general[0] == '-' ? general : " " + general;
        ASSERT_EQ(numberText(value), expected) << value;
    }
}

} // namespace
} // namespace kelvaro
