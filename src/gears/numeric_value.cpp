#include "gears/numeric_value.h"

#include "gears/calculation_outcome.h"
#include "gears/number_text.h"
#include "gears/trim_blanks.h"

#include <charconv>
#include <limits>
#include <string>

namespace kelvaro {

namespace {

bool isSkipped(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Walks the text with the skipped characters left out.
class Reader {
  public:
    explicit Reader(std::string_view text) : text_(text) { skip(); }
    bool atEnd() const { return pos_ >= text_.size(); }
    char peek() const { return atEnd() ? '\0' : text_[pos_]; }
    void next() {
        ++pos_;
        skip();
    }

  private:
    void skip() {
        while (pos_ < text_.size() && isSkipped(text_[pos_]))
            ++pos_;
    }
    std::string_view text_;
    std::size_t pos_ = 0;
};

} // namespace

namespace {

struct Reading {
    double value = 0;
    bool whole = false; // the number took the whole text, blanks aside
};

Reading readNumber(std::string_view text) {
    Reader in(text);
    bool negative = false;
    if (in.peek() == '+' || in.peek() == '-') {
        negative = in.peek() == '-';
        in.next();
    }

    // The number is gathered without blanks and sign, then converted in one
    // correctly rounded step.
    std::string mantissa;
    bool anyDigit = false;
    while (isDigit(in.peek())) {
        mantissa += in.peek();
        anyDigit = true;
        in.next();
    }
    if (in.peek() == '.') {
        mantissa += '.';
        in.next();
        while (isDigit(in.peek())) {
            mantissa += in.peek();
            anyDigit = true;
            in.next();
        }
    }
    if (!anyDigit) return {};

    // The exponent is saturated where no run of mantissa digits, however
    // long, can bring the value back into a double's range.
    const long long saturation = static_cast<long long>(mantissa.size()) + 100000;
    long long exponent = 0;
    bool whole = true;
    if (in.peek() == 'E' || in.peek() == 'e') {
        in.next();
        whole = false;
        bool exponentNegative = false;
        if (in.peek() == '+' || in.peek() == '-') {
            exponentNegative = in.peek() == '-';
            in.next();
        }
        while (isDigit(in.peek())) {
            whole = true;
            if (exponent < saturation) exponent = exponent * 10 + (in.peek() - '0');
            in.next();
        }
        if (exponentNegative) exponent = -exponent;
    }

    whole = whole && in.atEnd();
    const std::string number = mantissa + "e" + std::to_string(exponent);
    double value = 0.0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        // Out of range, from_chars leaves the value alone: the decimal
        // magnitude of the first significant digit tells overflow from
        // underflow.
        const auto point = mantissa.find('.');
        const long long integerDigits =
            static_cast<long long>(point == std::string::npos ? mantissa.size() : point);
        const auto firstSignificant = mantissa.find_first_of("123456789");
        long long magnitude = integerDigits - 1 - static_cast<long long>(firstSignificant);
        if (point != std::string::npos && firstSignificant > point) magnitude += 1;
        value = magnitude + exponent < 0 ? 0.0 : std::numeric_limits<double>::infinity();
    }
    return {negative ? -value : value, whole};
}

} // namespace

double numericValue(std::string_view text) {
    return readNumber(text).value;
}

std::string readingNote(std::string_view text) {
    if (text.empty()) return kMissingInputItem;
    const Reading reading = readNumber(text);
    if (reading.whole) return {};
    return "按 " + std::string(trimBlanks(numberText(reading.value))) + " 计算";
}

} // namespace kelvaro
