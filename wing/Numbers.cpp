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
    // Two digits at a time from a table of the pairs 00 .. 99.
    static const char kPairs[] =
        "0001020304050607080910111213141516171819202122232425262728293031323334353637383940414243444546474849"
        "5051525354555657585960616263646566676869707172737475767778798081828384858687888990919293949596979899";
    char digits[kFixedCharsMax];
    char* p = digits + sizeof digits;
    auto pair = [&](std::uint32_t v) {
        p -= 2;
        std::memcpy(p, kPairs + 2 * v, 2);
    };
    std::uint32_t frac = n % unit;
    int left = precision;
    for (; left >= 2; left -= 2, frac /= 100) pair(frac % 100);
    if (left == 1) *--p = char('0' + frac % 10);
    if (precision > 0) *--p = '.';
    std::uint32_t integer = n / unit;
    for (; integer >= 100; integer /= 100) pair(integer % 100);
    if (integer >= 10)
        pair(integer);
    else
        *--p = char('0' + integer);
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
    const char* p = field.data();
    const char* const end = p + field.size();
    while (p < end && isBlank(*p)) ++p;
    const bool negative = p < end && *p == '-';
    if (p < end && (*p == '+' || *p == '-')) ++p;
    const char* const mantissa = p;
    // The digits are gathered as an integer on the way; with at most 15 of
    // them and no exponent, one division by an exact power of ten gives the
    // correctly rounded value without the general conversion.
    std::uint64_t digits = 0;
    int count = 0, fracDigits = 0;
    while (p < end && isDigit(*p)) digits = digits * 10 + std::uint64_t(*p++ - '0'), ++count;
    if (p < end && *p == '.') {
        ++p;
        while (p < end && isDigit(*p)) digits = digits * 10 + std::uint64_t(*p++ - '0'), ++count, ++fracDigits;
    }
    if (count == 0) return result;  // no number in the field
    result.hasNumber = true;
    const char* const mantissaEnd = p;
    if (p < end && (*p == 'e' || *p == 'E' || *p == 'd' || *p == 'D')) {
        const char* q = p + 1;
        if (q < end && (*q == '+' || *q == '-')) ++q;
        if (q < end && isDigit(*q)) {
            while (q < end && isDigit(*q)) ++q;
            p = q;
        }
    }
    for (const char* q = p; q < end && !result.textAfter; ++q) result.textAfter = !isBlank(*q);
    double value = 0.0;
    if (p == mantissaEnd && count <= 15) {
        static const double kPow10[] = {1e0, 1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
        value = double(std::int64_t(digits)) / kPow10[fracDigits];
    } else {
        // from_chars takes no sign and no D exponent; the text from mantissa
        // to p is otherwise pure. A field is a line's columns, so it is short.
        std::string text(mantissa, p);
        if (p != mantissaEnd) text[std::size_t(mantissaEnd - mantissa)] = 'e';
        const auto res = std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
        if (res.ec == std::errc::result_out_of_range) {
            // A negative exponent underflows to zero, as strtod does; a
            // positive one is too large for any value the files can carry.
            result.outOfRange = !(mantissaEnd + 1 < p && mantissaEnd[1] == '-');
            value = 0.0;
        }
    }
    result.value = negative ? -value : value;
    return result;
}

void appendShortest(std::string& out, double value) {
    char buf[32];
    const auto res = std::to_chars(buf, buf + sizeof buf, value);
    out.append(buf, res.ptr);
}

std::string numberRuns(const std::vector<int>& m) {
    std::string text;
    for (std::size_t j = 0; j < m.size();) {
        std::size_t end = j;
        while (end + 1 < m.size() && m[end + 1] == m[end] + 1) ++end;
        if (j > 0) text += ", ";
        text += std::to_string(m[j]);
        if (end >= j + 2) {
            text += ".." + std::to_string(m[end]);
            j = end + 1;
        } else {
            ++j;
        }
    }
    return text;
}

std::string formatShortest(double value) {
    std::string out;
    appendShortest(out, value);
    return out;
}

}  // namespace quarvel
