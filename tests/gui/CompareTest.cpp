// "Compare with target..." in the window: the target dashed and the residual
// on its own axis in the plot, the residual in the status line, and a new
// wing opened drops the comparison.
#include "WindowFixture.h"
#include "wing/CpFiles.h"

namespace {

class CompareTest : public quarvel::test::WindowFixture {
protected:
    // Dashed target segments and the labels of the dCp axis in the plot.
    int targetSegments() const {
        int n = 0;
        for (const quarvel::PlotPrimitive& p : window->currentPlot().primitives)
            n += p.kind == quarvel::PlotPrimitive::Segment && p.dashed && std::string(p.color) == quarvel::kTargetColor;
        return n;
    }
    std::vector<std::string> residualLabels() const {
        std::vector<std::string> labels;
        for (const quarvel::PlotPrimitive& p : window->currentPlot().primitives)
            if (p.kind == quarvel::PlotPrimitive::Text && std::string(p.color) == quarvel::kResidualColor)
                labels.push_back(p.text);
        return labels;
    }
    std::string status() const { return quarvel::stdText(window->statusBar->getStatusLine()->getNormalText()); }
};

TEST_F(CompareTest, ShowsTheTargetAndTheResidualUntilAnotherWingIsOpened) {
    openExample();
    TestWindow& w = *window;
    // The target: section 2's design Cp (upper surface, points 72..104 in
    // Cp edition) 0.09 below what the wing now holds as its initial Cp.
    quarvel::WingModel target = w.wing;
    for (int i = target.u1[0] - 1; i < target.u2[0]; ++i) target.cpDes[i][0] = target.cpInit[i][0] - 0.09;
    quarvel::FileError error;
    ASSERT_TRUE(quarvel::saveCpOutput(target, (dir / "target.cpd").string(), &error)) << error.message();
    EXPECT_EQ(targetSegments(), 0) << "no target yet";

    ASSERT_TRUE(w.compareWithTarget((dir / "target.cpd").c_str()));
    ASSERT_NE(w.currentComparison(), nullptr);
    EXPECT_EQ(targetSegments(), (w.wing.u2[0] - w.wing.u1[0]) + 1) << "the target's interval, and the legend";
    EXPECT_EQ(residualLabels(), (std::vector<std::string>{"-0.10", "-0.05", "0.00", "0.05", "0.10", "dCp"}));
    EXPECT_NE(status().find("Target upper: RMS 0.0900, max 0.0900 at X = "), std::string::npos) << status();

    // A section that the target leaves alone says so.
    w.chooseSection(3);
    EXPECT_EQ(targetSegments(), 0) << "section 4 has no Cp edition";
    EXPECT_NE(status().find("No target for this section"), std::string::npos) << status();

    // A target that cannot be read keeps the comparison there is.
    EXPECT_FALSE(w.compareWithTarget((dir / "none.cpd").c_str()));
    ASSERT_EQ(errors.size(), 1u);
    errors.clear();
    EXPECT_TRUE(w.comparison.has_value());

    ASSERT_TRUE(w.openFile((dir / "wing.cpi").c_str()));
    EXPECT_FALSE(w.comparison.has_value());
    EXPECT_EQ(targetSegments(), 0) << "a new wing, no target";
    EXPECT_EQ(residualLabels(), std::vector<std::string>{});
    EXPECT_EQ(status().find("Target"), std::string::npos) << status();

    // A script's target line compares the wing again.
    quarvel::test::writeFile((dir / "compare.qvs").string(), "target target.cpd\n");
    EXPECT_TRUE(w.runScriptFile((dir / "compare.qvs").c_str()));
    EXPECT_TRUE(w.comparison.has_value()) << "compared by the script";
}

}  // namespace
