// Confirm of the add-machine dialog: what is refused, what is written, and
// that a failing file operation at any step leaves the catalogue as it was.
#include "catalogue/add_machine.h"
#include "catalogue/machine_list.h"
#include "support/temporary_catalogue.h"

#include <gtest/gtest.h>

namespace kelvaro {
namespace {

AddMachineInput input(std::string_view model, std::string_view missing = "37,41") {
    return {model, "20", "100", "10", missing};
}

TEST(AddMachine, WritesTheMachineFileAndAppendsTheModel) {
    const struct {
        std::string missing;
        std::string tail; // the file from its third line on, after " N"
        std::string last;
    } rows[] = {
        {"37,41", " 2\r\n10\r\n37\r\n41\r\n", "41"},
        {"", " 1\r\n10\r\n\r\n", ""},
        {"37,,41", " 3\r\n10\r\n37\r\n\r\n41\r\n", "41"},
        {"37,", " 2\r\n10\r\n37\r\n\r\n", ""},
        {"0037,32767", " 2\r\n10\r\n0037\r\n32767\r\n", "32767"},
    };
    for (const auto& row : rows) {
        TemporaryCatalogue dir;
        dir.write("jixing.dat", "C630\r\n");
        const AddMachineOutcome outcome = addMachine(dir.path(), input(" M  ", row.missing));
        EXPECT_TRUE(outcome.added) << row.missing;
        EXPECT_EQ(outcome.lastMissing, row.last);
        EXPECT_EQ(dir.contents(),
                  (std::map<std::string, std::string>{{"jixing.dat", "C630\r\nM\r\n"},
                                                      {"M.dat", "20\r\n100\r\n" + row.tail}}));
    }
}

TEST(AddMachine, RefusesBadInputAndWritesNothing) {
    const struct {
        AddMachineInput input;
        std::string message;
    } rows[] = {
        {{"Y7150", "0", "100", "10", ""}, "输入数据有错"},
        {{"", "20", "abc", "10", ""}, "输入数据有错"},        // numbers are checked first
        {{"Y7150", "20,5", "100", "10", ""}, "输入数据有错"}, // would split the line
        {{"Y7150", "20", "100", "10😀", ""}, "输入数据有错"},
        {{"", "20", "100", "10", ""}, "机床型号错"},
        {{"    ", "-3", "2.5", "10x", ""}, "机床型号错"},
        {{"Y7,150", "20", "100", "10", ""}, "机床型号中请不要包含逗号或引号"},
        {{"../Y7150", "20", "100", "10", ""}, "机床型号中请不要包含“/”或“\\”"},
        {{"Y\t7150", "20", "100", "10", ""}, "机床型号中请不要包含控制字符"},
        {{"Y7150\u0085", "20", "100", "10", ""}, "机床型号中请不要包含控制字符"},
        {{"Y7150😀", "20", "100", "10", ""}, "机床型号中有不能保存的字符"},
        {{"jixing", "20", "100", "10", ""}, "机床型号不能是 jixing 或 jixingb"},
        {{"Y7150", "20", "100", "10", "37,a"}, "输入数据有错误,数据间用逗号隔开!!!"},
        {{"Y7150", "20", "100", "10", "37 "}, "输入数据有错误,数据间用逗号隔开!!!"},
        {{"Y7150", "20", "100", "10", "32768"}, "输入数据有错误,数据间用逗号隔开!!!"},
        {{"Y7150", "20", "100", "10", "37，41"}, "输入数据有错误,数据间用逗号隔开!!!"},
    };
    for (const auto& row : rows) {
        TemporaryCatalogue dir;
        const AddMachineOutcome outcome = addMachine(dir.path(), row.input);
        EXPECT_FALSE(outcome.added) << row.input.model;
        EXPECT_EQ(outcome.message, row.message) << row.input.model;
        EXPECT_TRUE(dir.contents().empty()) << row.input.model;
    }
}

TEST(AddMachine, ReportsAFolderThatCannotBeWritten) {
    TemporaryCatalogue dir;
    const std::string missingFolder = dir.path() + "/nothing";
    const AddMachineOutcome outcome = addMachine(missingFolder, input("Y7150"));
    EXPECT_FALSE(outcome.added);
    EXPECT_EQ(outcome.message,
              "无法写入文件 " + missingFolder + "/Y7150.dat.tmp：文件或文件夹不存在");
}

// The real files, with the n-th operation of all (counted from 1) failing.
class FailingFileSystem final : public FileSystem {
  public:
    explicit FailingFileSystem(int failAt) : failAt_(failAt) {}
    int calls() const { return calls_; }

