// kelvaro-calc: the list lines or the printout on standard output, a
// message box's text on standard error, and the exit status.
#include "shell/calc_command.h"
#include "support/temporary_catalogue.h"

#include <gtest/gtest.h>
#include <sstream>

namespace kelvaro {
namespace {

TEST(CalcCommand, WritesTheOutcomeAndItsStatus) {
    TemporaryCatalogue dir(TemporaryCatalogue::Files{{"M.dat", "20\r\n60\r\n 1\r\n10\r\n0\r\n"}});
    const struct {
        std::vector<std::string> args;
        int status;
        std::string out;
        std::string err = ""; // its start
    } rows[] = {
        {{"ordinary", "--printout", "3.7", "0.00001", "20", "22"},
         0,
         "      i=3.7\n      主动    主动    被动    被动\n\n     误差最小的挂轮组及误差为\n      "
         "0      0      0      0      1E-05\n"},
        {{"ordinary", "1.5", "0.00001", "", "30"}, 0, "请输入数值\n", ""},
        {{"differential", "--catalogue", dir.path(), "", "3", "15", "0", "0", "0.00001"},
         1,
         "",
         "选择机床型号\n"},
        {{"ordinary", "1.5", "0.00001", "20"}, 2, "", "Usage: kelvaro-calc"},
        {{"job", "--format", "json", "C630", "40", "1", "3", "15", "0", "0", "0.00001"},
         1,
         "{\"message\":\"机床 C630 是车床，没有滚齿调整\"}\n"},
        {{"job", "--hands", "left", "M", "40", "1", "3", "15", "0", "0", "0.00001"},
         2,
         "",
         "Usage: kelvaro-calc"},
        {{"job", "--format", "csv", "M", "40", "1", "3", "15", "0", "0", "0.00001"},
         2,
         "",
         "Usage: kelvaro-calc"},
    };
    for (const auto& row : rows) {
        std::ostringstream out, err;
        EXPECT_EQ(runCalcCommand(row.args, out, err), row.status);
        EXPECT_EQ(out.str(), row.out);
        EXPECT_TRUE(err.str().starts_with(row.err)) << err.str();
    }
    // "mountable" follows the machine's clearance: 10 teeth without its data,
    // and no set of 20 to 60 teeth leaves 200.
    for (const bool data : {false, true}) {
        if (data) dir.write("M.dat.txt", "clearance = 200\n");
        std::ostringstream out, err;
        runCalcCommand({"differential", "--catalogue", dir.path(), "--format", "json", "M", "3",
                        "15", "0", "0", "0.00001"},
                       out, err);
        EXPECT_EQ(out.str().find("\"mountable\":true") == std::string::npos, data);
    }
}

} // namespace
} // namespace kelvaro
