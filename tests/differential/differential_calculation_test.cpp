// The differential ratio of each machine kind to the last digit, the worked
// example from the field texts to the list and printText, and what the
// calculation refuses, with its message.
#include "differential/differential_calculation.h"
#include "gears/differential_ratio.h"
#include "gears/gear_lines.h"
#include "support/temporary_catalogue.h"

#include <gtest/gtest.h>

namespace kelvaro {
namespace {

using Lines = std::vector<std::string>;
const std::string kHeading = "     误差最小的挂轮组及误差为";

TEST(DifferentialRatio, GivesTheWorkedValuesExactly) {
    const double thirty = helixAngleRadians(30, 0, 0);
    EXPECT_EQ(describeModel("M").ratio({2, thirty, 10, 0, 30}), 2.4999999613248978);
    EXPECT_EQ(describeModel("C630").ratio({2, 0, 10, 0, 5}), 0.31415926);
    for (const char* model : {"Y7150", "ZSTZ"})
        EXPECT_EQ(describeModel(model).ratio({2, helixAngleRadians(20, 30, 0), 10, 40, 20}),
                  0.1170840239232265);
    // Only the exact model names choose the special formulas.
    for (const char* model : {"c630", "C630 ", "y7150", " ZSTZ", "Y7150X"})
        EXPECT_EQ(describeModel(model).ratio({2, thirty, 10, 40, 5}), 2.4999999613248978);
    // Minutes are added to the degrees before the seconds are.
    EXPECT_EQ(helixAngleRadians(5, 10, 30), 0.09032078725);
}

TEST(DifferentialCalculation, ListsTheWorkedExampleAndRefusesWhatItCannotCalculate) {
    TemporaryCatalogue dir;
    for (const char* model : {"M", "Y7150", "C630", "VERYLONGMODEL"})
        dir.write(std::string(model) + ".dat", "20\r\n60\r\n 1\r\n10\r\n0\r\n");
    const DifferentialInput input{"3", "15", "0", "0", "0.00001", ""};
    const CalculationOutcome worked = calculateDifferential(input, "M", dir.path());
    const Lines example = {" 31    59    40    53      5.713094E-06",
                           " 39    39    41    43      3.840214E-06", kHeading,
                           " 39    39    41    43      3.840214E-06"};
    EXPECT_EQ(listItems(worked), example); // printText as the ordinary one's
    const Lines missing = {"请输入数值"};
    const std::string kNegative = "允差不能为负数";
    const struct {
        const char* name;
        std::string model;
        DifferentialInput input;
        Lines lines;
        std::string message;
        bool replace = true; // the list and printText emptied first
    } rows[] = {
        {"a long name: its own file", "VERYLONGMODEL", input, example, ""},
        {"a missing text: only appended", "", {"", "0", "0", "0", "0", ""}, missing, "", false},
        {"no model chosen", "", input, {}, "选择机床型号"},
        {"part teeth 0", "Y7150", {"3", "15", "0", "0", "0.00001", "0"}, {}, "零件齿数错误"},
        {"no machine file", "M ", input, {}, "找不到机床文件 " + dir.file("M .dat")},
        {"lathe module 0: no search", "C630", {"2", "0", "0", "0", "0.00001", ""}, missing, ""},
        {"r - t = 0: no search", "M", {"2", "30", "0", "0", "2.4999999613248978", ""}, missing, ""},
        {"a negative tolerance", "M", {"2", "30", "0", "0", "-2.5", ""}, {}, kNegative, false},
    };
    for (const auto& row : rows) {
        const CalculationOutcome outcome = calculateDifferential(row.input, row.model, dir.path());
        SCOPED_TRACE(row.name);
        EXPECT_EQ(outcome.replaceResults, row.replace);
        EXPECT_EQ(listItems(outcome), row.lines);
        EXPECT_EQ(outcome.message, row.message);
    }
}

} // namespace
} // namespace kelvaro
