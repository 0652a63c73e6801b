// kelvaro-calc differential: the window's outcome on standard output, its
// message boxes on standard error.
#include "catalogue/application_directory.h"
#include "shell/calc_command.h"
#include "support/temporary_catalogue.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>

namespace kelvaro {
namespace {

struct CalcRun {
    int status;
    std::string out;
    std::string err;
};

CalcRun run(const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = runCalcCommand(args, out, err);
    return {status, out.str(), err.str()};
}

class CalcDifferential : public ::testing::Test {
  protected:
    void SetUp() override {
        dir.write("jixing.dat", "M\r\n\xB9\xF6\xB3\xDD\xBB\xFA\r\nY7150\r\n");
        dir.write("M.dat", "20\r\n60\r\n 1\r\n10\r\n0\r\n");
        dir.write("滚齿机.dat", "20\r\n60\r\n 1\r\n10\r\n39\r\n");
        dir.write("Y7150.dat", "20\r\n60\r\n 1\r\n10\r\n0\r\n");
    }
    CalcRun differential(std::vector<std::string> fields) {
        std::vector<std::string> args = {"differential", "--catalogue", dir.path()};
        args.insert(args.end(), fields.begin(), fields.end());
        return run(args);
    }
    TemporaryCatalogue dir;
};

const std::string kWorkedExample = " 31    59    40    53      5.713094E-06\n"
                                   " 39    39    41    43      3.840214E-06\n"
                                   "     误差最小的挂轮组及误差为\n"
                                   " 39    39    41    43      3.840214E-06\n";

TEST_F(CalcDifferential, PrintsTheResultList) {
    const CalcRun result = differential({"M", "3", "15", "0", "0", "0.00001"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, kWorkedExample);
    EXPECT_EQ(result.err, "");

    EXPECT_EQ(differential({"滚齿机", "3", "15", "0", "0", "0.00001"}).out,
              " 31    59    40    53      5.713094E-06\n"
              "     误差最小的挂轮组及误差为\n"
              " 31    59    40    53      5.713094E-06\n");
    EXPECT_EQ(differential({"M", "", "15", "0", "0", "0.00001"}).out, "请输入数值\n");
    EXPECT_EQ(differential({"M", "0", "15", "0", "0", "0.00001"}).out, "请输入数值\n");
}

TEST_F(CalcDifferential, ReportsMessageBoxesOnStandardError) {
    const struct {
        std::vector<std::string> fields;
        std::string message;
    } rows[] = {
        {{"", "3", "15", "0", "0", "0.00001"}, "选择机床型号"},
        {{"Y7150", "3", "15", "0", "0", "0.00001"}, "零件齿数错误"}, // no TEETH: empty
        {{"Y7150", "3", "15", "0", "0", "0.00001", ""}, "零件齿数错误"},
        {{"N", "3", "15", "0", "0", "0.00001"}, "找不到机床文件 " + dir.file("N.dat")},
    };
    for (const auto& row : rows) {
        const CalcRun result = differential(row.fields);
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err, row.message + "\n");
    }
    EXPECT_EQ(differential({"Y7150", "2", "20", "30", "0", "0.001", "40"}).status, 0);
}

TEST_F(CalcDifferential, RefusesWrongArguments) {
    const std::vector<std::string> rows[] = {
        {"differential", "M", "3", "15", "0", "0"},
        {"differential", "--catalogue"},
        {"differential", "--unknown", "M", "3", "15", "0", "0", "0.00001"},
        {},
    };
    for (const auto& args : rows) {
        const CalcRun result = run(args);
        EXPECT_EQ(result.status, 2);
        EXPECT_NE(result.err.find("kelvaro-calc differential"), std::string::npos);
    }
    // "--" ends the options, for a model that starts with two dashes.
    dir.write("--M.dat", "20\r\n60\r\n 1\r\n10\r\n0\r\n");
    EXPECT_EQ(differential({"--", "--M", "3", "15", "0", "0", "0.00001"}).out, kWorkedExample);
    EXPECT_NE(run({"--help"}).out.find("differential"), std::string::npos);
}

TEST(CalcDifferentialDefault, ReadsTheCatalogueBesideTheProgram) {
    const std::string folder = std::filesystem::canonical("/proc/self/exe").parent_path().string();
    EXPECT_EQ(applicationDirectory(), folder);
    const CalcRun result = run({"differential", "NO-SUCH-MACHINE", "3", "15", "0", "0", "0.00001"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "找不到机床文件 " + folder + "/NO-SUCH-MACHINE.dat\n");
}

} // namespace
} // namespace kelvaro
