// Fuzz target: numericValue over arbitrary bytes.
//
// Every input is compared, bit for bit (the sign of a zero included), with a
// reference reading built another way: the text is cut at the first byte
// that no number may contain (anything but digits, signs, ".", E, e and the
// skipped blanks), the blanks are removed, and C's strtod in the "C" locale
// reads what is left. strtod takes the longest prefix that forms a number,
// and on these bytes (no letters but E and e, so no "inf", "nan" or hex)
// that is the prefix numericValue reads. The value is never NaN either.

#include "fuzz_check.h"
#include "gears/numeric_value.h"

#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <locale.h>
#include <string>
#include <string_view>

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}

bool isNumberByte(char c) {
    return (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.' || c == 'E' || c == 'e' ||
           isBlank(c);
}

double referenceValue(std::string_view text) {
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    std::string packed;
    for (char c : text) {
        if (!isNumberByte(c)) break;
        if (!isBlank(c)) packed += c;
    }
    return strtod_l(packed.c_str(), nullptr, cLocale);
}

bool sameBits(double x, double y) {
    return std::memcmp(&x, &y, sizeof x) == 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const double value = kelvaro::numericValue(text);
    FUZZ_CHECK(!std::isnan(value), text);
    FUZZ_CHECK(sameBits(value, referenceValue(text)), text);
    return 0;
}
