// What a field shows after a Calculate: the number read from a text that is
// not wholly a number.
#include "gears/numeric_value.h"

#include <gtest/gtest.h>

TEST(ReadingNote, NamesTheNumberReadFromASlip) {
    const char* rows[][2] = {
        {"1,5", "按 1 计算"},    {"１.５", "按 0 计算"}, {"1E+", "按 1 计算"},
        {"-.5x", "按 -.5 计算"}, {" ", "按 0 计算"},     {"", "请输入数值"},
        {" 1.5 ", ""},           {"1 000", ""},          {"1E999", ""},
    };
    for (const auto& [text, note] : rows)
        EXPECT_EQ(kelvaro::readingNote(text), note) << text;
}
