#include "gears/number_text.h"

#include <charconv>
#include <cmath>

namespace kelvaro {

namespace {

void appendFormatted(std::string& out, double value, int significantDigits) {
    if (value == 0) value = 0.0; // a negative zero is written as " 0"
    // to_chars with a precision writes what printf's %.*g writes, only
    // faster; %G differs from it in capital letters alone.
    char buffer[64];
    char* const end = std::to_chars(buffer, buffer + sizeof buffer, value,
                                    std::chars_format::general, significantDigits)
                          .ptr;
    char* digits = buffer;
    if (*digits == '-') ++digits;
    out += digits == buffer ? ' ' : '-';
    if (end - digits > 1 && digits[0] == '0' && digits[1] == '.') ++digits;
    for (char* c = digits; c != end; ++c)
        if (*c >= 'a' && *c <= 'z') *c = static_cast<char>(*c - 'a' + 'A');
    out.append(digits, end);
}

} // namespace

void appendNumberText(std::string& out, double value) {
    // A whole number of at most 15 digits (every tooth count) is what %.15G
    // writes: its digits alone. Written directly, it costs a fraction of the
    // formatted path, which matters for lists of a hundred thousand sets.
    if (std::abs(value) < 1e15 && value == std::floor(value)) {
        char buffer[20];
        buffer[0] = value < 0 ? '-' : ' ';
        const auto digits = static_cast<long long>(std::abs(value));
        const auto end = std::to_chars(buffer + 1, buffer + sizeof buffer, digits).ptr;
        out.append(buffer, end);
        return;
    }
    appendFormatted(out, value, 15);
}

void appendErrorText(std::string& out, double error) {
    appendFormatted(out, static_cast<double>(static_cast<float>(error)), 7);
}

std::string errorDetailText(double error) {
    std::string text = errorText(error);
    if (text[0] == ' ') text.erase(0, 1);
    const std::size_t digits = text[0] == '-' ? 1 : 0;
    if (text.compare(digits, 1, ".") == 0) text.insert(digits, "0");
    return text;
}

std::string readableNumber(double value, int digits) {
    if (!std::isfinite(value)) return "—";
    if (value == 0) value = 0.0; // no "-0"
    char buffer[400];
    const bool whole = std::abs(value) >= std::pow(10.0, digits - 1);
    const auto end =
        whole
            ? std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 0).ptr
            : std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general,
                            digits)
                  .ptr;
    std::string text(buffer, end);
    for (char& c : text)
        if (c == 'e') c = 'E';
    return text;
}

std::string typedTolerance(double tolerance) {
    if (!(std::abs(tolerance) >= 1e-4) || !std::isfinite(tolerance)) {
        std::string text = numberText(tolerance);
        return text[0] == ' ' ? text.substr(1) : text;
    }
    char buffer[400];
    const auto end =
        std::to_chars(buffer, buffer + sizeof buffer, tolerance, std::chars_format::fixed).ptr;
    return std::string(buffer, end);
}

std::string numberText(double value) {
    std::string text;
    appendNumberText(text, value);
    return text;
}

std::string errorText(double error) {
    std::string text;
    appendErrorText(text, error);
    return text;
}

} // namespace kelvaro
