// Every reference scene, drawn by the raster layer, must come out pixel for
// pixel as the reference render, and must leave no object behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "SceneRunner.h"

namespace {

const std::filesystem::path kFixtures = TESSARIN_GDI_FIXTURES;

std::string FirstDifference(const std::vector<std::string>& actual, const std::vector<std::string>& expected) {
    for (std::size_t i = 0; i < std::max(actual.size(), expected.size()); ++i) {
        const std::string a = i < actual.size() ? actual[i] : "(nothing)";
        const std::string e = i < expected.size() ? expected[i] : "(nothing)";
        if (a != e) return "line " + std::to_string(i) + ": got \"" + a + "\", want \"" + e + "\"";
    }
    return {};
}

class GoldenScene : public ::testing::TestWithParam<std::string> {};

TEST_P(GoldenScene, MatchesTheReferenceRender) {
    const std::size_t before = gdi::LiveObjectCount();
    {
        gdi_test::SceneRunner runner;
        runner.Run(kFixtures / "scenes" / (GetParam() + ".txt"));
        const gdi_test::Picture expected = gdi_test::ReadPpm(kFixtures / "refs" / (GetParam() + ".ppm"));
        EXPECT_EQ(gdi_test::Compare(runner.Target(), expected), "");
        // Reports cover the probes' other surfaces, which the picture does not show.
        const std::vector<std::string> reported = gdi_test::ReadTranscript(kFixtures / "refs" / (GetParam() + ".txt"));
        ASSERT_FALSE(reported.empty());
        EXPECT_EQ(FirstDifference(runner.Transcript(), reported), "");
    }
    EXPECT_EQ(gdi::LiveObjectCount(), before);
}

INSTANTIATE_TEST_SUITE_P(Reference, GoldenScene,
                         ::testing::Values("01_board300_grid", "02_board385_grid", "03_cross_cell12",
                                           "03_cross_cell12_nogrid", "04_ellipse_cell00", "04_ellipse_cell00_nogrid",
                                           "05a_board385_crosses", "05b_board385_ellipses", "06_highlight_srcand",
                                           "07_transparentblt", "p1_lines_1px", "p2_lines_2px", "p3_ellipse",
                                           "p4_blits", "p5_load", "r1_lines_1px_random", "r2_lines_wide_random",
                                           "r3_ellipses_random", "r4_blits_random"),
                         [](const auto& info) { return "s" + info.param; });

}  // namespace
