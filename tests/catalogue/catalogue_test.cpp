// The catalogue's files: machine files as users made them, the bytes that
// adding and removing a machine leave, what Confirm refuses, and the faults:
// each step failing in turn, a folder that cannot be written, a full disk,
// entries damaged by hand, links planted at temporary names, two writers at
// once. Every operation ends with the old or the new catalogue, and a
// failure names the file.
#include "catalogue/add_machine.h"
#include "catalogue/machine_data.h"
#include "catalogue/machine_file.h"
#include "catalogue/machine_list.h"
#include "gears/trim_blanks.h"
#include "platform/application_directory.h"
#include "platform/gbk_text.h"
#include "support/failing_file_system.h"
#include "support/special_files.h"
#include "support/temporary_catalogue.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <sys/stat.h>
#include <thread>

namespace kelvaro {
namespace {

using Files = TemporaryCatalogue::Files;
const std::string kGunChiJi = "\xB9\xF6\xB3\xDD\xBB\xFA"; // 滚齿机 in GBK

// The code page is the same on every system (iconv on Linux, the system's
// code page 936 on Windows): every one- and two-byte sequence read and every
// character of the basic plane written, summed up in one FNV-1a digest.
TEST(GbkText, ReadsAndWritesAlikeOnEverySystem) {
    std::uint64_t digest = 14695981039346656037u;
    const auto add = [&digest](std::string_view text) {
        for (const unsigned char c : std::string(text) + '\xFF')
            digest = (digest ^ c) * 1099511628211u;
    };
    for (int lead = 0; lead < 256; ++lead) {
        add(fromGbk(std::string(1, static_cast<char>(lead))));
        for (int trail = 0; lead > 0x80 && trail < 256; ++trail)
            add(fromGbk(std::string{static_cast<char>(lead), static_cast<char>(trail)}));
    }
    for (unsigned c = 1; c < 0x10000; ++c) {
        const auto byte = [c](unsigned lead, int shift) {
            return static_cast<char>(lead | ((c >> shift) & 0x3F));
        };
        const std::string utf8 = c < 0x80 ? std::string(1, static_cast<char>(c))
                                 : c < 0x800
                                     ? std::string{byte(0xC0, 6), byte(0x80, 0)}
                                     : std::string{byte(0xE0, 12), byte(0x80, 6), byte(0x80, 0)};
        if (c < 0xD800 || c > 0xDFFF) add(toGbk(utf8).value_or("-"));
    }
    EXPECT_EQ(digest, 18337583690966442161u);
}

TEST(MachineFile, ReadsFilesMadeByHandOrNamesTheirFault) {
    const std::string range = "的齿数范围不对：";
    const struct {
        std::string bytes;
        MachineRecord record;
        std::string fault; // after "机床文件 <path> "
    } rows[] = {
        // clang-format off
        {"20\n60\n2\n10\n37\n41\n", {20, 60, 10, {37, 41}}, ""},      // LF alone
        {"  20,60, 1,3.75,0,9", {20, 60, 3.75, {0}}, ""},             // one line, more than N
        {"20\r\n60\r\n 4\r\n10\r\nabc\r\n36.5\r\n37.5\r\n-32768\r\n", // halves to even
         {20, 60, 10, {0, 36, 38, -32768}},
         ""},
        {"20\r\n60\r\n 3\r\n10\r\n37\r\n41\r\n", {}, "有错：应有 3 个缺少齿数，只有 2 个"},
        {"20\r\n60\r\n 0\r\n10\r\n", {}, "有错：第 3 行的缺少齿数个数应是不小于 1 的整数，而不是“0”"},
        {"-5\r\n5\r\n 1\r\n10\r\n0\r\n", {}, range + "-5 到 5 含有 0"},
        {"20\r\nabc\r\n 1\r\n10\r\n\r\n", {}, range + "最大齿数“abc”不是数字"},
        {"inf\r\n60\r\n 1\r\n10\r\n\r\n", {}, range + "最少齿数“inf”不是数字"},
        {"100\r\n20\r\n 1\r\n10\r\n\r\n", {}, range + "最大齿数 20 小于最少齿数 100"},
        {"20\r\n1048577\r\n 1\r\n10\r\n\r\n", {}, range + "最大齿数 1048577 超过了 1048576"},
        {"\xEF\xBB\xBF" "20\r\n60\r\n 1\r\n10\r\n\r\n", {}, "有错：文件以字节顺序标记（BOM）开头，机床文件应是不带 BOM 的 GBK 文本"},
        {"\xA3\xB2\xA3\xB0\r\n60\r\n 1\r\n10\r\n\r\n", {}, "有错：“２０”中有全角数字，请改用半角数字 0 到 9"},
        // clang-format on
    };
    for (const auto& row : rows) {
        TemporaryCatalogue dir({{"M.dat", row.bytes}});
        const MachineFile machine = readMachineFile(dir.path(), "M");
        EXPECT_EQ(machine.result.message,
                  row.fault.empty() ? "" : "机床文件 " + dir.file("M.dat") + " " + row.fault);
        EXPECT_TRUE(!row.fault.empty() || machine.record == row.record) << row.bytes;
    }
}

TEST(MachineList, AppendsOneTrimmedLineAndRemovesEveryEqualEntry) {
    const struct {
        std::string before, name, appended, removed;
    } rows[] = {
        // clang-format off
        {"Y7150\r\n", "Y7150", "Y7150\r\nY7150\r\n", ""}, // a list of zero bytes
        {"Y7150", "滚齿机", "Y7150\r\n" + kGunChiJi + "\r\n",
         "Y7150\r\n"},                                     // a last line without its end
        {"Y7150,", "C630", "Y7150,C630\r\n", "Y7150\r\n"}, // no empty entry between them
        {"Y7150\r\nX\xFF\r\n\xFF\xFE\r\n", "X\uFFFD", "", "Y7150\r\n\xFF\xFE\r\n"}, // as shown, byte for byte
        // clang-format on
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
    // With ".dat.txt": 256 and 255 bytes; 83 Chinese characters are 249.
    const std::string longModel(248, 'M'), longestModel(247, 'M');
    std::string chinese;
    for (int i = 0; i < 83; ++i)
        chinese += "滚";
    const struct {
        AddMachineInput input;
        std::string message;
        std::string file = ""; // from its third line on
    } rows[] = {
        // clang-format off
        {{" M  ", "20", "100", "10", "37,41"}, "", " 2\r\n10\r\n37\r\n41\r\n"},
        {{"M", "20", "100", "10", "37,,0041"}, "", " 3\r\n10\r\n37\r\n\r\n0041\r\n"},
        {{"", "20", "abc", "10", ""}, "输入数据有错"}, // numbers are checked first
        {{"    ", "-3", "2.5", "10x", ""}, "机床型号错"},
        // A range that lists nothing, or takes minutes: before the model.
        {{"", "100", "20", "10", ""}, "最少齿数 100 大于最大齿数 20"},
        {{"M", "20", "2000000", "10", ""}, "最大齿数 2000000 超过 1000"},
        {{"M", "1001", "1e3x", "10", ""}, "最少齿数 1001 超过 1000"},
        {{"Y7,150", "20", "100", "10", ""}, "机床型号中请不要包含逗号或引号"},
        {{"../Y7150", "20", "100", "10", ""}, "机床型号中请不要包含“/”或“\\”"},
        {{"Y7150:2", "20", "100", "10", ""}, "机床型号中请不要包含 : * ? < > | 这些文件名不能有的字符"},
        {{"Y7150😀", "20", "100", "10", ""}, "机床型号中有不能保存的字符"},
        {{"jixingb", "20", "100", "10", ""}, "机床型号不能是 jixing 或 jixingb"},
        {{longModel, "20", "100", "10", ""},
         "机床型号太长：有 248 个字节，最多 247 个（一个汉字 3 "
         "个字节），机床资料文件“型号.dat.txt”的名字才不超过系统允许的 255 个字节"},
        {{chinese, "20", "100", "10", ""},
         "机床型号太长：有 249 个字节，最多 247 个（一个汉字 3 "
         "个字节），机床资料文件“型号.dat.txt”的名字才不超过系统允许的 255 个字节"},
        {{longestModel, "20", "100", "10", ""}, "", " 1\r\n10\r\n\r\n"},
        {{"Y7150", "20", "100", "10", "37,a"}, "输入数据有错误,数据间用逗号隔开!!!"},
        // clang-format on
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

// A Chinese model is its file's name (UTF-8 on Linux, UTF-16 on Windows)
// and reads back; the catalogue's folder is the program's own, with "/"
// between its parts on every system.
TEST(CataloguePaths, AChineseModelIsItsFileNameInTheProgramsFolder) {
    TemporaryCatalogue dir;
    EXPECT_EQ(addMachine(dir.path(), {"滚齿机", "20", "100", "10", ""}).message, "");
    EXPECT_EQ(dir.contents(), (Files{{"jixing.dat", kGunChiJi + "\r\n"},
                                     {"滚齿机.dat", "20\r\n100\r\n 1\r\n10\r\n\r\n"}}));
    EXPECT_EQ(readMachineFile(dir.path(), "滚齿机").record.maxTeeth, 100);
    // On Windows "A:B.dat" would be a stream of a file A: there is none to read.
    EXPECT_EQ(readMachineFile(dir.path(), "A:B").result.message,
              "找不到机床文件 " + dir.file("A:B.dat"));
    const std::string folder = applicationDirectory();
    EXPECT_EQ(folder.find('\\'), std::string::npos) << folder;
    EXPECT_TRUE(std::filesystem::exists(TemporaryCatalogue::native(folder + "/catalogue_test")) ||
                std::filesystem::exists(TemporaryCatalogue::native(folder + "/catalogue_test.exe")))
        << folder;
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
const Operation kSaveY7150Data = [](const std::string& dir, FileSystem& fs) {
    return saveMachineData(dir, "Y7150", {}, fs).message;
};
const Operation kExportCsv = [](const std::string& dir, FileSystem& fs) {
    return writeWholeFile(fs, dir + "/report.csv", "a");
};
// What every change of a catalogue whose folder cannot be written says; "@"
// stands for the folder.
std::string folderNotWritableMessage(const std::string& reason) {
    return "机床目录所在的文件夹 @ 不能写入（" + reason +
           "），机床目录不能修改。请用安装程序安装 Kelvaro，或把 Kelvaro 解压到可以写入的文件夹。";
}

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
    } rows[] = {{"adding over a deleted machine's file", kAddY7150, added, "LwWFRwWFR"},
                {"adding a new machine", kAddZstz, zstz, "LwWFRwWFR"},
                {"removing a machine", kRemoveC630, removed, "LwWFR"}};
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
                return std::string("rGCEU").find(step) != std::string::npos;
            });
            EXPECT_EQ(fs.steps, row.writes);
            break;
        }
    }
}

