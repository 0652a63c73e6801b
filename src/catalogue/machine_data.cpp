#include "catalogue/machine_data.h"

#include "catalogue/list_items.h"
#include "catalogue/model_name.h"
#include "gears/utf8_text.h"
#include "platform/gbk_text.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <numeric>

namespace kelvaro {

namespace {

// A whole number, nothing else.
std::optional<long long> wholeNumber(std::string_view text) {
    long long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) return {};
    return value;
}

// A plain decimal number ("12", "0.5"), nothing else.
std::optional<double> plainNumber(std::string_view text) {
    double value = 0;
    const auto [end, error] =
        std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
    if (error != std::errc() || end != text.data() + text.size() || text.empty() ||
        !std::isfinite(value))
        return {};
    return value;
}

// A positive decimal ("24", "2.5") as a fraction in lowest terms.
std::optional<Fraction> decimalFraction(std::string_view text) {
    const auto point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    const std::string_view part = point == std::string_view::npos ? "" : text.substr(point + 1);
    if (whole.size() > 9 || part.size() > 6 || (whole.empty() && part.empty())) return {};
    std::int64_t numerator = 0, denominator = 1;
    for (const char c : std::string(whole) + std::string(part)) {
        if (c < '0' || c > '9') return {};
        numerator = numerator * 10 + (c - '0');
    }
    for (std::size_t i = 0; i < part.size(); ++i)
        denominator *= 10;
    if (numerator == 0) return {};
    const std::int64_t divisor = std::gcd(numerator, denominator);
    return Fraction{numerator / divisor, denominator / divisor};
}

std::string toothProblem(std::string_view item) {
    return "“" + std::string(item) + "”不是 1 到 " + std::to_string(kMaxBoxTeeth) + " 的齿数";
}

std::optional<int> toothCount(std::string_view text) {
    const auto value = wholeNumber(trimmed(text));
    if (!value || *value < 1 || *value > kMaxBoxTeeth) return {};
    return static_cast<int>(*value);
}

std::string failureAt(std::size_t line, const std::string& problem) {
    return "第 " + std::to_string(line) + " 行：" + problem;
}

// Adds the items of `list` to `box` where it is: a file's box lines add up
// without copying the box for each (2,000,000 "box =" lines read in time).
std::string addBoxItems(std::string_view list, GearBox& box) {
    // A box holds at most 100 gears of one size, however the items add up,
    // so that every box is one item "N*Q" of its list again.
    std::string tooMany;
    const auto put = [&box, &tooMany](int teeth, int count) {
        if ((box[teeth] += count) > kMaxGearsOfOneSize && tooMany.empty())
            tooMany = "箱中 " + std::to_string(teeth) + " 齿的挂轮多于 " +
                      std::to_string(kMaxGearsOfOneSize) + " 个";
    };
    for (const std::string_view item : listItems(list)) {
        const auto star = item.find('*');
        const auto dash = item.find('-', 1);
        if (item.front() == '-') {
            const auto teeth = toothCount(item.substr(1));
            if (!teeth) return toothProblem(item.substr(1));
            auto found = box.find(*teeth);
            if (found == box.end())
                return "箱中没有 " + std::to_string(*teeth) + " 齿的挂轮可以去掉";
            if (--found->second == 0) box.erase(found);
        } else if (star != std::string_view::npos) {
            const auto teeth = toothCount(item.substr(0, star));
            const auto count = wholeNumber(trimmed(item.substr(star + 1)));
            if (!teeth) return toothProblem(item.substr(0, star));
            if (!count || *count < 1 || *count > kMaxGearsOfOneSize)
                return "“" + std::string(item) + "”的个数应是 1 到 " +
                       std::to_string(kMaxGearsOfOneSize) + " 的整数";
            put(*teeth, static_cast<int>(*count));
        } else if (dash != std::string_view::npos) {
            const auto from = toothCount(item.substr(0, dash));
            const auto to = toothCount(item.substr(dash + 1));
            if (!from || !to || *from > *to)
                return "“" + std::string(item) + "”不是从小到大的齿数范围";
            for (int teeth = *from; teeth <= *to; ++teeth)
                put(teeth, 1);
        } else {
            const auto teeth = toothCount(item);
            if (!teeth) return toothProblem(item);
            put(*teeth, 1);
        }
        if (!tooMany.empty()) return tooMany;
    }
    return {};
}

} // namespace

BoxReading readBoxList(std::string_view list, GearBox box) {
    std::string problem = addBoxItems(list, box);
    if (!problem.empty()) return {{}, std::move(problem)};
    return {std::move(box), {}};
}

