#include "platform/gbk_text.h"

#include <cerrno>
#include <iconv.h>

namespace kelvaro {

namespace {

constexpr const char* kGbk = "CP936";
constexpr const char* kUtf8 = "UTF-8";
constexpr std::string_view kReplacement = "\xEF\xBF\xBD"; // U+FFFD

// One conversion descriptor per direction and thread, opened on first use:
// opening one costs far more than converting a model name. iconv keeps
// shift state in it, which each use resets first.
class Converter {
  public:
    Converter(const char* to, const char* from) : handle_(iconv_open(to, from)) {}
    ~Converter() {
        if (valid()) iconv_close(handle_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool valid() const { return handle_ != reinterpret_cast<iconv_t>(-1); }

    void reset() { iconv(handle_, nullptr, nullptr, nullptr, nullptr); }

    // Converts as much of `input` as it can, appending to `output`; returns
    // 0, or the errno that stopped it with `input` at the offending byte.
    int convert(std::string_view& input, std::string& output) {
        char buffer[1024];
        while (!input.empty()) {
            char* in = const_cast<char*>(input.data());
            std::size_t inLeft = input.size();
            char* out = buffer;
            std::size_t outLeft = sizeof buffer;
            const std::size_t done = iconv(handle_, &in, &inLeft, &out, &outLeft);
            const int error = done == static_cast<std::size_t>(-1) ? errno : 0;
            output.append(buffer, static_cast<std::size_t>(out - buffer));
            input.remove_prefix(input.size() - inLeft);
            if (error != 0 && error != E2BIG) return error;
        }
        return 0;
    }

  private:
    iconv_t handle_;
};

Converter& toGbkConverter() {
    thread_local Converter converter(kGbk, kUtf8);
    if (converter.valid()) converter.reset();
    return converter;
}

Converter& fromGbkConverter() {
    thread_local Converter converter(kUtf8, kGbk);
    if (converter.valid()) converter.reset();
    return converter;
}

} // namespace

std::optional<std::string> toGbk(std::string_view utf8) {
    Converter& converter = toGbkConverter();
    if (!converter.valid()) return std::nullopt;
    std::string result;
    if (converter.convert(utf8, result) != 0) return std::nullopt;
    return result;
}

std::string fromGbk(std::string_view gbk) {
    std::string result;
    Converter& converter = fromGbkConverter();
    if (!converter.valid()) {
        result.reserve(gbk.size());
        for (char c : gbk)
            result += static_cast<unsigned char>(c) < 0x80 ? std::string(1, c)
                                                           : std::string(kReplacement);
        return result;
    }
    while (converter.convert(gbk, result) != 0) {
        // Not GBK (or cut off at the end): mark the byte and go on after it.
        result += kReplacement;
        gbk.remove_prefix(1);
    }
    return result;
}

} // namespace kelvaro
