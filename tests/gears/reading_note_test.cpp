// What a field shows after a Calculate: the number read from a text that is
// not wholly a number, and the progress the search reports.
#include "gears/gear_search.h"
#include "gears/numeric_value.h"

#include <gtest/gtest.h>

namespace kelvaro {

TEST(ReadingNote, NamesTheNumberReadFromASlip) {
    const struct {
        const char* text;
        const char* note;
    } rows[] = {
        {"1,5", "按 1 计算"}, {"3o", "按 3 计算"},  {"24/37", "按 24 计算"}, {"１.５", "按 0 计算"},
        {"1e", "按 1 计算"},  {"1E+", "按 1 计算"}, {"-.5x", "按 -.5 计算"}, {" ", "按 0 计算"},
        {"", "请输入数值"},   {" 1.5 ", ""},        {"-2.5E-3", ""},         {"1 000", ""},
        {"+.5", ""},          {"1E999", ""},
    };
    for (const auto& row : rows)
        EXPECT_EQ(readingNote(row.text), row.note) << row.text;
}

TEST(SearchProgress, CountsTheDrivingPairsDone) {
    SearchControl control;
    searchGears(1.5, 0.00001, 20, 30, {}, &control);
    // The last driving gear starts after all pairs but its one.
    EXPECT_DOUBLE_EQ(control.progress.load(), 65.0 / 66.0);
}

} // namespace kelvaro
