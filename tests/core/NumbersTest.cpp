#include <algorithm>
#include <charconv>
#include <cstring>
#include <random>

#include <gtest/gtest.h>

#include "wing/Numbers.h"

using quarvel::formatFixed;
using quarvel::parseDecimal;

TEST(Numbers, FixedNotationMatchesTheLibraryOnRandomValues) {
    // The formatter has a fast path of its own; the library's to_chars is the
    // reference, including ties, negative zero and values near each limit:
    // each of these at every precision, then random values.
    std::mt19937_64 rng(7);
    std::uniform_real_distribution<double> mantissa(-1.0, 1.0);
    std::uniform_int_distribution<int> exponent(-12, 12), decimals(0, 9);
    std::vector<std::pair<double, int>> values;
    for (double v : {0.78345, 0.5, 1.5, 2.5, 3.5, 0.125, -0.125, 0.00005, -0.00005, -0.00001, 999999999.5, 1e9, -0.0,
                     1234567.891, 1e20})
        for (int p = 0; p < 10; ++p) values.emplace_back(v, p);
    for (int i = 0; i < 200000; ++i) values.emplace_back(mantissa(rng) * std::pow(10.0, exponent(rng)), decimals(rng));
    for (int i = 0; i < 2000; ++i) values.emplace_back(std::round(mantissa(rng) * 1e6) / 1e4 + 0.00005, decimals(rng));
    for (const auto& [v, p] : values) {
        char buf[400];
        const auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, p);
        ASSERT_EQ(formatFixed(v, p), std::string(buf, res.ptr)) << v << " %." << p;
    }
}

TEST(Numbers, DecimalFieldsReadExactlyAsTheLibrary) {
    // The reader has a fast path for short plain decimals; the library's
    // from_chars is the reference, to the last bit.
    std::mt19937_64 rng(11);
    std::uniform_int_distribution<int> length(1, 17), digit(0, 9), coin(0, 1);
    int tenColumns = 0;
    for (int i = 0; i < 200000; ++i) {
        std::string digits;
        const int n = length(rng);
        for (int d = 0; d < n; ++d) digits += char('0' + digit(rng));
        digits.insert(std::uniform_int_distribution<int>(0, n)(rng), ".");
        if (digits == ".") continue;
        const std::string text = (coin(rng) ? "-" : "") + digits;
        double expected = 0.0;
        std::from_chars(text.data() + (text[0] == '-'), text.data() + text.size(), expected);
        if (text[0] == '-') expected = -expected;
        ASSERT_EQ(parseDecimal(text).value, expected) << text;
        double plain = 12345.0;
        if (quarvel::parsePlainDecimal("  " + text + " x", plain)) {
            ASSERT_EQ(plain, expected) << text;
        }
        // Right-aligned in the ten columns of a file's row, after a number.
        const std::string row = "-98765" + std::string(std::max<int>(10 - int(text.size()), 0), ' ') + text;
        if (text.size() <= 10 && quarvel::parseTenColumns(row.data() + 15, plain) && ++tenColumns) {
            ASSERT_EQ(plain, expected) << text;
        }
    }
    EXPECT_GT(tenColumns, 50000) << "the ten-column road taken";
    for (const char* other : {"    1.5 ", "  1.2.3", "  --1", "     1-", "     +1", "   1 2", "    .", "     -"}) {
        const std::string row = "123456" + std::string(10 - std::strlen(other), ' ') + other;
        double value = 0.0;
        EXPECT_FALSE(quarvel::parseTenColumns(row.data() + 15, value)) << '"' << other << '"';
    }
}

TEST(Numbers, DecimalFieldsFollowAtofButOnlyDecimal) {
    struct Case { const char* field; double value; bool hasNumber; } cases[] = {
        {"   -1.25", -1.25, true}, {"+2.5e1xyz", 25.0, true}, {".5", 0.5, true},    {"5.", 5.0, true},
        {"1e", 1.0, true},         {"1e+", 1.0, true},         {"-10.00000", -10, true}, {"1,5", 1.0, true},
        {"\t 7", 7.0, true},       {"", 0.0, false},           {"   ", 0.0, false},   {"-", 0.0, false},
        {".", 0.0, false},         {"abc", 0.0, false},        {"nan", 0.0, false},  {"inf", 0.0, false},
        {"-infinity", 0.0, false}, {"0x1p3", 0.0, true},       {"1e-400", 0.0, true},
    };
    for (const auto& c : cases) {
        const auto f = parseDecimal(c.field);
        EXPECT_EQ(f.value, c.value) << '"' << c.field << '"';
        EXPECT_EQ(f.hasNumber, c.hasNumber) << '"' << c.field << '"';
        EXPECT_FALSE(f.outOfRange) << '"' << c.field << '"';
    }
    EXPECT_TRUE(parseDecimal("1e400").outOfRange);
    EXPECT_TRUE(parseDecimal("-9e999").outOfRange);
}
