// akimaInterpolate against reference values computed independently of this
// program (tests/data/akima-cases.json), among them evaluation on every data
// abscissa and a straight line evaluated outside its points.
#include <cmath>
#include <fstream>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "TestSupport.h"
#include "correction/Akima.h"

using quarvel::akimaInterpolate;

TEST(Akima, ReferenceCases) {
    std::ifstream in(quarvel::test::dataPath("akima-cases.json"));
    ASSERT_TRUE(in) << "akima-cases.json is missing";
    const auto doc = nlohmann::json::parse(in);
    int checked = 0;
    for (const auto& c : doc.at("cases")) {
        const std::string name = c.at("name");
        const auto x = c.at("x").get<std::vector<double>>();
        const auto y = c.at("y").get<std::vector<double>>();
        const int m = c.at("m");
        auto u = c.at("u").get<std::vector<double>>();
        std::vector<double> v(std::max<std::size_t>(u.size(), 1), 12345.0);
        u.resize(v.size());
        int code = -99;
        akimaInterpolate(int(x.size()), x.data(), y.data(), m, u.data(), v.data(), code);
        if (c.contains("expect_code")) {
            EXPECT_EQ(code, c.at("expect_code").get<int>()) << name;
            for (double value : v) EXPECT_EQ(value, 12345.0) << name << ": nothing is written on failure";
        } else {
            EXPECT_EQ(code, -99) << name << ": code untouched on success";
            const auto expected = c.at("v").get<std::vector<double>>();
            ASSERT_EQ(expected.size(), std::size_t(m + 1)) << name;
            for (int k = 0; k <= m; ++k)
                EXPECT_NEAR(v[k], expected[k], 1e-12 * std::max(1.0, std::fabs(expected[k])))
                    << name << ", u[" << k << "] = " << u[k];
        }
        ++checked;
    }
    EXPECT_GE(checked, 20);
}
