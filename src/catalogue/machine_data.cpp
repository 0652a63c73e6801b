#include "catalogue/machine_data.h"

#include "catalogue/model_name.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <numeric>

namespace kelvaro {

namespace {

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

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

} // namespace

BoxReading readBoxList(std::string_view list, GearBox box) {
    BoxReading reading;
    // A box holds at most 100 gears of one size, however the items add up,
    // so that every box is one item "N*Q" of its list again.
    std::string tooMany;
    const auto put = [&box, &tooMany](int teeth, int count) {
        if ((box[teeth] += count) > kMaxGearsOfOneSize && tooMany.empty())
            tooMany = "箱中 " + std::to_string(teeth) + " 齿的挂轮多于 " +
                      std::to_string(kMaxGearsOfOneSize) + " 个";
    };
    std::size_t start = 0;
    while (start <= list.size()) {
        const auto comma = list.find(',', start);
        const std::string_view item = trimmed(list.substr(
            start, comma == std::string_view::npos ? std::string_view::npos : comma - start));
        start = comma == std::string_view::npos ? list.size() + 1 : comma + 1;
        if (item.empty()) continue;
        const auto star = item.find('*');
        const auto dash = item.find('-', 1);
        if (item.front() == '-') {
            const auto teeth = toothCount(item.substr(1));
            if (!teeth) return {{}, toothProblem(item.substr(1))};
            auto found = box.find(*teeth);
            if (found == box.end())
                return {{}, "箱中没有 " + std::to_string(*teeth) + " 齿的挂轮可以去掉"};
            if (--found->second == 0) box.erase(found);
        } else if (star != std::string_view::npos) {
            const auto teeth = toothCount(item.substr(0, star));
            const auto count = wholeNumber(trimmed(item.substr(star + 1)));
            if (!teeth) return {{}, toothProblem(item.substr(0, star))};
            if (!count || *count < 1 || *count > kMaxGearsOfOneSize)
                return {{},
                        "“" + std::string(item) + "”的个数应是 1 到 " +
                            std::to_string(kMaxGearsOfOneSize) + " 的整数"};
            put(*teeth, static_cast<int>(*count));
        } else if (dash != std::string_view::npos) {
            const auto from = toothCount(item.substr(0, dash));
            const auto to = toothCount(item.substr(dash + 1));
            if (!from || !to || *from > *to)
                return {{}, "“" + std::string(item) + "”不是从小到大的齿数范围"};
            for (int teeth = *from; teeth <= *to; ++teeth)
                put(teeth, 1);
        } else {
            const auto teeth = toothCount(item);
            if (!teeth) return {{}, toothProblem(item)};
            put(*teeth, 1);
        }
        if (!tooMany.empty()) return {{}, tooMany};
    }
    reading.box = std::move(box);
    return reading;
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
    const bool shaped = words.size() == 7 && words[1] == "for" && words[2] == "Z/K" &&
                        words[3] == "from" && words[5] == "to";
    const auto constant = shaped ? decimalFraction(words[0]) : std::nullopt;
    const auto from = shaped ? plainNumber(words[4]) : std::nullopt;
    const auto to = shaped ? plainNumber(words[6]) : std::nullopt;
    if (!constant || !from || !to || *from > *to) {
        if (problem)
            *problem = "分齿常数应写成“24 for Z/K from 1 to 160, 说明”，常数为正数，范围从小到大";
        return std::nullopt;
    }
    row.constant = *constant;
    row.from = *from;
    row.to = *to;
    return row;
}

MachineDataReading readMachineData(std::string_view text) {
    MachineDataReading reading;
    MachineData& data = reading.data;
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    std::size_t number = 0;
    while (!text.empty()) {
        ++number;
        const auto end = text.find('\n');
        const std::string_view line = trimmed(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.empty() || line.front() == '#') continue;
        const auto equals = line.find('=');
        if (equals == std::string_view::npos) {
            reading.problem = failureAt(number, "应写成“名称 = 值”");
            return reading;
        }
        const std::string_view key = trimmed(line.substr(0, equals));
        const std::string_view value = trimmed(line.substr(equals + 1));
        std::string problem;
        if (key == "index") {
            auto row = readIndexRow(value, &problem);
            if (row) data.indexRows.push_back(std::move(*row));
        } else if (key == "box") {
            BoxReading box = readBoxList(value, data.box.value_or(GearBox{}));
            problem = std::move(box.problem);
            data.box = std::move(box.box);
            data.boxTexts.emplace_back(value);
        } else if (key == "clearance") {
            const auto clearance = plainNumber(value);
            if (data.clearance) {
                problem = "clearance 只能写一行";
            } else if (!clearance || *clearance < 0 || *clearance > 1000) {
                problem = "装配间隙应是 0 到 1000 的齿数，而不是“" + std::string(value) + "”";
            } else {
                data.clearance = clearance;
                data.clearanceText = value;
            }
        } else {
            problem = "不认识“" + std::string(key) + "”，只能是 index、box 或 clearance";
        }
        if (!problem.empty()) {
            reading.problem = failureAt(number, problem);
            return reading;
        }
    }
    return reading;
}

std::string machineDataText(std::string_view model, const MachineData& data) {
    std::string text = "# 机床 " + std::string(model) + " 的滚齿调整资料\n";
    for (const IndexRow& row : data.indexRows)
        text += "index = " + row.text + "\n";
    for (const std::string& box : data.boxTexts)
        text += "box = " + box + "\n";
    if (data.clearance) text += "clearance = " + data.clearanceText + "\n";
    return text;
}

std::string machineDataFile(const std::string& directory, std::string_view model) {
    return catalogueFile(directory, machineFileName(model) + std::string(kMachineDataSuffix));
}

MachineDataFile loadMachineData(const std::string& directory, std::string_view model,
                                FileSystem& fs) {
    MachineDataFile file;
    if (!isFileNameSafe(model)) {
        file.result = catalogueFailure("机床型号“" + std::string(model) + "”不能作为文件名");
        return file;
    }
    const std::string path = machineDataFile(directory, model);
    FileBytes read = readWholeFile(fs, path);
    if (read.error == ENOENT) {
        file.result.status = CatalogueStatus::Missing;
        return file;
    }
    if (read.error != 0) {
        file.result = catalogueFailure(readFailure(path, read.error));
        return file;
    }
    file.bytes = std::move(read.bytes);
    MachineDataReading reading = readMachineData(file.bytes);
    if (!reading.problem.empty()) {
        file.result = catalogueFailure("机床资料 " + path + " 有错，" + reading.problem);
        return file;
    }
    file.data = std::move(reading.data);
    return file;
}

CatalogueResult saveMachineData(const std::string& directory, std::string_view model,
                                const MachineData& data, FileSystem& fs) {
    if (!isFileNameSafe(model))
        return catalogueFailure("机床型号“" + std::string(model) + "”不能作为文件名");
    const CatalogueLock lock = fs.lockCatalogue(directory);
    if (!lock.held()) return catalogueFailure(lock.message());
    std::string failure =
        writeWholeFile(lock, machineDataFile(directory, model), machineDataText(model, data));
    if (!failure.empty()) return catalogueFailure(std::move(failure));
    return {};
}

} // namespace kelvaro
