// The catalogue's files: machine files as users made them, the bytes that
// adding and removing a machine leave, what Confirm refuses, and the faults:
// each step failing in turn, a folder that cannot be written, a full disk,
// entries damaged by hand. Every operation ends with the old or the new
// catalogue, and a failure names the file.
#include "catalogue/add_machine.h"
#include "catalogue/machine_file.h"
#include "catalogue/machine_list.h"
#include "gears/trim_blanks.h"
#include "support/failing_file_system.h"
#include "support/temporary_catalogue.h"

#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace kelvaro {
namespace {

using Files = TemporaryCatalogue::Files;
const std::string kGunChiJi = "\xB9\xF6\xB3\xDD\xBB\xFA"; // 滚齿机 in GBK

TEST(MachineFile, ReadsFilesMadeByHandOrNamesTheirFault) {
    const struct {
        std::string bytes;
        MachineRecord record;
        std::string fault; // after "机床文件 <path> 有错："
    } rows[] = {
        {"20\n60\n2\n10\n37\n41\n", {20, 60, 10, {37, 41}}, ""},      // LF alone
        {"  20,60, 1,3.75,0,9", {20, 60, 3.75, {0}}, ""},             // one line, more than N
        {"20\r\n60\r\n 4\r\n10\r\nabc\r\n36.5\r\n37.5\r\n-32768\r\n", // halves to even
         {20, 60, 10, {0, 36, 38, -32768}},
         ""},
        {"20\r\n60\r\n 3\r\n10\r\n37\r\n41\r\n", {}, "应有 3 个缺少齿数，只有 2 个"},
        {"20\r\n60\r\n 0\r\n10\r\n", {}, "第 3 行的缺少齿数个数应是不小于 1 的整数，而不是“0”"},
        {"-5\r\n5\r\n 1\r\n10\r\n0\r\n", {}, "齿数范围 -5 到 5 含有 0"},
    };
    for (const auto& row : rows) {
        TemporaryCatalogue dir({{"M.dat", row.bytes}});
        const MachineFile machine = readMachineFile(dir.path(), "M");
        EXPECT_EQ(machine.result.message,
                  row.fault.empty() ? "" : "机床文件 " + dir.file("M.dat") + " 有错：" + row.fault);
        EXPECT_TRUE(!row.fault.empty() || machine.record == row.record) << row.bytes;
    }
}

TEST(MachineList, AppendsOneTrimmedLineAndRemovesEveryEqualEntry) {
    const struct {
        std::string before, name, appended, removed;
    } rows[] = {
        {"Y7150\r\n", "Y7150", "Y7150\r\nY7150\r\n", ""}, // a list of zero bytes
        {"Y7150", "滚齿机", "Y7150\r\n" + kGunChiJi + "\r\n",
         "Y7150\r\n"},                                     // a last line without its end
        {"Y7150,", "C630", "Y7150,C630\r\n", "Y7150\r\n"}, // no empty entry between them
        {"Y7150\r\nX\xFF\r\n\xFF\xFE\r\n", "X\uFFFD", "",
         "Y7150\r\n\xFF\xFE\r\n"}, // as shown, byte for byte
    };
    for (const auto& row : rows) {
        TemporaryCatalogue dir({{"jixing.dat", row.before}});
        EXPECT_EQ(appendMachineName(dir.path(), row.name).failed(), row.appended.empty());
        const std::string appended = row.appended.empty() ? row.before : row.appended;
        EXPECT_EQ(dir.contents(), (Files{{"jixing.dat", appended}}));
        dir.write("jixing.dat", row.before);
        EXPECT_EQ(removeMachineName(dir.path(), row.name).status, CatalogueStatus::Ok);
        EXPECT_EQ(dir.contents(), (Files{{"jixing.dat", row.removed}}));
    }
}

TEST(AddMachine, WritesTheMachineFileAsTypedOrRefusesAndWritesNothing) {
    const std::string longModel(248, 'M'), longestModel(247, 'M'); // with ".dat.tmp": 256, 255
    const struct {
        AddMachineInput input;
        std::string message;
        std::string file = ""; // from its third line on
    } rows[] = {
        {{" M  ", "20", "100", "10", "37,41"}, "", " 2\r\n10\r\n37\r\n41\r\n"},
        {{"M", "20", "100", "10", "37,,0041"}, "", " 3\r\n10\r\n37\r\n\r\n0041\r\n"},
        {{"", "20", "abc", "10", ""}, "输入数据有错"}, // numbers are checked first
        {{"    ", "-3", "2.5", "10x", ""}, "机床型号错"},
        {{"Y7,150", "20", "100", "10", ""}, "机床型号中请不要包含逗号或引号"},
        {{"../Y7150", "20", "100", "10", ""}, "机床型号中请不要包含“/”或“\\”"},
        {{"Y7150😀", "20", "100", "10", ""}, "机床型号中有不能保存的字符"},
        {{"jixingb", "20", "100", "10", ""}, "机床型号不能是 jixing 或 jixingb"},
        {{longModel, "20", "100", "10", ""}, "机床型号太长，不能作为文件名"},
        {{longestModel, "20", "100", "10", ""}, "", " 1\r\n10\r\n\r\n"},
        {{"Y7150", "20", "100", "10", "37,a"}, "输入数据有错误,数据间用逗号隔开!!!"},
    };
    for (const auto& row : rows) {
        TemporaryCatalogue dir;
        const AddMachineOutcome outcome = addMachine(dir.path(), row.input);
        EXPECT_EQ(outcome.message, row.message) << row.input.model;
        const std::string model(trimBlanks(row.input.model));
        Files files;
        if (!row.file.empty())
            files = {{"jixing.dat", model + "\r\n"}, {model + ".dat", "20\r\n100\r\n" + row.file}};
        EXPECT_EQ(dir.contents(), files);
    }
}

const std::string kY7150 = "30\r\n90\r\n 1\r\n5\r\n\r\n";
// Y7150's file stays from a deleted machine: adding Y7150 again replaces it.
const Files kBefore = {{"jixing.dat", "C630\r\n"}, {"Y7150.dat", kY7150}};

// The message for the user, empty on success.
using Operation = std::function<std::string(const std::string& dir, FileSystem& fs)>;
const Operation kAddY7150 = [](const std::string& dir, FileSystem& fs) {
    return addMachine(dir, {"Y7150", "20", "100", "10", "37,41", true}, fs).message;
};
const Operation kAddZstz = [](const std::string& dir, FileSystem& fs) {
    return addMachine(dir, {"ZSTZ", "20", "100", "10", ""}, fs).message;
};
const Operation kRemoveC630 = [](const std::string& dir, FileSystem& fs) {
    return removeMachineName(dir, "C630", fs).message;
};
const Operation kReadY7150 = [](const std::string& dir, FileSystem& fs) {
    return readMachineFile(dir, "Y7150", fs).result.message;
};

// Each step failing in turn, until a run meets no failure: every run ends
// in the state before or after, a failed one naming a file of the folder.
// The run without a failure writes each of its files whole: to a file of
// its own, flushed, then renamed over the old one.
TEST(CatalogueFaults, EachStepFailingLeavesTheOldOrTheNewCatalogue) {
    Files added = kBefore, removed = {{"jixing.dat", ""}, {"Y7150.dat", kY7150}}, zstz = kBefore;
    added["jixing.dat"] += "Y7150\r\n"; // undoing restores the old machine file
    added["Y7150.dat"] = "20\r\n100\r\n 2\r\n10\r\n37\r\n41\r\n";
    zstz["jixing.dat"] += "ZSTZ\r\n"; // undoing removes the new machine file
    zstz["ZSTZ.dat"] = "20\r\n100\r\n 1\r\n10\r\n\r\n";
    const struct {
        const char* name;
        Operation operation;
        Files after;
        std::string writes;
    } rows[] = {{"adding over a deleted machine's file", kAddY7150, added, "wWFRwWFR"},
                {"adding a new machine", kAddZstz, zstz, "wWFRwWFR"},
                {"removing a machine", kRemoveC630, removed, "wWFR"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        for (int failAt = 1;; ++failAt) {
            TemporaryCatalogue dir(kBefore);
            FailingFileSystem fs(FailingFileSystem::atCall(failAt));
            const std::string message = row.operation(dir.path(), fs);
            EXPECT_EQ(dir.contents(), message.empty() ? row.after : kBefore) << "step " << failAt;
            EXPECT_TRUE(message.empty() || message.find(dir.path() + "/") != message.npos)
                << message;
            if (static_cast<int>(fs.steps.size()) >= failAt) continue;
            std::erase_if(fs.steps, [](char step) {
                return std::string("rGC").find(step) != std::string::npos;
            });
            EXPECT_EQ(fs.steps, row.writes);
            break;
        }
    }
}

// A folder that cannot be written or a full disk, through the file-system
// seam so that it holds for root too; entries damaged by hand: a folder or
// a named pipe where a file belongs (the pipe stands for every file that
// is not a plain one), a machine file that links to nothing.
TEST(CatalogueFaults, AReadOnlyFolderAFullDiskOrDamagedEntriesChangeNothing) {
    const auto fullDisk = [](char step, int) { return step == 'W' ? ENOSPC : 0; };
    const struct {
        std::string name, damage; // a folder, a pipe, or "-> target"
        Operation operation;
        std::string message; // "@" stands for the folder
        FailingFileSystem::Rule rule = nullptr;
    } rows[] = {
        {"", "", kAddZstz, "无法写入文件 @/ZSTZ.dat.tmp：磁盘是只读的",
         FailingFileSystem::readOnly(EROFS)},
        {"", "", kAddY7150, "无法写入文件 @/Y7150.dat.tmp：磁盘空间不足", fullDisk},
        {"jixing.dat", "<folder>", kRemoveC630, "无法读取文件 @/jixing.dat：这是一个文件夹"},
        {"jixing.dat", "<pipe>", kRemoveC630, "无法读取文件 @/jixing.dat：不是普通文件"},
        {"jixingb.dat", "<folder>", kAddZstz, "无法写入文件 @/jixingb.dat：这是一个文件夹"},
        {"Y7150.dat", "-> gone.dat", kReadY7150, "找不到机床文件 @/Y7150.dat"},
    };
    for (const auto& row : rows) {
        TemporaryCatalogue dir(kBefore);
        const std::string path = dir.file(row.name);
        if (!row.damage.empty()) std::filesystem::remove(path);
        if (row.damage == "<folder>") std::filesystem::create_directory(path);
        if (row.damage == "<pipe>") ::mkfifo(path.c_str(), 0644);
        if (row.damage.starts_with("-> "))
            std::filesystem::create_symlink(row.damage.substr(3), path);
        const Files before = dir.contents();
        std::string expected = row.message;
        expected.replace(expected.find('@'), 1, dir.path());
        FailingFileSystem fs(row.rule);
        EXPECT_EQ(row.operation(dir.path(), fs), expected);
        EXPECT_EQ(dir.contents(), before) << row.message;
    }
}

} // namespace
} // namespace kelvaro
