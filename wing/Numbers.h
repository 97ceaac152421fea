// Locale-independent number conversion for the fixed-column files and the
// labels: the process locale never changes a character read or written.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quarvel {

// Appends value in fixed notation with the given number of decimals, exactly
// as "%.*f" prints it in the C locale.
void appendFixed(std::string& out, double value, int precision);
std::string formatFixed(double value, int precision);

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
};

// Reads a field as the C library's atof does, restricted to decimal numbers:
// leading white space is skipped, then the longest prefix of the form
// [sign] digits [. digits] [e|E [sign] digits] is taken; the rest is ignored.
// "nan", "inf" and hexadecimal forms are not decimal numbers.
DecimalField parseDecimal(std::string_view field);

}  // namespace quarvel
