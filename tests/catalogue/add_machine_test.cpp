// Confirm of the add-machine dialog: what is refused and what is written.
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
    // One byte longer than a file name may be with ".dat.tmp".
    const std::string kLongModel(248, 'M');
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
        {{kLongModel, "20", "100", "10", ""}, "机床型号太长，不能作为文件名"},
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

} // namespace
} // namespace kelvaro
