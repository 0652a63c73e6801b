#include "catalogue/machine_file.h"

#include "catalogue/field_reader.h"
#include "catalogue/model_name.h"
#include "gears/gear_set.h"
#include "gears/number_text.h"
#include "gears/numeric_value.h"
#include "platform/gbk_text.h"

#include <cerrno>
#include <cmath>
#include <limits>
#include <optional>

namespace kelvaro {

namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::size_t kFixedFields = 4; // min, max, N, constant

// A number in a message, without the blank that numberText puts first.
std::string plainNumber(double value) {
    std::string text = numberText(value);
    if (text.front() == ' ') text.erase(0, 1);
    return text;
}

CatalogueResult malformed(const std::string& path, const std::string& what) {
    return catalogueFailure("机床文件 " + path + " 有错：" + what);
}

CatalogueResult wrongRange(const std::string& path, const std::string& what) {
    return catalogueFailure("机床文件 " + path + " 的齿数范围不对：" + what);
}

// Beyond this a search runs for minutes; no change gear comes near it.
constexpr double kLargestToothCount = 1 << 20;

bool startsWithByteOrderMark(std::string_view bytes) {
    return bytes.starts_with("\xEF\xBB\xBF") || bytes.starts_with("\xFF\xFE") ||
           bytes.starts_with("\xFE\xFF");
}

// A field that an editor filled with full-width digits (０ to ９), which
// read as no number at all.
bool hasFullWidthDigit(std::string_view field) {
    const std::string text = fromGbk(field);
    for (std::size_t i = 0; i + 2 < text.size(); ++i)
        if (text.compare(i, 2, "\xEF\xBC") == 0 &&
            static_cast<unsigned char>(text[i + 2]) >= 0x90 &&
            static_cast<unsigned char>(text[i + 2]) <= 0x99)
            return true;
    return false;
}

// Whether a field begins with a number at all: a digit, or a sign or point
// before one.
bool beginsWithNumber(std::string_view field) {
    field = trimBlanks(field);
    if (!field.empty() && (field[0] == '+' || field[0] == '-')) field.remove_prefix(1);
    if (!field.empty() && field[0] == '.') field.remove_prefix(1);
    return !field.empty() && field[0] >= '0' && field[0] <= '9';
}

// What is wrong with the smallest or largest tooth count, if anything.
std::optional<std::string> toothCountProblem(const char* which, std::string_view field,
                                             double value) {
    if (!beginsWithNumber(field)) return std::string(which) + "“" + fromGbk(field) + "”不是数字";
    if (!(std::fabs(value) <= kLargestToothCount))
        return std::string(which) + " " + fromGbk(trimBlanks(field)) + " 超过了 1048576";
    return std::nullopt;
}

} // namespace

CatalogueResult writeMachineFile(const CatalogueLock& held, std::string_view model,
                                 std::string_view minTeeth, std::string_view maxTeeth,
                                 std::string_view machineConstant,
                                 const std::vector<std::string>& missingTeeth) {
    const std::string path = catalogueFile(held.folder(), machineFileName(model));

    std::string text;
    auto addLine = [&text](std::string_view line) {
        text += line;
        text += kLineEnd;
    };
    addLine(minTeeth);
    addLine(maxTeeth);
    addLine(numberText(static_cast<double>(missingTeeth.size())));
    addLine(machineConstant);
    for (const std::string& teeth : missingTeeth)
        addLine(teeth);

    const std::optional<std::string> bytes = toGbk(text);
    if (!bytes) return catalogueFailure(writeFailure(path, EILSEQ));
    std::string failure = writeWholeFile(held, path, *bytes);
    if (!failure.empty()) return catalogueFailure(std::move(failure));
    return {};
}

MachineFile readMachineFile(const std::string& directory, std::string_view model, FileSystem& fs) {
    MachineFile machine;
    if (!isFileNameSafe(model)) {
        machine.result = catalogueFailure("机床型号“" + std::string(model) + "”不能作为文件名");
        return machine;
    }
    const std::string path = catalogueFile(directory, machineFileName(model));
    const FileBytes file = readWholeFile(fs, path);
    if (file.error == ENOENT) {
        machine.result = catalogueFailure("找不到机床文件 " + path);
        return machine;
    }
    if (file.error != 0) {
        machine.result = catalogueFailure(readFailure(path, file.error));
        return machine;
    }

    if (startsWithByteOrderMark(file.bytes)) {
        machine.result =
            malformed(path, "文件以字节顺序标记（BOM）开头，机床文件应是不带 BOM 的 GBK 文本");
        return machine;
    }
    const std::vector<std::string_view> fields = readFields(file.bytes);
    for (const std::string_view field : fields) {
        if (!hasFullWidthDigit(field)) continue;
        machine.result =
            malformed(path, "“" + fromGbk(field) + "”中有全角数字，请改用半角数字 0 到 9");
        return machine;
    }
    if (fields.size() < kFixedFields) {
        machine.result =
            malformed(path, "只有 " + std::to_string(fields.size()) + " 项数据，至少应有 4 项");
        return machine;
    }

    MachineRecord& record = machine.record;
    record.minTeeth = numericValue(fields[0]);
    record.maxTeeth = numericValue(fields[1]);
    std::optional<std::string> problem = toothCountProblem("最少齿数", fields[0], record.minTeeth);
    if (!problem) problem = toothCountProblem("最大齿数", fields[1], record.maxTeeth);
    if (!problem && record.maxTeeth < record.minTeeth)
        problem = "最大齿数 " + plainNumber(record.maxTeeth) + " 小于最少齿数 " +
                  plainNumber(record.minTeeth);
    // The search divides by every tooth count of the range.
    if (!problem && record.minTeeth <= 0 && record.maxTeeth >= 0)
        problem = plainNumber(record.minTeeth) + " 到 " + plainNumber(record.maxTeeth) + " 含有 0";
    if (problem) {
        machine.result = wrongRange(path, *problem);
        return machine;
    }

    const double count = numericValue(fields[2]);
    if (!(count >= 1) || count != std::floor(count)) {
        machine.result = malformed(path, "第 3 行的缺少齿数个数应是不小于 1 的整数，而不是“" +
                                             fromGbk(fields[2]) + "”");
        return machine;
    }
    const std::size_t available = fields.size() - kFixedFields;
    if (count > static_cast<double>(available)) {
        machine.result = malformed(path, "应有 " + plainNumber(count) + " 个缺少齿数，只有 " +
                                             std::to_string(available) + " 个");
        return machine;
    }
    const auto missingCount = static_cast<std::size_t>(count);
    record.machineConstant = numericValue(fields[3]);

    record.missingTeeth.reserve(missingCount);
    for (std::size_t i = 0; i < missingCount; ++i) {
        const std::string_view field = fields[kFixedFields + i];
        // Rounded to the nearest whole count, halves to even.
        const double teeth = std::nearbyint(numericValue(field));
        if (!(teeth >= std::numeric_limits<std::int16_t>::min() &&
              teeth <= std::numeric_limits<std::int16_t>::max())) {
            machine.result =
                malformed(path, "缺少齿数“" + fromGbk(field) + "”不在 -32768 到 32767 之间");
            return machine;
        }
        record.missingTeeth.push_back(static_cast<std::int16_t>(teeth));
    }
    return machine;
}

} // namespace kelvaro
