// The catalogue's text format: fields, GBK, CR LF, and the files' bytes after
// each operation.
#include "catalogue/field_reader.h"
#include "catalogue/machine_file.h"
#include "catalogue/machine_list.h"
#include "support/temporary_catalogue.h"

#include <gtest/gtest.h>

namespace kelvaro {
namespace {

// 滚齿机 and 磨齿机 in GBK.
const std::string kGunChiJi = "\xB9\xF6\xB3\xDD\xBB\xFA";
const std::string kMoChiJi = "\xC4\xA5\xB3\xDD\xBB\xFA";

TEST(FieldReader, SplitsAtCommasAndLineEnds) {
    const struct {
        std::string bytes;
        std::vector<std::string_view> fields;
    } rows[] = {
        {"", {}},
        {"A\r\n\r\nB\r\n", {"A", "", "B"}},
        {"  A,  B\r\n", {"A", "B"}},
        {"A ,B\r\n", {"A ", "B"}}, // only blanks before a field are skipped
        {"A,\r\n", {"A", ""}},
        {"A,", {"A"}}, // the end of the file starts no field
        {"A\nB\rC", {"A", "B", "C"}},
        {"\"Q\",R\tS\r\n", {"\"Q\"", "R\tS"}},
        {kGunChiJi + "," + kMoChiJi + "\r\n", {kGunChiJi, kMoChiJi}},
    };
    for (const auto& row : rows)
        EXPECT_EQ(readFields(row.bytes), row.fields) << row.bytes;
}

TEST(MachineFile, WritesAsTypedAndReadsBack) {
    const struct {
        std::string model, min, max, constant;
        std::vector<std::string> missing;
        std::string bytes;
        MachineRecord record;
    } rows[] = {
        {"Y7150",
         "20",
         "100",
         "10",
         {"37", "41"},
         "20\r\n100\r\n 2\r\n10\r\n37\r\n41\r\n",
         {20, 100, 2, 10, {37, 41}}},
        {"A", "20", "60", "10", {""}, "20\r\n60\r\n 1\r\n10\r\n\r\n", {20, 60, 1, 10, {0}}},
        {"B",
         "24",
         "100",
         "2.5",
         {"37", "", "41"},
         "24\r\n100\r\n 3\r\n2.5\r\n37\r\n\r\n41\r\n",
         {24, 100, 3, 2.5, {37, 0, 41}}},
        {"滚齿机",
         "20齿",
         "60x",
         "10",
         {"0"},
         "20\xB3\xDD\r\n60x\r\n 1\r\n10\r\n0\r\n",
         {20, 60, 1, 10, {0}}},
        {"VERYLONGMODEL",
         "20",
         "60",
         "10",
         {"0"},
         "20\r\n60\r\n 1\r\n10\r\n0\r\n",
         {20, 60, 1, 10, {0}}},
    };
    for (const auto& row : rows) {
        TemporaryCatalogue dir;
        dir.write(row.model + ".dat", "old content that is longer than the new one\r\n");
        ASSERT_FALSE(
            writeMachineFile(dir.path(), row.model, row.min, row.max, row.constant, row.missing)
                .failed());
        EXPECT_EQ(dir.contents(),
                  (std::map<std::string, std::string>{{row.model + ".dat", row.bytes}}));
        const MachineFile machine = readMachineFile(dir.path(), row.model);
        EXPECT_FALSE(machine.result.failed()) << machine.result.message;
        EXPECT_EQ(machine.record, row.record) << row.model;
    }
}

TEST(MachineFile, ReadsFilesMadeByHand) {
    const struct {
        std::string bytes;
        MachineRecord record;
    } rows[] = {
        {"20\n60\n2\n10\n37\n41\n", {20, 60, 2, 10, {37, 41}}},       // LF alone
        {"  20,60, 1,3.75,0,9", {20, 60, 1, 3.75, {0}}},              // one line, more than N
        {"60\r\n20\r\n 1\r\n10\r\n0\r\n", {60, 20, 1, 10, {0}}},      // wrong order kept
        {"20\r\n60\r\n 4\r\n10\r\nabc\r\n36.5\r\n37.5\r\n-32768\r\n", // halves to even
         {20, 60, 4, 10, {0, 36, 38, -32768}}},
        {"20\r\n60\r\n2E0\r\n10\r\n32767\r\n" + kGunChiJi + "\r\n", {20, 60, 2, 10, {32767, 0}}},
    };
    for (const auto& row : rows) {
        TemporaryCatalogue dir;
        dir.write("M.dat", row.bytes);
        const MachineFile machine = readMachineFile(dir.path(), "M");
        EXPECT_FALSE(machine.result.failed()) << machine.result.message;
        EXPECT_EQ(machine.record, row.record) << row.bytes;
    }
}

TEST(MachineFile, NamesTheFileAndTheFaultOfAnUnusableFile) {
    const struct {
        std::string bytes;
        std::string fault; // after "机床文件 <path> 有错："
    } rows[] = {
        {"", "只有 0 项数据，至少应有 4 项"},
        {"20\r\n60\r\n", "只有 2 项数据，至少应有 4 项"},
        {"20\r\n60\r\n 3\r\n10\r\n37\r\n41\r\n", "应有 3 个缺少齿数，只有 2 个"},
        {"20\r\n60\r\n 99999999999\r\n10\r\n", "应有 99999999999 个缺少齿数，只有 0 个"},
        {"20\r\n60\r\n 0\r\n10\r\n", "第 3 行的缺少齿数个数应是不小于 1 的整数，而不是“0”"},
        {"20\r\n60\r\n1.5\r\n10\r\n0\r\n0\r\n",
         "第 3 行的缺少齿数个数应是不小于 1 的整数，而不是“1.5”"},
        {"20\r\n60\r\n 2\r\n10\r\n37\r\n40000\r\n", "缺少齿数“40000”不在 -32768 到 32767 之间"},
        {"20\r\n60\r\n 1\r\n10\r\n-32769\r\n", "缺少齿数“-32769”不在 -32768 到 32767 之间"},
        {"x\r\n60\r\n 1\r\n10\r\n0\r\n", "齿数范围 0 到 60 含有 0"},
        {"-5\r\n5\r\n 1\r\n10\r\n0\r\n", "齿数范围 -5 到 5 含有 0"},
        {"20\r\n1E999\r\n 1\r\n10\r\n0\r\n", "最少齿数或最大齿数超出可以计算的范围"},
        {"20\r\n1E17\r\n 1\r\n10\r\n0\r\n", "最少齿数或最大齿数超出可以计算的范围"},
    };
    for (const auto& row : rows) {
        TemporaryCatalogue dir;
        dir.write("M.dat", row.bytes);
        const MachineFile machine = readMachineFile(dir.path(), "M");
        EXPECT_TRUE(machine.result.failed()) << row.bytes;
        EXPECT_EQ(machine.result.message, "机床文件 " + dir.file("M.dat") + " 有错：" + row.fault);
    }

    TemporaryCatalogue dir;
    EXPECT_EQ(readMachineFile(dir.path(), "M").result.message,
              "找不到机床文件 " + dir.file("M.dat"));
    std::filesystem::create_directory(dir.file("D.dat"));
    EXPECT_EQ(readMachineFile(dir.path(), "D").result.message,
              "无法读取文件 " + dir.file("D.dat") + "：这是一个文件夹");
    EXPECT_EQ(readMachineFile(dir.path(), "../M").result.message, "机床型号“../M”不能作为文件名");
}

TEST(MachineList, ReadsEntriesInFileOrder) {
    const struct {
        std::string bytes;
        std::vector<std::string> names;
    } rows[] = {
        {"", {}},
        {kGunChiJi + "\r\nY7150\r\n" + kMoChiJi + "\r\nY7150\r\n",
         {"滚齿机", "Y7150", "磨齿机", "Y7150"}},
        {"A,B\r\n  C\r\n\r\n", {"A", "B", "C", ""}},
        {"Y3150E\xFF\r\n", {"Y3150E\uFFFD"}}, // not GBK: shown, not fatal
    };
    for (const auto& row : rows) {
        TemporaryCatalogue dir;
        dir.write("jixing.dat", row.bytes);
        const MachineList list = readMachineList(dir.path());
        EXPECT_EQ(list.status, CatalogueStatus::Ok);
        EXPECT_EQ(list.names, row.names);
    }
    TemporaryCatalogue empty;
    const MachineList missing = readMachineList(empty.path());
    EXPECT_EQ(missing.status, CatalogueStatus::Missing);
    EXPECT_TRUE(missing.names.empty());
}

TEST(MachineList, AppendsOneTrimmedLine) {
    const struct {
        std::optional<std::string> before; // nothing: no jixing.dat yet
        std::string name;
        std::string after;
    } rows[] = {
        {std::nullopt, "Y7150", "Y7150\r\n"},
        {"Y7150\r\n", "  C630  ", "Y7150\r\nC630\r\n"},
        {"Y7150\r\n", "Y7150", "Y7150\r\nY7150\r\n"}, // a second, identical line
        {"Y7150\r\n", "滚齿机", "Y7150\r\n" + kGunChiJi + "\r\n"},
        {"Y7150", "C630", "Y7150\r\nC630\r\n"}, // a last line without its end
        {"Y7150,", "C630", "Y7150,C630\r\n"},   // no empty entry between them
        {"Y7150\n", "\tX", "Y7150\n\tX\r\n"},   // only blanks are trimmed
    };
    for (const auto& row : rows) {
        TemporaryCatalogue dir;
        if (row.before) dir.write("jixing.dat", *row.before);
        EXPECT_FALSE(appendMachineName(dir.path(), row.name).failed());
        EXPECT_EQ(dir.contents(), (std::map<std::string, std::string>{{"jixing.dat", row.after}}));
    }
}

TEST(MachineList, RemovesEveryEqualEntryAndCopiesTheRest) {
    const struct {
        std::string before;
        std::string name;
        std::string after;
    } rows[] = {
        {"Y7150\r\nC630\r\nY7150\r\n", "Y7150", "C630\r\n"},
        {"Y7150\r\n", "Y7150", ""}, // the only model: a file of zero bytes
        {"Y7150\r\nC630\r\n", "y7150", "Y7150\r\nC630\r\n"},
        {"Y7150\r\nC630\r\n", "C630 ", "Y7150\r\nC630\r\n"},
        {"A,B\r\n  C\r\n\r\nD", "", "A\r\nB\r\nC\r\nD\r\n"}, // no entry chosen
        {kGunChiJi + "\r\n" + kMoChiJi + "\r\n", "滚齿机", kMoChiJi + "\r\n"},
        {"Y7150\r\n\xFF\xFE\r\n0020\r\n", "Y7150", "\xFF\xFE\r\n0020\r\n"}, // byte for byte
        {"Y7150\r\nX\xFF\r\n", "X\uFFFD", "Y7150\r\n"},                     // removable as shown
    };
    for (const auto& row : rows) {
        TemporaryCatalogue dir;
        dir.write("jixing.dat", row.before);
        dir.write("jixingb.dat", "stale");
        dir.write("Y7150.dat", "20\r\n60\r\n 1\r\n10\r\n0\r\n");
        EXPECT_EQ(removeMachineName(dir.path(), row.name).status, CatalogueStatus::Ok);
        EXPECT_EQ(dir.contents(),
                  (std::map<std::string, std::string>{
                      {"jixing.dat", row.after}, {"Y7150.dat", "20\r\n60\r\n 1\r\n10\r\n0\r\n"}}));
    }
    TemporaryCatalogue empty;
    EXPECT_EQ(removeMachineName(empty.path(), "Y7150").status, CatalogueStatus::Missing);
    EXPECT_TRUE(empty.contents().empty());
}

} // namespace
} // namespace kelvaro
