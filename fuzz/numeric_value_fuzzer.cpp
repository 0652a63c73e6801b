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

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <locale.h>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::string packed;
    for (char c : text) {
        if (c == '\0' || !std::strchr("0123456789+-.Ee \t\n", c)) break;
        if (c != ' ' && c != '\t' && c != '\n') packed += c;
    }
    const double value = kelvaro::numericValue(text);
    const double reference = strtod_l(packed.c_str(), nullptr, cLocale);
    FUZZ_CHECK(!std::isnan(value), text);
    FUZZ_CHECK(std::memcmp(&value, &reference, sizeof value) == 0, text);
    return 0;
}
