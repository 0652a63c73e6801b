// kelvaro-calc: the list lines, the printout, CSV or JSON on standard
// output, a message box's text on standard error, and the exit status; its
// options wherever they may stand, "--", and misspelt options.
#include "shell/calc_command.h"
#include "support/temporary_catalogue.h"

#include <gtest/gtest.h>
#include <sstream>

namespace kelvaro {
namespace {

// The words of a command line: '' is an empty argument, @ the catalogue.
std::vector<std::string> words(const std::string& line, const std::string& catalogue) {
    std::vector<std::string> args;
    std::istringstream in(line);
    for (std::string word; in >> word;)
        args.push_back(word == "''" ? "" : word == "@" ? catalogue : word);
    return args;
}

TEST(CalcCommand, WritesTheOutcomeAndItsStatus) {
    const std::string machine = "20\r\n60\r\n 1\r\n10\r\n0\r\n";
    TemporaryCatalogue dir(TemporaryCatalogue::Files{{"M.dat", machine}, {"Y7150.dat", machine}});
    const std::string d = dir.path(), usage = "Usage: kelvaro-calc";
    const std::string set = R"({"a":22,"b":22,"c":20,"d":20,"ratio":1.21,"error":0,)"
                            R"("relative_error_ppm":0,"fraction":[121,100],"margins":[18,20],)"
                            R"("mountable":true})";
    const std::string csv = "\xEF\xBB\xBF主动a,主动b,被动c,被动d,传动比,误差,相对误差(ppm)";
    const struct {
        const char* name;
        std::string line;
        int status;
        std::string out, err = ""; // err: its start
    } rows[] = {
        // clang-format off
        {"printout of nothing listed", "ordinary --printout 3.7 0.00001 20 22", 0,
         "      i=3.7\n      主动    主动    被动    被动\n\n     误差最小的挂轮组及误差为\n      "
         "0      0      0      0      1E-05\n"},
        {"an empty field", "ordinary 1.5 0.00001 '' 30", 0, "请输入数值\n"},
        {"no model chosen", "differential --catalogue @ '' 3 15 0 0 0.00001", 1, "", "选择机床型号\n"},
        {"three field texts", "ordinary 1.5 0.00001 20", 2, "", usage},
        {"json of a listed set: no tolerance needed", "ordinary --format json 1.21 0.00001 20 22",
         0,
         R"({"ratio":1.21,"tolerance":1e-05,"sets":[)" + set + "],\"best\":" + set +
             ",\"nearest\":" + set +
             R"(,"tolerance_needed":null,"reachable":[0.8264462809917356,1.21]})" + "\n"},
        {"differential json of an empty list: the nearest set, its angle facts and the kind",
         "differential --format json --catalogue @ Y7150 2 20 30 0 1E-7 40", 0,
         R"({"ratio":0.1170840239232265,"tolerance":1e-07,"sets":[],"best":null,"nearest":{"a":20,)"
         R"("b":20,"c":57,"d":60,"ratio":0.11695906432748537,"error":-0.0001249595957411309,)"
         R"("relative_error_ppm":-1067.2642735875606,"fraction":[20,171],"margins":[55,21],)"
         R"("mountable":true,"helix_angle_deg":20.662933007337532,)"
         R"("helix_deviation_arcsec":586.5588264151106},"tolerance_needed":0.00013,)"
         R"("reachable":[0.11111111111111112,9],"kind":"part_teeth"})"
         "\n"},
        {"csv, --format before the name: the angle facts",
         "--format csv differential --catalogue @ M 3 15 0 0 5E-6", 0,
         csv +
             ",实际螺旋角(°),螺旋角误差(″)\r\n39,39,41,43,0.862733976176971,3.840214058858926e-06,"
             "4.451234399703424,15.000068336954243,0.2460130352809005\r\n"},
        {"the part's tooth count of a part-teeth machine",
         "differential --catalogue @ Y7150 3 15 0 0 0.00001 0", 1, "", "零件齿数错误\n"},
        {"json message, the model's quote and backslash escaped",
         R"(differential --format json --catalogue @ a"b\c 3 15 0 0 0.00001)", 1,
         R"({"message":"找不到机床文件 )" + d + R"(/a\"b\\c.dat"})" + "\n"},
        {"json of an empty field", "ordinary --format json 1 1 '' 30", 1, "{\"message\":\"请输入数值\"}\n"},
        {"csv message on standard error", "ordinary --format csv 1 -1 20 30", 1, "", "允差不能为负数\n"},
        {"-- ends the options", "differential --catalogue @ -- --M 3 15 0 0 0.00001", 1, "", "找不到机床文件 " + d + "/--M.dat\n"},
        {"a misspelt option of the differential calculation", "differential --catalog @ M 3 15 0 0 0.00001", 2, "", usage},
        {"a misspelt option of the ordinary calculation is a field text", "ordinary --formt 1 2 3",
         0, "     误差最小的挂轮组及误差为\n 0      0      0      0        1\n"},
        {"--printout with json", "ordinary --printout --format json 1 1 2 3", 2, "", usage},
        {"an unknown format", "ordinary --format xml 1 1 2 3", 2, "", usage},
        {"a lathe has no hobbing job", "job --format json C630 40 1 3 15 0 0 0.00001", 1,
         "{\"message\":\"机床 C630 是车床，没有滚齿调整\"}\n"},
        {"a hand that is neither same nor opposite", "job --hands left M 40 1 3 15 0 0 0.00001", 2, "", usage},
        {"a part's hand that is neither left nor right", "job --part-hand same M 40 1 3 15 0 0 0.00001", 2, "", usage},
        {"a job has no csv", "job --format csv M 40 1 3 15 0 0 0.00001", 2, "", usage},
        {"a helix extra that is neither with nor against", "job --helix-extra up M 40 1 3 15 0 0 0.00001", 2, "", usage},
        // clang-format on
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        std::ostringstream out, err;
        EXPECT_EQ(runCalcCommand(words(row.line, d), out, err), row.status);
        EXPECT_EQ(out.str(), row.out);
        EXPECT_TRUE(err.str().starts_with(row.err)) << err.str();
    }
    // The two hands decide same or opposite, over --hands: β ± λ = 15 ± 2.5.
    for (const auto& [hands, angle] : {std::pair("--part-hand left --hob-hand left", "12.5"),
                                       {"--part-hand right --hob-hand left", "17.5"}}) {
        std::ostringstream out, err;
        runCalcCommand(words("job --format json --catalogue @ --hands same --hob-lead 2.5 " +
                                 std::string(hands) + " M 40 1 3 15 0 0 0.00001",
                             d),
                       out, err);
        EXPECT_NE(out.str().find("\"setting_angle_deg\":" + std::string(angle) + ","),
                  std::string::npos)
            << out.str();
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

// A strict UTF-8 decoder of the test's own: each sequence decoded by its
// lead bits, then refused when overlong, a surrogate or beyond U+10FFFF.
bool isStrictUtf8(const std::string& text) {
    for (std::size_t i = 0, length = 0; i < text.size(); i += length) {
        const auto lead = static_cast<unsigned char>(text[i]);
        length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        if ((lead >= 0x80 && lead < 0xC0) || lead >= 0xF8 || i + length > text.size()) return false;
        char32_t point = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t k = 1; k < length; ++k) {
            if ((text[i + k] & 0xC0) != 0x80) return false;
            point = point << 6 | (text[i + k] & 0x3F);
        }
        const char32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
        if (point < least[length] || point > 0x10FFFF || point >> 11 == 0x1B) return false;
    }
    return true;
}

// Every JSON output stays UTF-8 when the catalogue holds GBK: a data file
// saved by Notepad, a model name typed in a GBK console.
TEST(CalcCommand, JsonIsUtf8WhateverTheCatalogueHolds) {
    const std::string machine = "20\r\n60\r\n 1\r\n10\r\n0\r\n";
    const std::string gbkModel = "\xB9\xF6\xB3\xDD\xBB\xFA"; // 滚齿机
    TemporaryCatalogue dir(TemporaryCatalogue::Files{
        {"M.dat", machine},
        {"M.dat.txt", "index = 24 for Z/K from 1 to 161, \xCB\xB5\xC3\xF7 3 \xBA\xC5\r\n"},
        {"L.dat", machine},
        {"L.dat.txt", "# caf\xE9\nbox = 20-60\n"},
    });
    const struct {
        const char* name;
        std::string line;
        std::string part; // of the output
    } rows[] = {
        // clang-format off
        {"job, GBK data", "job --format json --catalogue @ M 40 1 3 15 0 0 0.00001", R"("note":"说明 3 号")"},
        // No file can have a name that is no UTF-8 on Windows: the model is
        // in the message.
        {"job, GBK model", "job --format json --catalogue @ " + gbkModel + " 40 1 3 15 0 0 0.00001",
         "/\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"job, data neither UTF-8 nor GBK",
         "job --format json --catalogue @ L 40 1 3 15 0 0 0.00001",
         "L.dat.txt 有错，文件既不是 UTF-8 也不是 GBK 编码（第 1 行的字节 0xE9 不能识别）"},
        {"differential, GBK model",
         "differential --format json --catalogue @ " + gbkModel + " 3 15 0 0 0.00001",
         "/\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"ordinary", "ordinary --format json 1.5 0.00001 20 30", R"({"ratio":1.5,)"},
        // clang-format on
    };
    for (const auto& row : rows) {
        std::ostringstream out, err;
        runCalcCommand(words(row.line, dir.path()), out, err);
        EXPECT_TRUE(isStrictUtf8(out.str())) << row.name;
        EXPECT_NE(out.str().find(row.part), std::string::npos) << row.name << ": " << out.str();
    }
}

} // namespace
} // namespace kelvaro