std::string boxListText(const GearBox& box) {
    std::string text;
    auto add = [&text](const std::string& item) { text += (text.empty() ? "" : ",") + item; };
    for (auto it = box.begin(); it != box.end();) {
        const auto [teeth, count] = *it;
        if (count > 1) {
            add(std::to_string(teeth) + "*" + std::to_string(count));
            ++it;
            continue;
        }
        auto last = it;
        for (auto next = std::next(it);
             next != box.end() && next->second == 1 && next->first == std::prev(next)->first + 1;
             ++next)
            last = next;
        add(last == it ? std::to_string(teeth)
                       : std::to_string(teeth) + "-" + std::to_string(last->first));
        it = std::next(last);
    }
    return text;
}

BoxReading machineBox(const MachineRecord& machine) {
    const double from = std::ceil(machine.minTeeth), to = std::floor(machine.maxTeeth);
    if (!(from >= 1 && to <= kMaxBoxTeeth && from <= to))
        return {{},
                "机床的齿数范围不在 1 到 " + std::to_string(kMaxBoxTeeth) +
                    " 之间，请在机床资料中写出挂轮箱（box = …）"};
    GearBox box;
    for (int teeth = static_cast<int>(from); teeth <= static_cast<int>(to); ++teeth)
        box[teeth] = 1;
    for (const std::int16_t missing : machine.missingTeeth)
        box.erase(missing);
    return {std::move(box), {}};
}

const IndexRow* indexRowFor(const std::vector<IndexRow>& rows, double zOverK) {
    for (const IndexRow& row : rows)
        if (row.from <= zOverK && zOverK <= row.to) return &row;
    return nullptr;
}

std::optional<IndexRow> readIndexRow(std::string_view text, std::string* problem) {
    const std::string_view value = trimmed(text);
    const auto comma = value.find(',');
    std::vector<std::string_view> words;
    std::string_view head = value.substr(0, comma);
    while (!(head = trimmed(head)).empty()) {
        const auto blank = head.find_first_of(" \t");
        words.push_back(head.substr(0, blank));
        head = blank == std::string_view::npos ? std::string_view() : head.substr(blank);
    }
    IndexRow row;
    row.text = value;
    if (comma != std::string_view::npos) row.note = trimmed(value.substr(comma + 1));
    // "C for Z/K from A to B", or "C for Z/K from A" for A and up.
    const bool openEnded = words.size() == 5;
    const bool shaped = (words.size() == 7 || openEnded) && words[1] == "for" &&
                        words[2] == "Z/K" && words[3] == "from" && (openEnded || words[5] == "to");
    const auto constant = shaped ? decimalFraction(words[0]) : std::nullopt;
    const auto from = shaped ? plainNumber(words[4]) : std::nullopt;
    const auto to = !shaped     ? std::nullopt
                    : openEnded ? std::optional(std::numeric_limits<double>::infinity())
                                : plainNumber(words[6]);
    if (!constant || !from || !to || *from > *to) {
        if (problem)
            *problem = "分齿常数应写成“24 for Z/K from 1 to 160, 说明”（或“from 161”，161 "
                       "以上都用它），常数为正数，范围从小到大";
        return std::nullopt;
    }
    row.constant = *constant;
    row.from = *from;
    row.to = *to;
    return row;
}