// A folder that cannot be written (a read-only disk, a folder without
// permission, or one whose lock file exists but where no temporary file can
// be made) or a full disk, through the file-system seam so that it holds
// for root too; entries damaged by hand: a folder or a named pipe where a
// file belongs (the pipe stands for every file that is not a plain one), a
// machine file that links to nothing; links the user made. An export to a
// folder of the user's choice keeps the plain message.
TEST(CatalogueFaults, AReadOnlyFolderAFullDiskOrDamagedEntriesChangeNothing) {
    const std::string kLinkKept = "这是一个符号链接，Kelvaro 不会改动它";
    const auto fullDisk = [](char step, int) { return step == 'W' ? ENOSPC : 0; };
    const auto noTemporary = [](int error) {
        return [error](char step, int) { return step == 'w' ? error : 0; };
    };
    const struct {
        std::string name, damage; // a folder, a pipe, or "-> target"
        Operation operation;
        std::string message; // "@" stands for the folder
        FailingFileSystem::Rule rule = nullptr;
    } rows[] = {
        // clang-format off
        {"", "", kAddZstz, folderNotWritableMessage("磁盘是只读的"), FailingFileSystem::readOnly(EROFS)},
        {"", "", kSaveY7150Data, folderNotWritableMessage("没有访问权限"), FailingFileSystem::readOnly(EPERM)},
        {"", "", kAddY7150, folderNotWritableMessage("没有访问权限"), noTemporary(EACCES)},
        {"", "", kRemoveC630, folderNotWritableMessage("磁盘是只读的"), noTemporary(EROFS)},
        {"", "", kExportCsv, "无法写入文件 @/report.csv：没有访问权限", noTemporary(EACCES)},
        {"", "", kAddY7150, "无法写入文件 @/Y7150.dat：磁盘空间不足", fullDisk},
        {"jixing.dat", "<folder>", kRemoveC630, "无法读取文件 @/jixing.dat：这是一个文件夹"},
        {"jixing.dat", "<pipe>", kRemoveC630, "无法读取文件 @/jixing.dat：不是普通文件"},
        {"jixing.lock", "<folder>", kAddZstz, "无法写入文件 @/jixing.lock：这是一个文件夹"},
        // Links the user made are read through but never replaced.
        {"jixing.dat", "-> Y7150.dat", kAddZstz, "无法写入文件 @/jixing.dat：" + kLinkKept},
        {"Y7150.dat", "-> C630.dat", kAddY7150, "无法写入文件 @/Y7150.dat：" + kLinkKept},
        {"jixing.lock", "-> C630.dat", kAddZstz, "无法写入文件 @/jixing.lock：" + kLinkKept},
        {"Y7150.dat", "-> gone.dat", kReadY7150, "找不到机床文件 @/Y7150.dat"},
        // clang-format on
    };
    for (const auto& row : rows) {
        TemporaryCatalogue dir(kBefore);
        const std::string path = dir.file(row.name);
        if (!row.damage.empty()) std::filesystem::remove(path);
        if (!row.damage.empty() && !makeDamage(path, row.damage)) continue;
        const Files before = dir.contents();
        std::string expected = row.message;
        expected.replace(expected.find('@'), 1, dir.path());
        FailingFileSystem fs(row.rule);
        EXPECT_EQ(row.operation(dir.path(), fs), expected);
        EXPECT_EQ(dir.contents(), before) << row.message;
    }
}

