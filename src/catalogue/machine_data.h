#pragma once

#include "catalogue/catalogue_result.h"
#include "catalogue/feed_data.h"
#include "catalogue/machine_file.h"
#include "gears/set_facts.h"
#include "platform/file_system.h"

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What a hobbing job needs of a machine beyond its machine file, kept in a
// second file beside it, "<model>.dat.txt": one "key = value" per line (CR,
// LF or CR LF), "#" anywhere begins a comment to the end of the line.
//
//   index = 24 for Z/K from 1 to 160, e/f = 36/36
//   index = 12 for Z/K from 160        # 160 and up; 160 itself is the row above's
//   box = 20-100, 25*2, -37
//   clearance = 10
//   feed = 0.4608π × 30/54, 进给箱 I 档      (and feed pairs, helix extra:
//                                            see feed_data.h)
//
// "index" may stand on several lines: the index constant C for a range of
// Z / K (ends included; "from A" alone for A and up) and the manual's note;
// the first line listed whose range holds Z / K counts, so that a row may
// start where the one before ends. "box" lists the change gears: N one gear
// of N teeth, N*Q Q gears, A-B one gear of each count from A to B, -N one
// gear of N teeth fewer; several box lines add up. "clearance" is the room
// in teeth that the shaft and its spacer need. A key left out takes its
// default: no index rows, the machine file's range less its missing
// counts, 10 teeth.
//
// People write the file by hand, with whatever editor: it is read as UTF-8
// (a byte-order mark at the start is dropped), else as GBK when it is that
// (Notepad on a Chinese Windows); UTF-16 and other encodings are refused by
// name, as are files above 1 MB and invisible characters (a second
// byte-order mark, a zero-width space) that would make a key look right and
// read wrong. It is always written as UTF-8, LF.

namespace kelvaro {

inline constexpr std::string_view kMachineDataSuffix = ".txt";
// The largest tooth count a box may hold.
inline constexpr int kMaxBoxTeeth = 1000;
// The most gears of one tooth count a box may hold.
inline constexpr int kMaxGearsOfOneSize = 100;
// The largest machine data file read: far above any real one, and small
// enough that reading it never keeps a window waiting.
inline constexpr std::size_t kMaxMachineDataBytes = 1048576;

// Tooth count -> how many gears of it.
using GearBox = std::map<int, int>;

struct IndexRow {
    Fraction constant; // C, in lowest terms ("2.5" is 5/2)
    double from = 0;   // Z / K from
    double to = 0;     // to, included; infinity for "from A" alone
    std::string note;  // as written, without blanks around it; may be empty
    std::string text;  // the whole value, as written
};

struct MachineData {
    std::vector<IndexRow> indexRows;
    std::optional<GearBox> box;        // none: the machine file's gears
    std::optional<double> clearance;   // none: kDefaultClearance
    std::vector<std::string> boxTexts; // each box line's value, as written
    std::string clearanceText;
    FeedData feed;
};

struct BoxReading {
    GearBox box;
    std::string problem; // empty when the list was read
};

// Adds the items of a box list ("20-100,25*2,-37") to `box` in order.
BoxReading readBoxList(std::string_view list, GearBox box = {});
// A box as a list that reads back to it: runs of single gears as A-B,
// others as N or N*Q, in order of tooth count.
std::string boxListText(const GearBox& box);

// One of each count of the machine's range less its missing counts; a
// problem where the range cannot make a box.
BoxReading machineBox(const MachineRecord& machine);

// The index row that holds Z / K, if any.
const IndexRow* indexRowFor(const std::vector<IndexRow>& rows, double zOverK);

// One index row's value ("24 for Z/K from 1 to 160, e/f = 36/36"); a
// problem in words where it is not one.
std::optional<IndexRow> readIndexRow(std::string_view text, std::string* problem = nullptr);

enum class TextEncoding { Utf8, Gbk };

struct MachineDataReading {
    MachineData data;
    std::string problem; // "第 3 行：…" where the text is broken, or what the file is
    TextEncoding encoding = TextEncoding::Utf8;
};
// Reads a file's bytes in whichever encoding they are (see above).
MachineDataReading readMachineData(std::string_view bytes);

// The file's text: a comment naming the machine, then the facts.
std::string machineDataText(std::string_view model, const MachineData& data);

// Why `data` cannot be written so that it reads back as it is (a note with
// "#", which would begin a comment; a value over two lines), or nothing.
std::optional<std::string> machineDataWriteProblem(const MachineData& data);

std::string machineDataFile(const std::string& directory, std::string_view model);

struct MachineDataFile {
    CatalogueResult result; // Missing: no file, the defaults hold
    MachineData data;
    std::string bytes; // the file as read, broken or not (of a large one, its start)
    std::string note;  // how it was read, where the user should know ("按 GBK 编码读出…")
};
// A broken file fails with a message that names the file and the line.
MachineDataFile loadMachineData(const std::string& directory, std::string_view model,
                                FileSystem& fs = realFileSystem());

// Replaces the file in one step with `data`, under the catalogue's lock;
// refuses data that would not read back as they are, and a file the user
// made read-only. With `openedBytes`
// (MachineDataFile::bytes of the load the caller shows; a missing file is
// no bytes), a file that another program changed since then is left as it
// is, with CatalogueStatus::Changed: the caller asks, and saves again
// without them to overwrite.
CatalogueResult saveMachineData(const std::string& directory, std::string_view model,
                                const MachineData& data, FileSystem& fs = realFileSystem(),
                                std::optional<std::string_view> openedBytes = std::nullopt);

} // namespace kelvaro
