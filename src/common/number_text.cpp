#include "common/number_text.h"

#include <cstdio>

namespace kelvaro {

namespace {

std::string formatted(double value, int significantDigits) {
    if (value == 0) value = 0.0; // a negative zero is written as " 0"
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*G", significantDigits, value);
    std::string digits = buffer;
    const bool negative = !digits.empty() && digits.front() == '-';
    if (negative) digits.erase(0, 1);
    if (digits.size() > 1 && digits[0] == '0' && digits[1] == '.') digits.erase(0, 1);
    return (negative ? "-" : " ") + digits;
}

} // namespace

std::string numberText(double value) {
    return formatted(value, 15);
}

std::string errorText(double error) {
    return formatted(static_cast<double>(static_cast<float>(error)), 7);
}

} // namespace kelvaro