namespace {

// Each key's reader: it adds the line's value to the data, or says what is
// wrong with it. A new key is one row of kKeys.
std::string readIndexKey(std::string_view value, MachineData& data) {
    std::string problem;
    if (auto row = readIndexRow(value, &problem)) data.indexRows.push_back(std::move(*row));
    return problem;
}

std::string readBoxKey(std::string_view value, MachineData& data) {
    if (!data.box) data.box.emplace();
    data.boxTexts.emplace_back(value);
    return addBoxItems(value, *data.box);
}

std::string readClearanceKey(std::string_view value, MachineData& data) {
    const auto clearance = plainNumber(value);
    if (data.clearance) return "clearance 只能写一行";
    if (!clearance || *clearance < 0 || *clearance > 1000)
        return "装配间隙应是 0 到 1000 的齿数，而不是“" + std::string(value) + "”";
    data.clearance = clearance;
    data.clearanceText = value;
    return {};
}

struct KeyReader {
    std::string_view key;
    std::string (*read)(std::string_view value, MachineData& data);
};
constexpr KeyReader kKeys[] = {
    {"index", readIndexKey},
    {"box", readBoxKey},
    {"clearance", readClearanceKey},
    {"feed", [](std::string_view v, MachineData& d) { return addFeedLine(v, d.feed); }},
    {"feed pairs", [](std::string_view v, MachineData& d) { return addFeedPairs(v, d.feed); }},
    {"helix extra", [](std::string_view v, MachineData& d) { return setHelixExtra(v, d.feed); }},
};

std::string unknownKeyProblem(std::string_view key) {
    std::string names;
    for (std::size_t i = 0; i < std::size(kKeys); ++i)
        names += (i == 0                      ? ""
                  : i + 1 == std::size(kKeys) ? " 或 "
                                              : "、") +
                 std::string(kKeys[i].key);
    return "不认识“" + std::string(key) + "”，只能是 " + names;
}

// Characters that a reader of the line cannot see, and that make a key or
// a number that looks right read wrong.
struct InvisibleCharacter {
    std::string_view bytes;
    const char* name;
};
constexpr InvisibleCharacter kInvisible[] = {
    {"\xEF\xBB\xBF", "U+FEFF（字节顺序标记）"}, {"\xE2\x80\x8B", "U+200B（零宽空格）"},
    {"\xE2\x80\x8C", "U+200C（零宽不连字）"},   {"\xE2\x80\x8D", "U+200D（零宽连字）"},
    {"\xE2\x80\x8E", "U+200E（从左到右标记）"}, {"\xE2\x80\x8F", "U+200F（从右到左标记）"},
    {"\xE2\x81\xA0", "U+2060（零宽不折行）"},   {"\xC2\xA0", "U+00A0（不换行空格）"},
    {"\xC2\xAD", "U+00AD（软连字符）"},         {"\xE3\x80\x80", "U+3000（全角空格）"},
};

// Where the line holds an invisible character: "开头有…" or "第 K 个字符是…".
std::string invisibleProblem(std::string_view line) {
    std::size_t characters = 0;
    bool started = false;
    for (std::size_t at = 0; at < line.size();) {
        // All of them are beyond ASCII.
        if (static_cast<unsigned char>(line[at]) >= 0x80)
            for (const InvisibleCharacter& invisible : kInvisible)
                if (line.substr(at).starts_with(invisible.bytes))
                    return (started ? "第 " + std::to_string(characters + 1) + " 个字符是"
                                    : std::string("开头有")) +
                           "看不见的字符 " + invisible.name + "，请删去它";
        started = started || (line[at] != ' ' && line[at] != '\t');
        ++characters;
        const std::size_t length =
            static_cast<unsigned char>(line[at]) < 0x80 ? 1 : utf8SequenceLength(line, at);
        at += length == 0 ? 1 : length;
    }
    return {};
}

// The number of the line that holds byte `at`; CR, LF and CR LF end a line.
std::size_t lineOf(std::string_view text, std::size_t at) {
    std::size_t line = 1;
    for (std::size_t i = 0; i < at && i < text.size(); ++i)
        if (text[i] == '\n' || (text[i] == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n')))
            ++line;
    return line;
}

std::string hexByte(unsigned char byte) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", byte);
    return text;
}

constexpr std::string_view kSaveAsUtf8 = "，请在编辑器中另存为 UTF-8";

// The UTF-8 text of a file's bytes, or why they are no text Kelvaro reads.
struct DecodedText {
    std::string text;
    TextEncoding encoding = TextEncoding::Utf8;
    std::string problem;
};
DecodedText decodedText(std::string_view bytes) {
    if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF"))
        return {{},
                {},
                std::string("文件是 UTF-16 ") + (bytes[0] == '\xFF' ? "LE" : "BE") +
                    " 编码（以字节顺序标记 " + (bytes[0] == '\xFF' ? "FF FE" : "FE FF") +
                    " 开头），只能读 UTF-8 或 GBK" + std::string(kSaveAsUtf8)};
    if (const auto nul = bytes.find('\0'); nul != std::string_view::npos) {
        // UTF-16 without its mark: every second byte of Latin text is NUL.
        std::size_t even = 0, odd = 0;
        for (std::size_t i = 0; i < bytes.size(); ++i)
            if (bytes[i] == '\0') ++(i % 2 == 0 ? even : odd);
        if (4 * (even + odd) >= bytes.size())
            return {{},
                    {},
                    std::string("文件像是没有字节顺序标记的 UTF-16 ") +
                        (odd >= even ? "LE" : "BE") + " 编码（一半字节是 0），只能读 UTF-8 或 GBK" +
                        std::string(kSaveAsUtf8)};
        return {
            {}, {}, "文件第 " + std::to_string(lineOf(bytes, nul)) + " 行有 0 字节，不是文本文件"};
    }
    const bool marked = bytes.starts_with("\xEF\xBB\xBF");
    if (marked) bytes.remove_prefix(3);
    const auto invalid = firstInvalidUtf8(bytes);
    if (invalid == std::string_view::npos) return {std::string(bytes), TextEncoding::Utf8, {}};
    const std::string where = "第 " + std::to_string(lineOf(bytes, invalid)) + " 行的字节 " +
                              hexByte(static_cast<unsigned char>(bytes[invalid]));
    if (marked)
        return {{},
                {},
                "文件以 UTF-8 的字节顺序标记开头，" + where + " 却不是 UTF-8" +
                    std::string(kSaveAsUtf8)};
    // GBK cannot encode U+FFFD: a replacement in the text is a byte that is
    // no GBK.
    std::string text = fromGbk(bytes);
    if (text.find("\xEF\xBF\xBD") == std::string::npos)
        return {std::move(text), TextEncoding::Gbk, {}};
    return {{},
            {},
            "文件既不是 UTF-8 也不是 GBK 编码（" + where + " 不能识别）" +
                std::string(kSaveAsUtf8)};
}

// `atLeast`: the file is larger still; only `size` bytes were counted.
std::string sizeProblem(std::size_t size, bool atLeast) {
    char megabytes[32];
    std::snprintf(megabytes, sizeof megabytes, "%.1f", static_cast<double>(size) / 1048576);
    return "文件" + std::string(atLeast ? "超过 " : "有 ") + std::to_string(size) + " 字节（" +
           megabytes + " MB），大于机床资料的上限 1 MB（" + std::to_string(kMaxMachineDataBytes) +
           " 字节），请检查是不是选错了文件";
}

} // namespace

MachineDataReading readMachineData(std::string_view bytes) {
    MachineDataReading reading;
    if (bytes.size() > kMaxMachineDataBytes) {
        reading.problem = sizeProblem(bytes.size(), false);
        return reading;
    }
    DecodedText decoded = decodedText(bytes);
    if (!decoded.problem.empty()) {
        reading.problem = std::move(decoded.problem);
        return reading;
    }
    reading.encoding = decoded.encoding;
    std::string_view text = decoded.text;
    MachineData& data = reading.data;
    std::size_t number = 0;
    while (!text.empty()) {
        ++number;
        const auto end = static_cast<std::size_t>(
            std::find_if(text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }) -
            text.begin());
        std::string_view line = text.substr(0, end);
        const std::size_t ending =
            end == text.size()                                                    ? 0
            : text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2
                                                                                  : 1;
        text.remove_prefix(line.size() + ending);
        line = trimmed(line.substr(0, line.find('#')));
        if (line.empty()) continue;
        if (std::string invisible = invisibleProblem(line); !invisible.empty()) {
            reading.problem = "第 " + std::to_string(number) + " 行" + invisible;
            return reading;
        }
        std::string problem;
        const auto equals = line.find('=');
        if (equals == std::string_view::npos) {
            problem = "应写成“名称 = 值”";
        } else {
            const std::string_view key = trimmed(line.substr(0, equals));
            const std::string_view value = trimmed(line.substr(equals + 1));
            const auto reader =
                std::find_if(std::begin(kKeys), std::end(kKeys),
                             [key](const KeyReader& row) { return row.key == key; });
            problem =
                reader == std::end(kKeys) ? unknownKeyProblem(key) : reader->read(value, data);
        }
        if (!problem.empty()) {
            reading.problem = failureAt(number, problem);
            return reading;
        }
    }
    return reading;
}