// A real folder without write permission, as a zip unpacked under Program
// Files is for its user. Root writes into it all the same: ctest runs this
// test once more as an unprivileged user (tests/catalogue/CMakeLists.txt).
TEST(CatalogueFaults, AFolderWithoutWritePermissionIsNamedWithTheWayOut) {
    TemporaryCatalogue dir(kBefore);
    const Files before = dir.contents();
    namespace fs = std::filesystem;
    const fs::path folder = TemporaryCatalogue::native(dir.path());
    fs::permissions(folder,
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    const bool writable = std::ofstream(folder / "probe").good();
    std::string expected = folderNotWritableMessage("没有访问权限");
    expected.replace(expected.find('@'), 1, dir.path());
    if (!writable) {
        for (const Operation& change : {kAddZstz, kAddY7150, kRemoveC630, kSaveY7150Data})
            EXPECT_EQ(change(dir.path(), realFileSystem()), expected);
        EXPECT_EQ(dir.contents(), before);
    }
    fs::permissions(folder, fs::perms::owner_write, fs::perm_options::add);
    if (writable) GTEST_SKIP() << "this user writes into a folder without write permission";
}

// Links at the names that temporary files once had (jixingb.dat, X.tmp), a
// link at a name the write picks, and an export beside the user's own
// report.csv.tmp, with a name of the longest length or failing: nothing
// outside the folder or of the user's changes, and a name that is taken is
// passed over for another.
TEST(CatalogueFaults, LinksAtTemporaryNamesAreNeverWrittenThrough) {
    const Files away = {{"outside.txt", "keep"}, {"outside2.txt", "keep2"}};
    TemporaryCatalogue outside(away), dir(kBefore);
    const bool links = makeLink(outside.file("outside.txt"), dir.file("jixingb.dat")) &&
                       makeLink(outside.file("outside2.txt"), dir.file("NEWM.dat.tmp"));
    if (links) {
        EXPECT_EQ(realFileSystem().open(dir.file("NEWM.dat.tmp"), OpenMode::CreateNew), -EEXIST);
    }
    dir.write("report.csv.tmp", "notes");
    std::filesystem::create_directory(dir.file("folder.csv"));
    EXPECT_EQ(addMachine(dir.path(), {"NEWM", "20", "100", "10", ""}).message, "");

    FailingFileSystem taken(
        [](char step, int call) { return step == 'w' && call < 4 ? EEXIST : 0; });
    EXPECT_EQ(writeWholeFile(taken, dir.file("report.csv"), "a"), "");
    const std::string longest(255, 'r');
    EXPECT_EQ(writeWholeFile(realFileSystem(), dir.file(longest), "b"), "");
    EXPECT_EQ(writeWholeFile(realFileSystem(), dir.file("folder.csv"), "c"),
              "无法写入文件 " + dir.file("folder.csv") + "：这是一个文件夹");
    Files after = kBefore;
    after["jixing.dat"] += "NEWM\r\n";
    after["NEWM.dat"] = "20\r\n100\r\n 1\r\n10\r\n\r\n";
    if (links) {
        after["jixingb.dat"] = "-> " + outside.file("outside.txt");
        after["NEWM.dat.tmp"] = "-> " + outside.file("outside2.txt");
    }
    after["report.csv.tmp"] = "notes";
    after["folder.csv"] = "<no file>";
    after["report.csv"] = "a";
    after[longest] = "b";
    EXPECT_EQ(dir.contents(), after);
    EXPECT_EQ(outside.contents(), away);
}

// Two writers, each with handles of its own, add and delete in a loop while
// one of them deletes C630: the list ends with exactly what was reported
// done, every added machine with its file. A third waits a bounded time.
TEST(CatalogueWriters, TwoAtOnceLoseNothingReportedDone) {
    TemporaryCatalogue dir(kBefore);
    std::vector<std::string> listed[2];
    bool c630Deleted = false;
    auto writer = [&](int w) {
        const std::string prefix(1, static_cast<char>('P' + w));
        if (w == 1) c630Deleted = removeMachineName(dir.path(), "C630").message.empty();
        for (int i = 0; i < 30; ++i) {
            const std::string model = prefix + std::to_string(i);
            if (addMachine(dir.path(), {model, "20", "100", "10", ""}).added)
                listed[w].push_back(model);
            if (i % 2 == 1 && removeMachineName(dir.path(), model).message.empty())
                listed[w].pop_back();
        }
    };
    std::thread second(writer, 1);
    writer(0);
    second.join();

    std::vector<std::string> expected = listed[0];
    expected.insert(expected.end(), listed[1].begin(), listed[1].end());
    if (!c630Deleted) expected.push_back("C630");
    std::vector<std::string> names = readMachineList(dir.path()).names;
    std::sort(expected.begin(), expected.end());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, expected);
    for (const std::string& model : expected)
        EXPECT_TRUE(model == "C630" || dir.read(model + ".dat")) << model;

    // The writers waited for each other above; a lock kept too long is named.
    const CatalogueLock held = realFileSystem().lockCatalogue(dir.path());
    EXPECT_EQ(realFileSystem().lockCatalogue(dir.path(), std::chrono::milliseconds(20)).message(),
              kCatalogueBusyMessage);
}

// With the lock held, temporary files of Kelvaro's naming older than a
// minute are removed; younger ones, and the user's, stay.
TEST(CatalogueWriters, LeftoverTemporaryFilesOlderThanAMinuteGo) {
    const Files kept = {{".kelvaro-fedcba9876543210.tmp", "a writer's"},
                        {".kelvaro-0123456789abcdeg.tmp", "the user's"},
                        {"Y7150.dat.tmp", "the user's"}};
    Files before = kept;
    before[".kelvaro-0123456789abcdef.tmp"] = "left";
    TemporaryCatalogue dir(before);
    const auto now = std::filesystem::file_time_type::clock::now();
    for (const auto& [name, bytes] : before) {
        const auto age = std::chrono::seconds(name.starts_with(".kelvaro-f") ? 50 : 70);
        std::filesystem::last_write_time(dir.file(name), now - age);
    }
    EXPECT_EQ(removeMachineName(dir.path(), "C630").status, CatalogueStatus::Missing);
    EXPECT_EQ(dir.contents(), kept);
}

} // namespace
} // namespace kelvaro
