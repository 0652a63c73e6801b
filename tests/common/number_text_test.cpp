#include "common/number_text.h"

#include <gtest/gtest.h>

namespace kelvaro {
namespace {

struct Row {
    double value;
    const char* text;
};

class NumberTextTest : public ::testing::TestWithParam<Row> {};
class ErrorTextTest : public ::testing::TestWithParam<Row> {};

TEST_P(NumberTextTest, WritesFifteenDigits) {
    EXPECT_EQ(numberText(GetParam().value), GetParam().text);
}

TEST_P(ErrorTextTest, WritesSevenDigitsOfTheSinglePrecisionValue) {
    EXPECT_EQ(errorText(GetParam().value), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Values, NumberTextTest,
    ::testing::Values(Row{20, " 20"}, Row{0, " 0"}, Row{-0.0, " 0"}, Row{1, " 1"}, Row{120, " 120"},
                      Row{1000, " 1000"}, Row{-3, "-3"}, Row{20.5, " 20.5"}, Row{0.25, " .25"},
                      Row{-0.0005, "-.0005"}, Row{0.0001, " .0001"}, Row{0.00001, " 1E-05"},
                      Row{1.5, " 1.5"}, Row{2.4999999613248978, " 2.4999999613249"},
                      Row{0.1 + 0.2, " .3"}, Row{123456789012345, " 123456789012345"},
                      Row{1e15, " 1E+15"}, Row{1234567890123456, " 1.23456789012346E+15"},
                      Row{1e100, " 1E+100"}, Row{-1e-300, "-1E-300"}));

INSTANTIATE_TEST_SUITE_P(
    Errors, ErrorTextTest,
    ::testing::Values(Row{0, " 0"}, Row{5.713093691683824e-06, " 5.713094E-06"},
                      Row{3.840214058858926e-06, " 3.840214E-06"}, Row{0.00001, " 1E-05"},
                      Row{1.1102230246251565e-16, " 1.110223E-16"}, Row{12345678, " 1.234568E+07"},
                      Row{-2.5e-6, "-2.5E-06"}, Row{0.001, " .001"}, Row{-0.25, "-.25"},
                      Row{1234567, " 1234567"}, Row{0.0001, " .0001"},
                      Row{1e-40, " 9.999946E-41"}));

} // namespace
} // namespace kelvaro
