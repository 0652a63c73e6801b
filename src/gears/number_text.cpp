#include "gears/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace kelvaro {

namespace {

std::string formatted(double value, int significantDigits) {
    if (value == 0) value = 0.0; // a negative zero is written as " 0"
    // to_chars with a precision writes what printf's %.*g writes, only
    // faster; %G differs from it in capital letters alone.
    char buffer[64];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value,
                                   std::chars_format::general, significantDigits)
                         .ptr;
    std::transform(buffer, end, buffer, [](char c) {
        return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    });
    std::string digits(buffer, end);
    const bool negative = !digits.empty() && digits.front() == '-';
    if (negative) digits.erase(0, 1);
    if (digits.size() > 1 && digits[0] == '0' && digits[1] == '.') digits.erase(0, 1);
    return (negative ? "-" : " ") + digits;
}

} // namespace

std::string numberText(double value) {
    // A whole number of at most 15 digits (every tooth count) is what %.15G
    // writes: its digits alone. Written directly, it costs a fraction of the
    // formatted path, which matters for lists of a hundred thousand sets.
    if (std::abs(value) < 1e15 && value == std::floor(value)) {
        char buffer[20];
        buffer[0] = value < 0 ? '-' : ' ';
        const auto digits = static_cast<long long>(std::abs(value));
        const auto end = std::to_chars(buffer + 1, buffer + sizeof buffer, digits).ptr;
        return std::string(buffer, end);
    }
    return formatted(value, 15);
}

std::string errorText(double error) {
    return formatted(static_cast<double>(static_cast<float>(error)), 7);
}

} // namespace kelvaro
