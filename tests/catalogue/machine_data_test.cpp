// The machine data file as people write it: line ends, comments, encodings,
// invisible characters, size; and saving only what reads back, over a file
// nobody else changed.
#include "catalogue/machine_data.h"
#include "support/temporary_catalogue.h"

#include <cmath>
#include <gtest/gtest.h>

namespace kelvaro {
namespace {

using Files = TemporaryCatalogue::Files;

// What a reading holds, in one line.
std::string summary(const MachineDataReading& reading) {
    if (!reading.problem.empty()) return reading.problem;
    std::string text;
    for (const IndexRow& row : reading.data.indexRows)
        text += "index " + std::to_string(row.constant.numerator) + "/" +
                std::to_string(row.constant.denominator) + " " + std::to_string(int(row.from)) +
                "-" + (std::isinf(row.to) ? "" : std::to_string(int(row.to))) + " “" + row.note +
                "”; ";
    if (reading.data.box) text += "box " + boxListText(*reading.data.box) + "; ";
    if (reading.data.clearance) text += "clearance " + reading.data.clearanceText + "; ";
    if (const FeedData& feed = reading.data.feed; !feed.lines.empty())
        text += "feed “" + feed.lines[0].note + "”, " + std::to_string(feed.pairs.size()) +
                " pairs, helix " + helixExtraWord(feed.helixExtra) + "; ";
    return text + (reading.encoding == TextEncoding::Gbk ? "GBK" : "UTF-8");
}

TEST(MachineDataReading, ReadsWhatPeopleWriteAndNamesWhatItCannot) {
    using namespace std::string_literals; // bytes with NULs
    const std::string only = "，只能读 UTF-8 或 GBK", saveAs = "，请在编辑器中另存为 UTF-8";
    const std::string mark = "\xEF\xBB\xBF", remove = "，请删去它";
    const struct {
        const char* name;
        std::string bytes;
        std::string read;
    } rows[] = {
        // clang-format off
        {"old Mac line ends",
         "index = 24 for Z/K from 1 to 161, e/f = 36/36\rbox = 30-60\rclearance = 0\r",
         "index 24/1 1-161 “e/f = 36/36”; box 30-60; clearance 0; UTF-8"},
        {"mixed line ends", "box = 30\r\n\r\nbox = 31\n\rbox = 32\rclearance = 5", "box 30-32; clearance 5; UTF-8"},
        {"the README's example, byte for byte",
         "index = 24 for Z/K from 1 to 161, e/f = 36/36   # C for a range of Z/K, the manual's "
         "note\n"
         "box = 20-100, 25, 40, -23, -47, -53              # N, N*Q, A-B add gears; -N takes one "
         "away\n"
         "clearance = 10                                   # teeth for the shaft and its spacer\n"
         "feed = 0.4608π × 30/54, 进给箱 I 档               # s = C_f × a1/b1, one line per "
         "feed-box position\n"
         "feed pairs = 26/52, 32/46, 46/32, 52/26          # a1/b1 of their own gears; left out: "
         "from the box\n"
         "helix extra = with                               # same hands: the helix's extra turn "
         "goes with generating\n",
         "index 24/1 1-161 “e/f = 36/36”; box 20-22,24,25*2,26-39,40*2,41-46,48-52,54-100; "
         "clearance 10; feed “进给箱 I 档”, 4 pairs, helix with; UTF-8"},
        {"a note ends at #", "index = 2.5 for Z/K from 1 to 40, 3#机\n", "index 5/2 1-40 “3”; UTF-8"},
        {"rows that meet, the last open",
         "index = 24 for Z/K from 1 to 161\r\nindex = 12 for Z/K from 161, 二\r\n",
         "index 24/1 1-161 “”; index 12/1 161- “二”; UTF-8"},
        {"UTF-8 with its mark", mark + "clearance = 3 # 说明\n", "clearance 3; UTF-8"},
        {"Notepad's GBK", "index = 24 for Z/K from 1 to 9, \xCB\xB5\xC3\xF7 3 \xBA\xC5\r\n", "index 24/1 1-9 “说明 3 号”; GBK"},
        {"UTF-16 LE", "\xFF\xFE" "b\0o\0x\0"s, "文件是 UTF-16 LE 编码（以字节顺序标记 FF FE 开头）" + only + saveAs},
        {"UTF-16 without its mark", "b\0o\0x\0=\0"s, "文件像是没有字节顺序标记的 UTF-16 LE 编码（一半字节是 0）" + only + saveAs},
        {"a NUL in text", "box = 20\n\n# \0\n"s, "文件第 3 行有 0 字节，不是文本文件"},
        {"neither UTF-8 nor GBK", "box = 20\r\nbox = 21 \xFF\r\n", "文件既不是 UTF-8 也不是 GBK 编码（第 2 行的字节 0xFF 不能识别）" + saveAs},
        {"marked UTF-8 with GBK in it", mark + "\nbox = 20 # \xCB\xB5\xC3\xF7",
         "文件以 UTF-8 的字节顺序标记开头，第 2 行的字节 0xC3 却不是 UTF-8" + saveAs},
        {"a mark at line 2", "clearance = 3\r\n" + mark + "box = 20\r\n", "第 2 行开头有看不见的字符 U+FEFF（字节顺序标记）" + remove},
        {"a doubled mark", mark + mark + "box = 20\n", "第 1 行开头有看不见的字符 U+FEFF（字节顺序标记）" + remove},
        {"a no-break space", "box = 20\xC2\xA0-30\n", "第 1 行第 9 个字符是看不见的字符 U+00A0（不换行空格）" + remove},
        {"a zero-width space in a key", "  bo\xE2\x80\x8Bx = 20\n", "第 1 行第 3 个字符是看不见的字符 U+200B（零宽空格）" + remove},
        {"an unknown key", "box = 20\rspeed = 3\r",
         "第 2 行：不认识“speed”，只能是 index、box、clearance、feed、feed pairs 或 helix extra"},
        {"1 MB and a byte", std::string(kMaxMachineDataBytes + 1, '#'),
         "文件有 1048577 字节（1.0 MB），大于机床资料的上限 1 MB（1048576 "
         "字节），请检查是不是选错了文件"},
        {"1 MB", std::string(kMaxMachineDataBytes, '#'), "UTF-8"},
        // clang-format on
    };
    for (const auto& row : rows)
        EXPECT_EQ(summary(readMachineData(row.bytes)), row.read) << row.name;

    const MachineData meeting =
        readMachineData("index = 24 for Z/K from 1 to 161\nindex = 12 for Z/K from 161\n").data;
    for (const auto& [zOverK, constant] : {std::pair{161.0, 24}, {161.5, 12}, {1e9, 12}})
        EXPECT_EQ(indexRowFor(meeting.indexRows, zOverK)->constant.numerator, constant) << zOverK;
}

TEST(MachineDataFile, SavesOnlyWhatReadsBackOverTheFileThatWasOpened) {
    const std::string opened = "box = 20-30\r\n";
    TemporaryCatalogue dir(Files{{"M.dat.txt", opened}});
    MachineData data = readMachineData("index = 24 for Z/K from 161, 3号机\n").data;
    const std::string written = "# 机床 M 的滚齿调整资料\nindex = 24 for Z/K from 161, 3号机\n";

    const struct {
        const char* name;
        std::optional<std::string> onDisk; // before the save; none: no file
        std::optional<std::string_view> opened;
        CatalogueStatus status;
    } rows[] = {
        {"unchanged since opened", opened, opened, CatalogueStatus::Ok},
        {"changed since opened", "box = 20\r\n", opened, CatalogueStatus::Changed},
        {"removed since opened", std::nullopt, opened, CatalogueStatus::Changed},
        {"made since opened", opened, "", CatalogueStatus::Changed},
        {"still missing", std::nullopt, "", CatalogueStatus::Ok},
        {"overwrite after asking", "box = 20\r\n", std::nullopt, CatalogueStatus::Ok},
    };
    for (const auto& row : rows) {
        std::filesystem::remove(TemporaryCatalogue::native(dir.file("M.dat.txt")));
        if (row.onDisk) dir.write("M.dat.txt", *row.onDisk);
        const CatalogueResult result =
            saveMachineData(dir.path(), "M", data, realFileSystem(), row.opened);
        EXPECT_EQ(result.status, row.status) << row.name;
        const bool kept = row.status == CatalogueStatus::Changed;
        EXPECT_EQ(result.message,
                  kept ? "机床资料 " + dir.file("M.dat.txt") + " 在打开以后被另一个程序改过" : "")
            << row.name;
        EXPECT_EQ(dir.read("M.dat.txt"), kept ? row.onDisk : written) << row.name;
    }

    // A note with "#" would lose its end on reading: it is not written.
    data.indexRows[0].text = "24 for Z/K from 161, 3#机";
    EXPECT_EQ(saveMachineData(dir.path(), "M", data).message,
              "分齿常数“24 for Z/K from 161, 3#机”中有“#”：机床资料中 # 以后是注释，请换成别的字符"
              "（如“3#机”写成“3号机”）");
    data.indexRows[0].text = "24 for Z/K from 161, \xE2\x80\x8B";
    EXPECT_EQ(saveMachineData(dir.path(), "M", data).message,
              "这些机床资料写出后读不回来：第 2 行第 30 个字符是看不见的字符 "
              "U+200B（零宽空格），请删去它");
    EXPECT_EQ(dir.read("M.dat.txt"), written);

    // A file the user made read-only is neither replaced nor made writable.
    namespace fs = std::filesystem;
    const fs::path file = TemporaryCatalogue::native(dir.file("M.dat.txt"));
    const fs::perms readOnly = fs::perms::owner_read | fs::perms::group_read;
    fs::permissions(file, readOnly);
    EXPECT_EQ(saveMachineData(dir.path(), "M", readMachineData("box = 20").data).message,
              "机床资料 " + dir.file("M.dat.txt") +
                  " 是只读文件，没有保存；要修改它，请先去掉它的只读属性");
    EXPECT_EQ(dir.read("M.dat.txt"), written);
    EXPECT_EQ(fs::status(file).permissions() & fs::perms::owner_write, fs::perms::none);
    fs::permissions(file, fs::perms::owner_write, fs::perm_options::add);
}

TEST(MachineDataFile, LoadsNamingTheFileItsSizeAndItsEncoding) {
    std::string large = "box = 1-1000\n"; // of 10,000,013 bytes, that took half a minute
    for (int line = 0; line < 2000000; ++line)
        large += "box=\n";
    TemporaryCatalogue dir(
        Files{{"G.dat.txt", "box = 20 # \xCB\xB5\xC3\xF7\r\n"}, {"L.dat.txt", large}});
    EXPECT_EQ(loadMachineData(dir.path(), "G").note,
              "机床资料 " + dir.file("G.dat.txt") +
                  " 不是 UTF-8，已按 GBK 编码读出；保存时写成 UTF-8");
    EXPECT_EQ(loadMachineData(dir.path(), "L").result.message,
              "机床资料 " + dir.file("L.dat.txt") +
                  " 有错，文件有 10000013 字节（9.5 MB），大于机床资料的上限 1 MB（1048576 "
                  "字节），请检查是不是选错了文件");
}

} // namespace
} // namespace kelvaro
