#include "wing/Numbers.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace quarvel {

std::size_t fixedChars(char* buf, double value, int precision) {
    static const double kPow10[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};
    static const std::uint64_t kIntPow10[] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000,
                                              1000000000};
    if (precision < 0 || precision > 9 || !(std::fabs(value) < 1e9)) return 0;
    const double scaled = std::fabs(value) * kPow10[precision];
    if (!(scaled < 1e9)) return 0;
    const double whole = std::floor(scaled);
    const double fraction = scaled - whole;
    if (std::fabs(fraction - 0.5) < 1e-6) return 0;
    // n < 1e9 + 1 fits 32 bits: the digit loop below is the formatter's
    // hot spot when a large wing is saved.
    const std::uint32_t n = std::uint32_t(whole) + (fraction > 0.5 ? 1u : 0u);
    const std::uint32_t unit = std::uint32_t(kIntPow10[precision]);
    char digits[kFixedCharsMax];
    char* p = digits + sizeof digits;
    std::uint32_t frac = n % unit;
    for (int i = 0; i < precision; ++i, frac /= 10) *--p = char('0' + frac % 10);
    if (precision > 0) *--p = '.';
    std::uint32_t integer = n / unit;
    do {
        *--p = char('0' + integer % 10);
        integer /= 10;
    } while (integer > 0);
    // printf keeps the sign of a negative value that rounds to zero.
    if (std::signbit(value)) *--p = '-';
    const std::size_t length = std::size_t(digits + sizeof digits - p);
    std::memcpy(buf, p, length);
    return length;
}

void appendFixed(std::string& out, double value, int precision) {
    char fast[kFixedCharsMax];
    if (const std::size_t n = fixedChars(fast, value, precision)) {
        out.append(fast, n);
        return;
    }
    // to_chars with a precision is specified as printf "%.*f" in the C locale.
    char buf[400];
    auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, precision);
    if (res.ec == std::errc()) {
        out.append(buf, res.ptr);
        return;
    }
    // Only a huge value with many decimals lands here.
    std::string big(std::size_t(330 + precision), '\0');
    res = std::to_chars(big.data(), big.data() + big.size(), value, std::chars_format::fixed, precision);
    out.append(big.data(), res.ptr);
}

std::string formatFixed(double value, int precision) {
    std::string s;
    appendFixed(s, value, precision);
    return s;
}

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

DecimalField parseDecimal(std::string_view field) {
    DecimalField result;
    std::size_t i = 0;
    const std::size_t n = field.size();
    while (i < n && isBlank(field[i])) ++i;
    const std::size_t start = i;
    if (i < n && (field[i] == '+' || field[i] == '-')) ++i;
    const std::size_t mantissa = i;
    std::size_t intDigits = 0;
    while (i < n && isDigit(field[i])) ++i, ++intDigits;
    std::size_t fracDigits = 0;
    if (i < n && field[i] == '.') {
        ++i;
        while (i < n && isDigit(field[i])) ++i, ++fracDigits;
    }
    if (intDigits + fracDigits == 0) return result;  // no number in the field
    const std::size_t mantissaEnd = i;
    if (i < n && (field[i] == 'e' || field[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < n && (field[j] == '+' || field[j] == '-')) ++j;
        if (j < n && isDigit(field[j])) {
            while (j < n && isDigit(field[j])) ++j;
            i = j;
        }
    }
    double value = 0.0;
    result.hasNumber = true;
    // Up to 15 digits and no exponent: the digits as an integer and one
    // division by an exact power of ten give the correctly rounded value,
    // without the general conversion (the reader's hot spot).
    if (i == mantissaEnd && intDigits + fracDigits <= 15) {
        static const double kPow10[] = {1e0, 1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
        std::uint64_t digits = 0;
        for (std::size_t j = mantissa; j < i; ++j)
            if (field[j] != '.') digits = digits * 10 + std::uint64_t(field[j] - '0');
        value = double(digits) / kPow10[fracDigits];
        if (field[start] == '-') value = -value;
        result.value = value;
        return result;
    }
    // from_chars takes no '+' sign; the text between mantissa and i is pure.
    auto res = std::from_chars(field.data() + mantissa, field.data() + i, value, std::chars_format::general);
    if (res.ec == std::errc::result_out_of_range) {
        // A negative exponent underflows to zero, as strtod does; a positive
        // one is too large for any value the files can carry.
        std::size_t e = mantissa;
        while (e < i && field[e] != 'e' && field[e] != 'E') ++e;
        const bool underflow = e + 1 < i && field[e + 1] == '-';
        result.outOfRange = !underflow;
        value = 0.0;
    }
    if (field[start] == '-') value = -value;
    result.value = value;
    return result;
}

}  // namespace quarvel
