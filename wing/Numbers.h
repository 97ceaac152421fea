// Locale-independent number conversion for the fixed-column files and the
// labels: the process locale never changes a character read or written.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace quarvel {

// Appends value in fixed notation with the given number of decimals, exactly
// as "%.*f" prints it in the C locale.
void appendFixed(std::string& out, double value, int precision);
std::string formatFixed(double value, int precision);

// Appends the shortest text that reads back as exactly value ("0.1", "2",
// "1e+300"), for CSV and summaries that must lose nothing.
void appendShortest(std::string& out, double value);
std::string formatShortest(double value);

// Increasing numbers as a reader takes them in: "3, 5, 14..201", runs of
// three or more consecutive numbers written first..last.
std::string numberRuns(const std::vector<int>& numbers);

// The same for the common case, written to buf without allocating: values
// below 1e9 with at most 9 decimals that do not sit on a rounding tie.
// Returns the length, or 0 when appendFixed must do it.
constexpr std::size_t kFixedCharsMax = 24;
std::size_t fixedChars(char* buf, double value, int precision);

// Result of reading a decimal number from the start of a field.
struct DecimalField {
    double value = 0.0;    // 0.0 when the field holds no number
    bool hasNumber = false;
    bool outOfRange = false;  // a number too large for a double
    bool textAfter = false;   // something other than blanks follows the number
};

// Reads a field as the C library's atof does, restricted to decimal numbers:
// leading white space is skipped, then the longest prefix of the form
// [sign] digits [. digits] [e|E|d|D [sign] digits] is taken (the D exponent
// of Fortran programs reads as E); anything but blanks after it is flagged.
// "nan", "inf" and hexadecimal forms are not decimal numbers.
DecimalField parseDecimal(std::string_view field);

// parseDecimal's common case, small enough to inline where a file's fields
// are read by the hundred thousand: blanks, an optional sign, at most 15
// digits with at most one point, no exponent and nothing but blanks after
// them. Returns false, leaving value alone, for anything else
// (parseDecimal then decides).
inline bool parsePlainDecimal(std::string_view field, double& value) {
    static constexpr double kPow10[] = {1e0, 1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    const char* p = field.data();
    const char* const end = p + field.size();
    while (p < end && *p == ' ') ++p;
    const bool negative = p < end && *p == '-';
    if (negative) ++p;
    std::int64_t digits = 0;
    int count = 0, fracDigits = -1;
    for (; p < end; ++p) {
        const char c = *p;
        if (c >= '0' && c <= '9') {
            digits = digits * 10 + (c - '0');
            ++count;
            if (fracDigits >= 0) ++fracDigits;
        } else if (c == '.' && fracDigits < 0) {
            fracDigits = 0;
        } else {
            break;
        }
    }
    if (count == 0 || count > 15) return false;
    for (const char* q = p; q < end; ++q)
        if (*q != ' ') return false;
    const double v = double(digits) / kPow10[fracDigits < 0 ? 0 : fracDigits];
    value = negative ? -v : v;
    return true;
}

// parsePlainDecimal's value of the field of the ten columns that end at
// last, when it holds such a decimal right-aligned (blanks only before it);
// false for any other field, which parsePlainDecimal then decides. It reads
// sixteen bytes at once, the field's and the six before it, which must be
// readable: a row of a wing file is read in a few steps rather than a step
// per character.
inline bool parseTenColumns(const char* last, double& value) {
#ifdef __SSE2__
    static constexpr double kPow10[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10};
    // The bytes before byte n.
    auto upTo = [](int n) {
        const __m128i index = _mm_setr_epi8(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15);
        return _mm_cmplt_epi8(index, _mm_set1_epi8(char(n)));
    };
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(last - 15));
    const unsigned field = 0xFFC0u;  // bytes 6 .. 15
    const unsigned blank = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(v, _mm_set1_epi8(' '))));
    const unsigned point = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(v, _mm_set1_epi8('.')))) & field;
    const unsigned minus = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(v, _mm_set1_epi8('-')))) & field;
    const __m128i d = _mm_sub_epi8(v, _mm_set1_epi8('0'));
    const __m128i isDigit =
        _mm_cmplt_epi8(_mm_xor_si128(d, _mm_set1_epi8(char(0x80))), _mm_set1_epi8(char(0x80 + 10)));
    const unsigned digit = unsigned(_mm_movemask_epi8(isDigit)) & field;
    // Blanks, then a minus, digits and at most one point up to the last byte.
    const unsigned body = field & ~blank;
    const unsigned low = body & (0u - body);
    if (body + low != 0x10000u || (body & ~(digit | point | minus)) || (minus & ~low) || (point & (point - 1)))
        return false;
    const int first = __builtin_ctz(low) + (minus != 0);
    if (16 - first - (point != 0) < 1) return false;  // no digit
    const int p = point ? __builtin_ctz(point) : 16;
    // The digits side by side, the point taken out, then put together in
    // pairs, fours and eights.
    const __m128i digits = _mm_andnot_si128(upTo(6), _mm_and_si128(d, isDigit));
    const __m128i before = upTo(p < 16 ? p + 1 : 0);
    const __m128i joined =
        _mm_or_si128(_mm_and_si128(_mm_slli_si128(digits, 1), before), _mm_andnot_si128(before, digits));
    const __m128i zero = _mm_setzero_si128();
    const __m128i pairTimes = _mm_set1_epi32(0x0001000A);  // 10, 1
    const __m128i pairs = _mm_packs_epi32(_mm_madd_epi16(_mm_unpacklo_epi8(joined, zero), pairTimes),
                                          _mm_madd_epi16(_mm_unpackhi_epi8(joined, zero), pairTimes));
    const __m128i fours = _mm_madd_epi16(pairs, _mm_set1_epi32(0x00010064));  // 100, 1
    const __m128i eights = _mm_madd_epi16(_mm_packs_epi32(fours, fours), _mm_set1_epi32(0x00012710));  // 10000, 1
    const auto high = std::uint64_t(std::uint32_t(_mm_cvtsi128_si32(eights)));
    const auto lowEight = std::uint64_t(std::uint32_t(_mm_cvtsi128_si32(_mm_srli_si128(eights, 4))));
    const double x = double(std::int64_t(high * 100000000u + lowEight)) / kPow10[p < 16 ? 15 - p : 0];
    value = minus ? -x : x;
    return true;
#else
    (void)last;
    (void)value;
    return false;
#endif
}

}  // namespace quarvel