    int open(const std::string& path, OpenMode mode) override {
        return fails() ? -EACCES : real().open(path, mode);
    }
    long read(int file, char* buffer, std::size_t size) override {
        return fails() ? -EIO : real().read(file, buffer, size);
    }
    int write(int file, std::string_view bytes) override {
        if (!fails()) return real().write(file, bytes);
        real().write(file, bytes.substr(0, bytes.size() / 2)); // a disk that fills up
        return -ENOSPC;
    }
    int flush(int file) override { return fails() ? -EIO : real().flush(file); }
    int close(int file) override {
        const int closed = real().close(file);
        return fails() ? -EIO : closed;
    }
    int rename(const std::string& from, const std::string& to) override {
        return fails() ? -EACCES : real().rename(from, to);
    }
    int remove(const std::string& path) override { return fails() ? -EACCES : real().remove(path); }

  private:
    static FileSystem& real() { return realFileSystem(); }
    bool fails() { return ++calls_ == failAt_; }
    int failAt_;
    int calls_ = 0;
};

// Runs `operation` with each step failing in turn, until a run meets no
// failure; every run ends in the state before or in the state after.
template <typename Operation>
void failEachStep(const std::map<std::string, std::string>& before,
                  const std::map<std::string, std::string>& after, Operation operation) {
    for (int failAt = 1;; ++failAt) {
        TemporaryCatalogue dir;
        for (const auto& [name, bytes] : before)
            dir.write(name, bytes);
        FailingFileSystem fs(failAt);
        const bool succeeded = operation(dir.path(), fs);
        const auto state = dir.contents();
        if (succeeded) {
            EXPECT_EQ(state, after) << "step " << failAt;
        } else {
            EXPECT_EQ(state, before) << "step " << failAt;
        }
        if (fs.calls() < failAt) break;
        ASSERT_LT(failAt, 100);
    }
}

TEST(CatalogueFaults, AddingLeavesTheOldOrTheNewCatalogue) {
    const std::map<std::string, std::string> before = {
        {"jixing.dat", "C630\r\nY7150\r\n"},
        {"Y7150.dat", "30\r\n90\r\n 1\r\n5\r\n\r\n"},
    };
    const std::map<std::string, std::string> after = {
        {"jixing.dat", "C630\r\nY7150\r\nY7150\r\n"},
        {"Y7150.dat", "20\r\n100\r\n 2\r\n10\r\n37\r\n41\r\n"},
    };
    failEachStep(before, after, [](const std::string& dir, FileSystem& fs) {
        const AddMachineOutcome outcome = addMachine(dir, input("Y7150"), fs);
        EXPECT_EQ(outcome.added, outcome.message.empty());
        return outcome.added;
    });

    // A new model: undoing removes its machine file.
    failEachStep(
        {{"jixing.dat", "C630\r\n"}},
        {{"jixing.dat", "C630\r\nZSTZ\r\n"}, {"ZSTZ.dat", "20\r\n100\r\n 1\r\n10\r\n\r\n"}},
        [](const std::string& dir, FileSystem& fs) {
            return addMachine(dir, input("ZSTZ", ""), fs).added;
        });
}

TEST(CatalogueFaults, RemovingLeavesTheOldOrTheNewList) {
    const std::map<std::string, std::string> before = {
        {"jixing.dat", "C630\r\nY7150\r\nZSTZ\r\n"},
        {"Y7150.dat", "30\r\n90\r\n 1\r\n5\r\n\r\n"},
    };
    std::map<std::string, std::string> after = before;
    after["jixing.dat"] = "C630\r\nZSTZ\r\n";
    failEachStep(before, after, [](const std::string& dir, FileSystem& fs) {
        const CatalogueResult result = removeMachineName(dir, "Y7150", fs);
        EXPECT_EQ(result.failed(), !result.message.empty());
        return !result.failed();
    });
}

} // namespace
} // namespace kelvaro
