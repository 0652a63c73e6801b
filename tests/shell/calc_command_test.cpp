// kelvaro-calc: a calculation window's outcome on standard output (its list
// items, or with --printout its printText one line per line), its message
// boxes on standard error, and the exit status. The texts themselves are
// the calculations', tested with them.
#include "catalogue/application_directory.h"
#include "differential/differential_calculation.h"
#include "gears/gear_lines.h"
#include "ordinary/ordinary_calculation.h"
#include "shell/calc_command.h"
#include "support/temporary_catalogue.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>

namespace kelvaro {
namespace {

struct CalcRun {
    int status;
    std::string out, err;
};

CalcRun run(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int status = runCalcCommand(args, out, err);
    return {status, out.str(), err.str()};
}

std::string lines(const std::vector<std::string>& items) {
    std::string text;
    for (const std::string& item : items)
        text += item + "\n";
    return text;
}

std::string printout(std::string printText) {
    std::replace(printText.begin(), printText.end(), '\r', '\n');
    return printText + "\n";
}

TEST(CalcCommand, WritesTheOutcomeAndItsStatus) {
    TemporaryCatalogue dir;
    dir.write("jixing.dat", "M\r\nY7150\r\n");
    for (const char* model : {"M", "Y7150", "--M"})
        dir.write(std::string(model) + ".dat", "20\r\n60\r\n 1\r\n10\r\n0\r\n");
    const CalculationOutcome ordinary = calculateOrdinary({"1.5", "0.00001", "20", "30"});
    const CalculationOutcome differential =
        calculateDifferential({"3", "15", "0", "0", "0.00001", ""}, "M", dir.path());
    const std::string usage = "Usage: kelvaro-calc";
    const std::vector<std::string> worked = {"3", "15", "0", "0", "0.00001"};
    const auto withCatalogue = [&dir, &worked](std::vector<std::string> head) {
        head.insert(head.begin() + 1, {"--catalogue", dir.path()});
        head.insert(head.end(), worked.begin(), worked.end());
        return head;
    };
    const struct {
        std::vector<std::string> args;
        int status;
        std::string out, err; // for status 2, the start of err
    } rows[] = {
        {{"ordinary", "1.5", "0.00001", "20", "30"}, 0, lines(listItems(ordinary)), ""},
        {{"ordinary", "--printout", "1.5", "0.00001", "20", "30"},
         0,
         "      i=1.5\n      主动    主动    被动    被动\n" + printout(printText(ordinary)),
         ""},
        {{"--printout", "ordinary", "1.5", "0.00001", "20", "30"},
         0,
         "      i=1.5\n      主动    主动    被动    被动\n" + printout(printText(ordinary)),
         ""},
        // An empty argument is an empty field; negative numbers are no options.
        {{"ordinary", "1.5", "0.00001", "", "30"}, 0, "请输入数值\n", ""},
        {{"ordinary", "-1", "0.00001", "-21", "-20"},
         0,
         lines(listItems(calculateOrdinary({"-1", "0.00001", "-21", "-20"}))),
         ""},
        {withCatalogue({"differential", "M"}), 0, lines(listItems(differential)), ""},
        {withCatalogue({"differential", "--printout", "M"}), 0,
         "      m=3  β=15°0′0″\n      主动   主动   被动   被动\n" +
             printout(printText(differential)),
         ""},
        {withCatalogue({"differential", "--", "--M"}), 0, lines(listItems(differential)), ""},
        // Message boxes; a missing TEETH is an empty tooth-count field.
        {withCatalogue({"differential", ""}), 1, "", "选择机床型号\n"},
        {withCatalogue({"differential", "Y7150"}), 1, "", "零件齿数错误\n"},
        {{"differential", "--catalogue", dir.path(), "Y7150", "2", "20", "30", "0", "0.001", "40"},
         0,
         lines(listItems(
             calculateDifferential({"2", "20", "30", "0", "0.001", "40"}, "Y7150", dir.path()))),
         ""},
        // Wrong arguments.
        {{}, 2, "", usage},
        {{"ordinary", "1.5", "0.00001", "20"}, 2, "", usage},
        {{"ordinary", "1.5", "0.00001", "20", "30", "40"}, 2, "", usage},
        {{"sideways", "1", "2", "3", "4"}, 2, "", usage},
        {{"differential", "M", "3", "15", "0", "0"}, 2, "", usage},
        {{"differential", "M", "3", "15", "0", "0", "0.00001", "40", "1"}, 2, "", usage},
        {{"differential", "--catalogue"}, 2, "", usage},
        {{"differential", "--unknown", "M", "3", "15", "0", "0", "0.00001"}, 2, "", usage},
    };
    for (const auto& row : rows) {
        const CalcRun result = run(row.args);
        SCOPED_TRACE(testing::PrintToString(row.args));
        EXPECT_EQ(result.status, row.status);
        EXPECT_EQ(result.out, row.out);
        if (row.status == 2)
            EXPECT_TRUE(result.err.starts_with(row.err)) << result.err;
        else
            EXPECT_EQ(result.err, row.err);
    }
    const CalcRun help = run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("kelvaro-calc ordinary"), std::string::npos);
    EXPECT_NE(help.out.find("kelvaro-calc differential"), std::string::npos);
}

TEST(CalcCommand, ReadsTheCatalogueBesideTheProgram) {
    const std::string folder = std::filesystem::canonical("/proc/self/exe").parent_path().string();
    EXPECT_EQ(applicationDirectory(), folder);
    const CalcRun result = run({"differential", "NO-SUCH-MACHINE", "3", "15", "0", "0", "0.00001"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "找不到机床文件 " + folder + "/NO-SUCH-MACHINE.dat\n");
}

} // namespace
} // namespace kelvaro