std::string machineDataText(std::string_view model, const MachineData& data) {
    // A model from elsewhere than the list could hold a line end, which
    // would end the comment and start a line of its own, or bytes that are
    // no UTF-8, which would make the file unreadable.
    std::string name = validUtf8(model);
    std::replace_if(
        name.begin(), name.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    std::string text = "# 机床 " + name + " 的滚齿调整资料\n";
    for (const IndexRow& row : data.indexRows)
        text += "index = " + row.text + "\n";
    for (const std::string& box : data.boxTexts)
        text += "box = " + box + "\n";
    if (data.clearance) text += "clearance = " + data.clearanceText + "\n";
    text += feedDataText(data.feed);
    return text;
}

std::optional<std::string> machineDataWriteProblem(const MachineData& data) {
    const auto check = [](const std::string& value,
                          const char* what) -> std::optional<std::string> {
        if (value.find('#') != std::string::npos)
            return std::string(what) + "“" + value +
                   "”中有“#”：机床资料中 # 以后是注释，请换成别的字符（如“3#机”写成“3号机”）";
        if (value.find_first_of("\r\n") != std::string::npos)
            return std::string(what) + "只能写在一行里";
        return std::nullopt;
    };
    for (const IndexRow& row : data.indexRows)
        if (auto problem = check(row.text, "分齿常数")) return problem;
    for (const std::string& box : data.boxTexts)
        if (auto problem = check(box, "挂轮箱")) return problem;
    if (auto problem = check(data.clearanceText, "装配间隙")) return problem;
    for (const FeedLine& line : data.feed.lines)
        if (auto problem = check(line.text, "进给常数")) return problem;
    for (const std::string& pairs : data.feed.pairTexts)
        if (auto problem = check(pairs, "进给挂轮")) return problem;
    // Whatever else would not read back as it is (a character the reader
    // refuses, a value that is no value).
    const std::string text = machineDataText("M", data);
    const MachineDataReading back = readMachineData(text);
    if (!back.problem.empty()) return "这些机床资料写出后读不回来：" + back.problem;
    if (machineDataText("M", back.data) != text) return std::string("这些机床资料写出后读不回原样");
    return std::nullopt;
}

std::string machineDataFile(const std::string& directory, std::string_view model) {
    return catalogueFile(directory, machineFileName(model) + std::string(kMachineDataSuffix));
}

namespace {

// Sizes are counted this far; a larger file is "more than" it.
constexpr std::size_t kLargestCounted = 64 * 1048576;

std::string failedPrefix(const std::string& path) {
    return "机床资料 " + path + " 有错，";
}

} // namespace

MachineDataFile loadMachineData(const std::string& directory, std::string_view model,
                                FileSystem& fs) {
    MachineDataFile file;
    if (!isFileNameSafe(model)) {
        file.result = catalogueFailure("机床型号“" + std::string(model) + "”不能作为文件名");
        return file;
    }
    const std::string path = machineDataFile(directory, model);
    FileBytes read = readWholeFile(fs, path, kMaxMachineDataBytes + 1, kLargestCounted);
    if (read.error == ENOENT) {
        file.result.status = CatalogueStatus::Missing;
        return file;
    }
    if (read.error != 0) {
        file.result = catalogueFailure(readFailure(path, read.error));
        return file;
    }
    file.bytes = std::move(read.bytes);
    if (read.size > kMaxMachineDataBytes) {
        file.result =
            catalogueFailure(failedPrefix(path) + sizeProblem(std::min(read.size, kLargestCounted),
                                                              read.size > kLargestCounted));
        return file;
    }
    MachineDataReading reading = readMachineData(file.bytes);
    if (!reading.problem.empty()) {
        file.result = catalogueFailure(failedPrefix(path) + reading.problem);
        return file;
    }
    file.data = std::move(reading.data);
    if (reading.encoding == TextEncoding::Gbk)
        file.note = "机床资料 " + path + " 不是 UTF-8，已按 GBK 编码读出；保存时写成 UTF-8";
    return file;
}

CatalogueResult saveMachineData(const std::string& directory, std::string_view model,
                                const MachineData& data, FileSystem& fs,
                                std::optional<std::string_view> openedBytes) {
    if (!isFileNameSafe(model))
        return catalogueFailure("机床型号“" + std::string(model) + "”不能作为文件名");
    if (auto problem = machineDataWriteProblem(data)) return catalogueFailure(std::move(*problem));
    const CatalogueLock lock = fs.lockCatalogue(directory);
    if (!lock.held()) return catalogueFailure(lock.message());
    const std::string path = machineDataFile(directory, model);
    if (openedBytes) {
        const FileBytes now = readWholeFile(fs, path, kMaxMachineDataBytes + 1, kLargestCounted);
        if (now.error != 0 && now.error != ENOENT)
            return catalogueFailure(readFailure(path, now.error));
        if (now.bytes != *openedBytes)
            return {CatalogueStatus::Changed, "机床资料 " + path + " 在打开以后被另一个程序改过"};
    }
    // A rename would replace the file and drop its mode: a file the user
    // made read-only stays as it is.
    if (fs.isReadOnly(path))
        return catalogueFailure("机床资料 " + path +
                                " 是只读文件，没有保存；要修改它，请先去掉它的只读属性");
    std::string failure = writeWholeFile(lock, path, machineDataText(model, data));
    if (!failure.empty()) return catalogueFailure(std::move(failure));
    return {};
}

} // namespace kelvaro
