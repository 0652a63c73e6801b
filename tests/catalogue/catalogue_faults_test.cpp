// A catalogue whose files fail: each step of adding and removing a machine
// failing in turn, a folder that cannot be written, a full disk, and files
// damaged by hand. Every operation ends with the old or the new catalogue
// and, when it fails, a message that names the file.
#include "catalogue/add_machine.h"
#include "catalogue/machine_file.h"
#include "catalogue/machine_list.h"
#include "support/failing_file_system.h"
#include "support/folder_state.h"
#include "support/temporary_catalogue.h"

#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvaro {
namespace {

using Files = std::map<std::string, std::string>;
using Rule = FailingFileSystem::Rule;

AddMachineInput input(std::string_view model, std::string_view missing = "37,41") {
    return {model, "20", "100", "10", missing};
}

const std::string kY7150 = "30\r\n90\r\n 1\r\n5\r\n\r\n";
const std::string kY7150Added = "20\r\n100\r\n 2\r\n10\r\n37\r\n41\r\n";

// The message for the user, empty on success.
using Operation = std::function<std::string(const std::string& dir, FileSystem& fs)>;

const Operation kAddY7150 = [](const std::string& dir, FileSystem& fs) {
    AddMachineInput overwriting = input("Y7150");
    overwriting.overwrite = true;
    const AddMachineOutcome outcome = addMachine(dir, overwriting, fs);
    EXPECT_EQ(outcome.added, outcome.message.empty());
    return outcome.message;
};
const Operation kAddZstz = [](const std::string& dir, FileSystem& fs) {
    return addMachine(dir, input("ZSTZ", ""), fs).message;
};
const Operation kRemoveY7150 = [](const std::string& dir, FileSystem& fs) {
    const CatalogueResult result = removeMachineName(dir, "Y7150", fs);
    EXPECT_EQ(result.failed(), !result.message.empty());
    return result.message;
};
const Operation kReadList = [](const std::string& dir, FileSystem& fs) {
    return readMachineList(dir, fs).message;
};
const Operation kReadY7150 = [](const std::string& dir, FileSystem& fs) {
    return readMachineFile(dir, "Y7150", fs).result.message;
};

// Runs `operation` with each step failing in turn, until a run meets no
// failure; every run ends in the state before or in the state after, and a
// failed one names a file of the catalogue.
void failEachStep(const Files& before, const Files& after, const Operation& operation) {
    for (int failAt = 1;; ++failAt) {
        TemporaryCatalogue dir;
        for (const auto& [name, bytes] : before)
            dir.write(name, bytes);
        FailingFileSystem fs(FailingFileSystem::atCall(failAt));
        const std::string message = operation(dir.path(), fs);
        EXPECT_EQ(folderState(dir), message.empty() ? after : before) << "step " << failAt;
        if (!message.empty()) {
            EXPECT_NE(message.find(dir.path() + "/"), std::string::npos) << message;
        }
        if (fs.calls() < failAt) break;
        ASSERT_LT(failAt, 100);
    }
}

TEST(CatalogueFaults, AddingLeavesTheOldOrTheNewCatalogue) {
    const Files before = {{"jixing.dat", "C630\r\nY7150\r\n"}, {"Y7150.dat", kY7150}};
    failEachStep(before, {{"jixing.dat", "C630\r\nY7150\r\n"}, {"Y7150.dat", kY7150Added}},
                 kAddY7150);
    // A new model: undoing removes its machine file.
    failEachStep(
        {{"jixing.dat", "C630\r\n"}},
        {{"jixing.dat", "C630\r\nZSTZ\r\n"}, {"ZSTZ.dat", "20\r\n100\r\n 1\r\n10\r\n\r\n"}},
        kAddZstz);
}

TEST(CatalogueFaults, RemovingLeavesTheOldOrTheNewList) {
    const Files before = {{"jixing.dat", "C630\r\nY7150\r\nZSTZ\r\n"}, {"Y7150.dat", kY7150}};
    Files after = before;
    after["jixing.dat"] = "C630\r\nZSTZ\r\n";
    failEachStep(before, after, kRemoveY7150);
}

// A read-only folder and a full disk: nothing is written, the catalogue
// still reads, and the message names the file that could not be written.
TEST(CatalogueFaults, AFolderThatCannotBeWrittenOrAFullDiskChangesNothing) {
    const struct {
        Rule rule;
        std::string reason;
    } faults[] = {
        {FailingFileSystem::readOnly(EROFS), "磁盘是只读的"},
        {FailingFileSystem::readOnly(EACCES), "没有访问权限"},
        {FailingFileSystem::fullDisk(), "磁盘空间不足"},
    };
    const struct {
        Operation operation;
        std::string file;
    } operations[] = {
        {kAddY7150, "Y7150.dat.tmp"},
        {kAddZstz, "ZSTZ.dat.tmp"},
        {kRemoveY7150, "jixingb.dat"},
    };
    const Files before = {{"jixing.dat", "C630\r\nY7150\r\n"}, {"Y7150.dat", kY7150}};
    for (const auto& fault : faults) {
        for (const auto& op : operations) {
            TemporaryCatalogue dir;
            for (const auto& [name, bytes] : before)
                dir.write(name, bytes);
            FailingFileSystem fs(fault.rule);
            EXPECT_EQ(op.operation(dir.path(), fs),
                      "无法写入文件 " + dir.file(op.file) + "：" + fault.reason);
            EXPECT_EQ(folderState(dir), before) << fault.reason;
            EXPECT_EQ(readMachineList(dir.path(), fs).names,
                      (std::vector<std::string>{"C630", "Y7150"}));
            EXPECT_FALSE(readMachineFile(dir.path(), "Y7150", fs).result.failed());
        }
    }
}

// Where permissions hold (not for root), a folder made read-only by chmod.
TEST(CatalogueFaults, AReadOnlyFolderByPermissions) {
    if (::geteuid() == 0) GTEST_SKIP() << "root writes into a read-only folder";
    TemporaryCatalogue dir;
    const Files before = {{"jixing.dat", "C630\r\nY7150\r\n"}, {"Y7150.dat", kY7150}};
    for (const auto& [name, bytes] : before)
        dir.write(name, bytes);
    ::chmod(dir.path().c_str(), 0555);
    const std::string denied = "：没有访问权限";
    EXPECT_EQ(kAddY7150(dir.path(), realFileSystem()),
              "无法写入文件 " + dir.file("Y7150.dat.tmp") + denied);
    EXPECT_EQ(kRemoveY7150(dir.path(), realFileSystem()),
              "无法写入文件 " + dir.file("jixingb.dat") + denied);
    ::chmod(dir.path().c_str(), 0755);
    EXPECT_EQ(folderState(dir), before);
}

// Files damaged by hand: a folder or a named pipe where a file belongs, a
// machine file that is a link to nothing or to an endless device.
TEST(CatalogueFaults, DamagedFilesGiveAMessageAndLoseNothing) {
    enum Damage {
        ListIsFolder,
        ListIsPipe,
        TemporaryIsFolder,
        TemporaryIsPipe,
        MachineIsFolder,
        MachineIsBrokenLink,
        MachineIsDevice,
    };
    const struct {
        Damage damage;
        Operation operation;
        std::string message; // "@" stands for the folder
        Files after;         // nothing: as before
    } rows[] = {
        {ListIsFolder, kReadList, "无法读取文件 @/jixing.dat：这是一个文件夹", {}},
        {ListIsFolder, kAddY7150, "无法读取文件 @/jixing.dat：这是一个文件夹", {}},
        {ListIsFolder, kAddZstz, "无法读取文件 @/jixing.dat：这是一个文件夹", {}},
        {ListIsFolder, kRemoveY7150, "无法读取文件 @/jixing.dat：这是一个文件夹", {}},
        {ListIsPipe, kReadList, "无法读取文件 @/jixing.dat：不是普通文件", {}},
        {ListIsPipe, kAddZstz, "无法读取文件 @/jixing.dat：不是普通文件", {}},
        {TemporaryIsFolder, kAddZstz, "无法写入文件 @/jixingb.dat：这是一个文件夹", {}},
        {TemporaryIsPipe, kRemoveY7150, "无法写入文件 @/jixingb.dat：不是普通文件", {}},
        {MachineIsDevice, kReadY7150, "无法读取文件 @/Y7150.dat：不是普通文件", {}},
        {TemporaryIsFolder, kRemoveY7150, "无法写入文件 @/jixingb.dat：这是一个文件夹", {}},
        {MachineIsFolder, kAddY7150, "无法读取文件 @/Y7150.dat：这是一个文件夹", {}},
        {MachineIsBrokenLink, kReadY7150, "找不到机床文件 @/Y7150.dat", {}},
        // Overwriting the model replaces the link by its file; removing it
        // leaves the link alone, as it does a machine file.
        {MachineIsBrokenLink,
         kAddY7150,
         "",
         {{"jixing.dat", "C630\r\nY7150\r\n"}, {"Y7150.dat", kY7150Added}}},
        {MachineIsBrokenLink,
         kRemoveY7150,
         "",
         {{"jixing.dat", "C630\r\n"}, {"Y7150.dat", "-> gone.dat"}}},
    };
    for (const auto& row : rows) {
        TemporaryCatalogue dir;
        dir.write("jixing.dat", "C630\r\nY7150\r\n");
        dir.write("Y7150.dat", kY7150);
        const auto damaged = [&dir](const std::string& name) {
            std::filesystem::remove(dir.file(name));
            return dir.file(name);
        };
        switch (row.damage) {
        case ListIsFolder:
            std::filesystem::create_directory(damaged("jixing.dat"));
            break;
        case ListIsPipe:
            ::mkfifo(damaged("jixing.dat").c_str(), 0644);
            break;
        case TemporaryIsFolder:
            std::filesystem::create_directory(damaged("jixingb.dat"));
            break;
        case TemporaryIsPipe:
            ::mkfifo(damaged("jixingb.dat").c_str(), 0644);
            break;
        case MachineIsDevice:
            std::filesystem::create_symlink("/dev/zero", damaged("Y7150.dat"));
            break;
        case MachineIsFolder:
            std::filesystem::create_directory(damaged("Y7150.dat"));
            break;
        case MachineIsBrokenLink:
            std::filesystem::create_symlink("gone.dat", damaged("Y7150.dat"));
            break;
        }
        const Files before = folderState(dir);
        std::string expected = row.message;
        if (const auto at = expected.find('@'); at != std::string::npos)
            expected.replace(at, 1, dir.path());

        EXPECT_EQ(row.operation(dir.path(), realFileSystem()), expected);
        EXPECT_EQ(folderState(dir), row.after.empty() ? before : row.after) << row.message;
    }
}

} // namespace
} // namespace kelvaro
