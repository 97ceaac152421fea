// A section exported as CSV.
#include <gtest/gtest.h>

#include <algorithm>

#include "TestSupport.h"
#include "wing/CpFiles.h"
#include "wing/SectionCsv.h"

using namespace quarvel;

TEST(Export, ASectionAsCsvHasAHeaderAndOneRowPerStation) {
    FileError err;
    const auto wing = readCpInput(test::dataPath("small-even.cpi"), &err);
    ASSERT_TRUE(wing) << err.message();
    const std::string csv = formatSectionCsv(*wing, 0);
    // The lower surface takes the file's design Cp over its interval (rows 2
    // and 3); everywhere else the design Cp is the input Cp.
    const std::string start =
        "X,Cp initial upper,Cp design upper,Cp initial lower,Cp design lower\n"
        "0.000000,-0.500000,-0.500000,1.000000,1.000000\n"
        "0.020000,-1.200000,-1.200000,0.400000,0.400000\n"
        "0.100000,-1.000000,-1.000000,0.200000,0.090000\n"
        "0.250000,-0.900000,-0.900000,0.100000,0.060000\n";
    const std::string lastRow = "1.000000,0.200000,0.200000,0.200000,0.200000\n";
    EXPECT_EQ(csv.substr(0, start.size()), start);
    EXPECT_EQ(csv.substr(csv.size() - lastRow.size()), lastRow);
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 1 + wing->nhalf);
    EXPECT_EQ(formatSectionCsv(*wing, 2), "") << "no such section";
}
