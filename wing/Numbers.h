// Locale-independent number conversion for the fixed-column files and the
// labels: the process locale never changes a character read or written.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

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

}  // namespace quarvel
