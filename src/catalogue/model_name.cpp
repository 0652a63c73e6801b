#include "catalogue/model_name.h"

#include "platform/gbk_text.h"

namespace kelvaro {

namespace {

// C0 controls, DEL, and the C1 controls as UTF-8 (C2 80 to C2 9F).
bool hasControlCharacter(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x20 || c == 0x7F) return true;
        if (c == 0xC2 && i + 1 < text.size()) {
            const auto next = static_cast<unsigned char>(text[i + 1]);
            if (next >= 0x80 && next <= 0x9F) return true;
        }
    }
    return false;
}

bool hasAny(std::string_view text, std::string_view characters) {
    return text.find_first_of(characters) != std::string_view::npos;
}

} // namespace

std::optional<std::string> modelNameProblem(std::string_view name) {
    if (hasAny(name, ",\"")) return "机床型号中请不要包含逗号或引号";
    if (hasAny(name, "/\\")) return "机床型号中请不要包含“/”或“\\”";
    // The catalogue moves between Linux and Windows, whose file names keep
    // these out (and where "A:B.dat" would be a hidden stream of a file "A").
    if (hasAny(name, ":*?<>|")) return "机床型号中请不要包含 : * ? < > | 这些文件名不能有的字符";
    if (hasControlCharacter(name)) return "机床型号中请不要包含控制字符";
    if (!toGbk(name)) return "机床型号中有不能保存的字符";
    // The machine's longest file name is the model and ".dat.txt", its
    // data. A file name has at most 255 bytes of UTF-8 on Linux and 255
    // UTF-16 units on Windows; a character never takes fewer bytes of UTF-8
    // than units of UTF-16, so one bound in bytes holds on both, and a
    // catalogue moves between them.
    constexpr std::size_t kLongestFileName = 255;
    constexpr std::size_t kLongestModel = kLongestFileName - std::string_view(".dat.txt").size();
    if (name.size() > kLongestModel)
        return "机床型号太长：有 " + std::to_string(name.size()) + " 个字节，最多 " +
               std::to_string(kLongestModel) +
               " 个（一个汉字 3 个字节），机床资料文件“型号.dat.txt”的名字才不超过系统允许的 " +
               std::to_string(kLongestFileName) + " 个字节";
    // Their machine files would be the list itself, or jixingb.dat: Kelvaro
    // writes the list through temporary files of its own naming, but older
    // programs that keep the same catalogue write it through jixingb.dat.
    if (name == "jixing" || name == "jixingb") return "机床型号不能是 jixing 或 jixingb";
    return std::nullopt;
}

bool isFileNameSafe(std::string_view name) {
    return !name.empty() && !hasAny(name, std::string_view("/\0", 2));
}

std::string machineFileName(std::string_view model) {
    std::string name(model);
    name += ".dat";
    return name;
}

} // namespace kelvaro
