#include "shell/calc_command.h"

#include <gtest/gtest.h>
#include <sstream>

namespace kelvaro {
namespace {

struct CalcRun {
    int status;
    std::string out;
    std::string err;
};

CalcRun run(std::vector<std::string> args) {
    std::ostringstream out, err;
    const int status = runCalcCommand(args, out, err);
    return {status, out.str(), err.str()};
}

TEST(CalcCommandTest, PrintsTheListItemsOnePerLine) {
    const CalcRun r = run({"ordinary", "3.7", "0.00001", "20", "22"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "     误差最小的挂轮组及误差为\n 0      0      0      0        1E-05\n");
    EXPECT_EQ(r.err, "");
}

TEST(CalcCommandTest, PrintoutWritesEachCarriageReturnAsALineBreak) {
    const std::string expected =
        "\n     误差最小的挂轮组及误差为\n      0      0      0      0      1E-05\n";
    EXPECT_EQ(run({"ordinary", "--printout", "3.7", "0.00001", "20", "22"}).out, expected);
    EXPECT_EQ(run({"--printout", "ordinary", "3.7", "0.00001", "20", "22"}).out, expected);
}

TEST(CalcCommandTest, EmptyArgumentIsAnEmptyField) {
    const CalcRun r = run({"ordinary", "1.5", "0.00001", "", "30"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "请输入数值\n");
}

TEST(CalcCommandTest, NegativeNumbersAreTextsNotOptions) {
    EXPECT_EQ(run({"ordinary", "-1", "0.00001", "-21", "-20"}).status, 0);
}

TEST(CalcCommandTest, WrongArgumentsGiveUsageAndStatusTwo) {
    for (const auto& args :
         std::vector<std::vector<std::string>>{{},
                                               {"ordinary"},
                                               {"ordinary", "1.5", "0.00001", "20"},
                                               {"ordinary", "1.5", "0.00001", "20", "30", "40"},
                                               {"sideways", "1", "2", "3", "4"}}) {
        const CalcRun r = run(args);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find("Usage: kelvaro-calc"), std::string::npos);
    }
}

TEST(CalcCommandTest, HelpExplains) {
    const CalcRun r = run({"--help"});
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("kelvaro-calc ordinary"), std::string::npos);
}

} // namespace
} // namespace kelvaro
