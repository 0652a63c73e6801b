// The differential ratio to the last digit, the search over a machine's
// gears, and one click of Calculate from its texts to its outcome.
#include "differential/differential_calculation.h"
#include "differential/differential_ratio.h"
#include "gears/gear_lines.h"
#include "gears/gear_search.h"
#include "support/temporary_catalogue.h"

#include <cmath>
#include <gtest/gtest.h>

namespace kelvaro {
namespace {

using Items = std::vector<std::string>;
const std::string kHeading = "     误差最小的挂轮组及误差为";

TEST(DifferentialRatio, GivesTheWorkedValuesExactly) {
    const double thirty = helixAngleRadians(30, 0, 0);
    EXPECT_EQ(thirty, 0.5235987666666666);
    EXPECT_EQ(std::sin(thirty), 0.49999999226497954);
    EXPECT_EQ(differentialRatio(machineKind("M"), 2, thirty, 10, 0, 30), 2.4999999613248978);
    EXPECT_EQ(differentialRatio(machineKind("C630"), 2, 0, 10, 0, 5), 0.31415926);
    EXPECT_EQ(differentialRatio(machineKind("Y7150"), 2, helixAngleRadians(20, 30, 0), 10, 40, 20),
              0.1170840239232265);
    EXPECT_EQ(differentialRatio(machineKind("ZSTZ"), 2, helixAngleRadians(20, 30, 0), 10, 40, 20),
              0.1170840239232265);
    EXPECT_EQ(helixAngleRadians(15, 30, 36), 0.2707005623666667);
    EXPECT_EQ(differentialRatio(machineKind("M"), 3, helixAngleRadians(15, 0, 0), 10, 0, 15),
              0.8627301359629121);
}

TEST(DifferentialRatio, TakesTheAnglePartsAsTheyAre) {
    EXPECT_EQ(helixAngleRadians(10, 0, 3600), helixAngleRadians(11, 0, 0));
    EXPECT_EQ(helixAngleRadians(10, 75, 0), helixAngleRadians(11.25, 0, 0));
    EXPECT_EQ(helixAngleRadians(10, -30, 0), helixAngleRadians(9.5, 0, 0));
    // Minutes are added to the degrees before the seconds are.
    EXPECT_EQ(helixAngleRadians(5, 10, 30), 0.09032078725);
    // Only the exact model names choose the special formulas.
    const double beta = helixAngleRadians(30, 0, 0);
    for (const char* model : {"c630", "C630 ", "y7150", " ZSTZ", "Y7150X"})
        EXPECT_EQ(differentialRatio(machineKind(model), 2, beta, 10, 40, 5), 2.4999999613248978)
            << model;
}

MachineRecord machine(double min, double max, std::vector<std::int16_t> missing) {
    return {min, max, static_cast<int>(missing.size()), 10, missing};
}

TEST(DifferentialSearch, LeavesOutMissingTeethAndKeepsTheRangeAsStored) {
    // Nothing missing that matters: the ordinary search's 14 sets.
    const GearSearchResult all = searchGears(1.5, 0.00001, 20, 30);
    ASSERT_EQ(all.sets.size(), 14u);
    for (std::vector<std::int16_t> missing : {std::vector<std::int16_t>{0}, {5, 31, -20}}) {
        const GearSearchResult result =
            searchDifferentialGears(1.5, 0.00001, machine(20, 30, missing));
        EXPECT_EQ(result.sets, all.sets);
        EXPECT_EQ(result.best, (GearSet{20, 30, 20, 20, 0}));
    }
    // Only listed sets can be best: not (20, 30, 20, 20), which uses 20.
    GearSearchResult result = searchDifferentialGears(1.5, 0.00001, machine(20, 30, {20}));
    EXPECT_EQ(result.sets, (std::vector<GearSet>{{27, 28, 21, 24, 0}, {30, 30, 24, 25, 0}}));
    EXPECT_EQ(result.best, (GearSet{27, 28, 21, 24, 0}));

    result = searchDifferentialGears(1.5, 0.00001, machine(30, 20, {0}));
    EXPECT_TRUE(result.sets.empty());
    EXPECT_EQ(result.best, (GearSet{0, 0, 0, 0, 0.00001}));
}

class DifferentialCalculation : public ::testing::Test {
  protected:
    void SetUp() override {
        dir.write("jixing.dat", "M\r\nY7150\r\nZSTZ\r\nC630\r\nVERYLONGMODEL\r\n");
        for (const char* model : {"M", "Y7150", "ZSTZ", "C630", "VERYLONGMODEL"})
            dir.write(std::string(model) + ".dat", "20\r\n60\r\n 1\r\n10\r\n0\r\n");
    }
    CalculationOutcome calculate(std::string_view model, DifferentialInput input) {
        return calculateDifferential(input, model, dir.path());
    }
    TemporaryCatalogue dir;
};

TEST_F(DifferentialCalculation, ListsTheWorkedExample) {
    const CalculationOutcome outcome = calculate("M", {"3", "15", "0", "0", "0.00001", ""});
    EXPECT_TRUE(outcome.replaceResults);
    EXPECT_TRUE(outcome.message.empty());
    const std::vector<std::string> items = {
        " 31    59    40    53      5.713094E-06",
        " 39    39    41    43      3.840214E-06",
        kHeading,
        " 39    39    41    43      3.840214E-06",
    };
    EXPECT_EQ(listItems(outcome), items);
    EXPECT_EQ(printText(outcome), "\r      31     59     40     53     5.713094E-06"
                                  "\r      39     39     41     43     3.840214E-06"
                                  "\r" +
                                      kHeading +
                                      "\r      39     39     41     43     3.840214E-06");
    // A model name longer than eight characters reads its own whole-name file.
    EXPECT_EQ(listItems(calculate("VERYLONGMODEL", {"3", "15", "0", "0", "0.00001", ""})), items);
    // Texts count as their leading number.
    EXPECT_EQ(listItems(calculate("M", {"3mm", " 15", "0", "0", "0.00001x", "garbage"})), items);
}

TEST_F(DifferentialCalculation, UsesTheModelsOwnFormula) {
    // C630: neither minutes, seconds nor the machine constant matter.
    const auto c630 = calculate("C630", {"2", "5", "0", "0", "0.00001", ""});
    EXPECT_EQ(listItems(c630), listItems(resultsOutcome(searchDifferentialGears(
                                   0.31415926, 0.00001, machine(20, 60, {0})))));
    EXPECT_EQ(listItems(calculate("C630", {"2", "5", "30", "17", "0.00001", ""})), listItems(c630));
    EXPECT_EQ(listItems(calculate("Y7150", {"2", "20", "30", "0", "0.001", "40"})),
              listItems(resultsOutcome(
                  searchDifferentialGears(0.1170840239232265, 0.001, machine(20, 60, {0})))));
    EXPECT_TRUE(calculate("ZSTZ", {"2", "20", "30", "0", "0.001", "25.5"}).message.empty());
}

TEST_F(DifferentialCalculation, RefusesWhatItCannotCalculate) {
    const Items missing = {"请输入数值"};
    const struct {
        std::string model;
        DifferentialInput input;
        Items items;
        std::string message;
        bool replace = true; // the list and printText emptied first
    } rows[] = {
        // A missing text, before the model is looked at: only appended.
        {"M", {"", "15", "0", "0", "0.00001", ""}, missing, "", false},
        {"M", {"3", "", "0", "0", "0.00001", ""}, missing, "", false},
        {"M", {"3", "15", "", "0", "0.00001", ""}, missing, "", false},
        {"M", {"3", "15", "0", "", "0.00001", ""}, missing, "", false},
        {"M", {"3", "15", "0", "0", "", ""}, missing, "", false},
        {"", {"", "0", "0", "0", "0", ""}, missing, "", false},
        // Message boxes.
        {"", {"3", "15", "0", "0", "0.00001", ""}, {}, "选择机床型号"},
        {"Y7150", {"3", "15", "0", "0", "0.00001", "0"}, {}, "零件齿数错误"},
        {"ZSTZ", {"0", "15", "0", "0", "0.00001", "-3"}, {}, "零件齿数错误"}, // before module 0
        {"N", {"3", "15", "0", "0", "0.00001", ""}, {}, "找不到机床文件 " + dir.file("N.dat")},
        {"M ", {"3", "15", "0", "0", "0.00001", ""}, {}, "找不到机床文件 " + dir.file("M .dat")},
        // Undefined ratios: no search. Blanks are a text, read as 0.
        {"M", {" ", " ", " ", " ", "0.00001", ""}, missing, ""},
        {"C630", {"2", "0", "0", "0", "0.00001", ""}, missing, ""},
        {"M", {"1e-320", "30", "0", "0", "0.00001", ""}, missing, ""},       // ratio infinite
        {"M", {"2", "1e999", "0", "0", "0.00001", ""}, missing, ""},         // sine of infinity
        {"M", {"2", "30", "0", "0", "2.4999999613248978", ""}, missing, ""}, // r - t = 0
        // A tolerance below zero: a message, nothing emptied.
        {"M", {"2", "30", "0", "0", "-2.4999999613248978", ""}, {}, "允差不能为负数", false},
        // A ratio of 0 with a tolerance is defined: nothing is found.
        {"M",
         {"2", "0", "0", "0", "0.00001", ""},
         {kHeading, " 0      0      0      0        1E-05"},
         ""},
    };
    for (const auto& row : rows) {
        const CalculationOutcome outcome = calculate(row.model, row.input);
        SCOPED_TRACE(&row - rows);
        EXPECT_EQ(outcome.replaceResults, row.replace);
        EXPECT_EQ(listItems(outcome), row.items);
        EXPECT_EQ(outcome.message, row.message);
        EXPECT_EQ(printText(outcome).empty(), row.items.size() < 2);
    }
}

} // namespace
} // namespace kelvaro
