// Number fields read, numbers and sets written: rows for the edges, and the
// conversions held against C's strtod and printf on random values.
#include "gears/gear_lines.h"
#include "gears/number_text.h"
#include "gears/numeric_value.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <gtest/gtest.h>
#include <limits>
#include <random>
#include <string>

namespace kelvaro {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

bool sameBits(double x, double y) {
    return std::memcmp(&x, &y, sizeof x) == 0;
}

// Blanks, tabs and line feeds are skipped anywhere, other characters end
// the number, an exponent without digits is none; long runs of digits
// carry a value back into range.
TEST(NumericValue, ReadsTheLeadingNumberExactly) {
    const std::string zeros(1000000, '0');
    const struct {
        std::string text;
        double value;
    } rows[] = {{"", 0},
                {"\r1", 0},
                {"1.5x", 1.5},
                {"-0", -0.0},
                {"\t1\n2", 12},
                {"1 e 2", 100},
                {"1E400", kInf},
                {"1e9300000000000000000", kInf},
                {"0." + zeros + "1e1000002", 10},
                {"1" + zeros + "e-1", kInf}};
    for (const auto& row : rows)
        EXPECT_TRUE(sameBits(numericValue(row.text), row.value))
            << row.text.substr(0, 40) << " gives " << numericValue(row.text);
}

// What printf writes, with a blank for the sign of a value >= 0 and no 0
// before the point.
std::string printfText(const char* format, double value) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, format, value == 0 ? 0.0 : value);
    std::string text = buffer;
    const bool negative = text[0] == '-';
    if (negative) text.erase(0, 1);
    if (text.size() > 1 && text[0] == '0' && text[1] == '.') text.erase(0, 1);
    return (negative ? "-" : " ") + text;
}

// Whole numbers of up to 16 digits, values of every magnitude, errors as
// the search leaves them. (Reading is held against strtod by the
// numeric_value fuzzer, on any bytes.)
TEST(NumberText, MatchesPrintf) {
    EXPECT_EQ(numberText(-0.0), " 0");
    EXPECT_EQ(errorText(1e-40), " 9.999946E-41"); // in single precision
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

// Tooth counts of other lengths than the worked examples' two digits.
TEST(GearLines, KeepTheirColumnsOrWriteNoBlanks) {
    const struct {
        GearSet set;
        const char *listLine, *printLine;
    } rows[] = {
        {{100, 120, 110, 109, 5.713093691683824e-06},
         " 100  120  110  109    5.713094E-06",
         " 100    120    110    109    5.713094E-06"},
        {{1000, 1200, 1100, 10900, 0}, " 1000 1200 1100 10900 0", " 1000   1200   1100   10900  0"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(formatListLine(row.set), row.listLine);
        EXPECT_EQ(formatPrintLine(row.set), row.printLine);
    }
}

} // namespace
} // namespace kelvaro
