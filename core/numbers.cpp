#include "core/numbers.h"

#include <charconv>
#include <cmath>
#include <stdexcept>
#include <string>

#include "core/errors.h"

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Reads a decimal number from the start of text: sign, digits, fraction, exponent. Returns the
// number of characters used (0 when there is no number) and the value.
std::size_t ScanDecimal(std::string_view text, double& value) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    std::string digits;
    std::size_t mantissa = 0;
    while (i < text.size() && IsDigit(text[i])) digits += text[i++], ++mantissa;
    if (i < text.size() && text[i] == '.') {
        std::size_t j = i + 1;
        std::string fraction;
        while (j < text.size() && IsDigit(text[j])) fraction += text[j++];
        if (mantissa > 0 || !fraction.empty()) {
            digits += '.' + fraction;
            mantissa += fraction.size();
            i = j;
        }
    }
    if (mantissa == 0) {
        value = 0;
        return 0;
    }
    // An exponent counts only when at least one digit follows its letter and sign.
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
        if (j < text.size() && IsDigit(text[j])) {
            digits += 'e';
            digits.append(text.substr(i + 1, j - i - 1));
            while (j < text.size() && IsDigit(text[j])) digits += text[j++];
            i = j;
        }
    }
    // from_chars, unlike strtod, does not follow the user's locale (Qt sets it).
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    (void)end;
    if (error == std::errc::result_out_of_range)
        value = digits.find("e-") != std::string::npos ? 0.0 : HUGE_VAL;
    if (negative) value = -value;
    return i;
}

// &H / &O followed by at least one digit of the base.
std::size_t ScanPrefixed(std::string_view text, double& value) {
    if (text.size() < 3 || text[0] != '&') return 0;
    const char kind = text[1];
    int base = 0;
    if (kind == 'h' || kind == 'H') base = 16;
    if (kind == 'o' || kind == 'O') base = 8;
    if (base == 0) return 0;
    std::size_t i = 2;
    double v = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        int digit = -1;
        if (IsDigit(c)) digit = c - '0';
        if (base == 16 && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        if (base == 16 && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        if (digit < 0 || digit >= base) break;
        v = v * base + digit;
    }
    if (i == 2) return 0;
    value = v;
    return i;
}

// The number after the leading blanks; the characters of the number, 0 when there is none.
std::size_t ScanLeading(std::string_view text, double& value) {
    std::size_t start = 0;
    while (start < text.size() && text[start] == ' ') ++start;
    return ScanDecimal(text.substr(start), value);
}

double RoundHalfEven(double value, double lo, double hi) {
    const double r = std::nearbyint(value);  // the default rounding mode: nearest, ties to even
    if (!(r >= lo && r <= hi))
        throw NumberOverflow("the number " + std::to_string(value) + " is outside " +
                             std::to_string(static_cast<long long>(lo)) + ".." +
                             std::to_string(static_cast<long long>(hi)));
    return r;
}

}  // namespace

double LeadingNumber(std::string_view text) {
    double value = 0;
    ScanLeading(text, value);
    return value;
}

bool HasLeadingNumber(std::string_view text) {
    double value = 0;
    return ScanLeading(text, value) > 0;
}

double EntryNumber(std::string_view text) {
    std::string packed;
    for (char c : text)
        if (c != ' ' && c != '\t' && c != '\n') packed += c;
    double value = 0;
    if (ScanPrefixed(packed, value) == 0) ScanDecimal(packed, value);
    return value;
}

double WholeNumber(std::string_view text) {
    std::size_t start = text.find_first_not_of(' ');
    std::size_t end = text.find_last_not_of(' ');
    if (start == std::string_view::npos) throw std::invalid_argument("an empty text is no number");
    const std::string_view core = text.substr(start, end - start + 1);
    double value = 0;
    if (ScanDecimal(core, value) != core.size())
        throw std::invalid_argument("\"" + std::string(text) + "\" is not a number");
    return value;
}

int16_t ToInt16(double value) {
    return static_cast<int16_t>(RoundHalfEven(value, -32768, 32767));
}

int32_t ToInt32(double value) {
    return static_cast<int32_t>(RoundHalfEven(value, -2147483648.0, 2147483647.0));
}

uint8_t ToByte(double value) {
    return static_cast<uint8_t>(RoundHalfEven(value, 0, 255));
}

std::optional<int16_t> LeadingInt16(std::string_view text) {
    try {
        return ToInt16(LeadingNumber(text));
    } catch (const NumberOverflow&) {
        return std::nullopt;
    }
}

int32_t RoundClamped(double value, int32_t lo, int32_t hi) {
    if (std::isnan(value)) return lo;
    const double r = std::nearbyint(value);
    if (r <= lo) return lo;
    if (r >= hi) return hi;
    return static_cast<int32_t>(r);
}

std::string SingleText(float value) {
    if (value == 0) value = 0;  // no "-0"
    char text[32];
    const auto result =
        std::to_chars(text, text + sizeof text, value, std::chars_format::general, 7);
    return std::string(text, result.ptr);
}

namespace {

// The shortest fixed-point text of the value that reads back as the same value, rounded to the
// decimals in decimal arithmetic.
template <typename Real>
std::string RoundedText(Real value, int decimals) {
    if (!std::isfinite(value)) return {};
    char text[400];
    const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed);
    if (result.ec != std::errc()) return {};
    std::string_view shortest(text, static_cast<std::size_t>(result.ptr - text));
    const bool negative = !shortest.empty() && shortest.front() == '-';
    if (negative) shortest.remove_prefix(1);
    const std::size_t point = std::min(shortest.find('.'), shortest.size());
    std::string digits(shortest.substr(0, point));
    std::string fraction(point < shortest.size() ? shortest.substr(point + 1) : "");
    const bool up = fraction.size() > static_cast<std::size_t>(decimals) &&
                    fraction[static_cast<std::size_t>(decimals)] >= '5';
    fraction.resize(static_cast<std::size_t>(decimals), '0');
    digits += fraction;
    for (std::size_t i = digits.size(); up && i-- > 0;) {
        if (digits[i] != '9') {
            ++digits[i];
            break;
        }
        digits[i] = '0';
        if (i == 0) digits.insert(0, 1, '1');
    }
    std::string shown = digits.substr(0, digits.size() - fraction.size());
    if (decimals > 0) shown += "." + digits.substr(digits.size() - fraction.size());
    const bool zero = digits.find_first_not_of('0') == std::string::npos;
    return negative && !zero ? "-" + shown : shown;
}

}  // namespace

std::string FormatDecimals(double value, int decimals) {
    return RoundedText(value, decimals);
}

std::string FormatDecimals(float value, int decimals) {
    return RoundedText(value, decimals);
}

std::string FormatDigits(int32_t value, int width, bool plusSign) {
    std::string digits = std::to_string(std::llabs(static_cast<long long>(value)));
    if (static_cast<int>(digits.size()) < width)
        digits.insert(0, static_cast<std::size_t>(width) - digits.size(), '0');
    if (value < 0) return "-" + digits;
    return plusSign ? "+" + digits : digits;
}
