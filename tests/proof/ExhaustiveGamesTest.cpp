// Every game the board allows, played through its press handler on the real board
// surface, with the pieces drawn as shapes (no piece pictures in the folder).
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>

#include "GameTree.h"
#include "ProofSupport.h"

namespace proof {
namespace {

class ExhaustiveGames : public ::testing::Test {
protected:
    void SetUp() override { folder.WriteFramePictures(); }

    Totals WalkFrom(bool computerPlays, bool redBegins, const char* label, unsigned firstPresses = AllFirstPresses) {
        StartedGame started(folder);
        started.NewGame(computerPlays, redBegins);
        const auto begin = std::chrono::steady_clock::now();
        // The computer's choices follow its scan order, not the board's symmetry, and its walks are short.
        GameTree tree(started.Window());
        const Totals totals = tree.Walk(firstPresses);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
        std::printf("[ totals   ] %s%s: %llu games, %llu blue wins, %llu red wins, %llu draws, %llu presses, %.1f s\n",
                    label, firstPresses != AllFirstPresses ? " (one first press)" : "",
                    static_cast<unsigned long long>(totals.games), static_cast<unsigned long long>(totals.blueWins),
                    static_cast<unsigned long long>(totals.redWins), static_cast<unsigned long long>(totals.draws),
                    static_cast<unsigned long long>(totals.presses), seconds);
        EXPECT_EQ(totals.failures, 0u) << totals.firstFailure;
        return totals;
    }

    PictureFolder folder;
};

void ExpectCounts(const Totals& walked, const Totals& byRules) {
    EXPECT_EQ(walked.games, byRules.games);
    EXPECT_EQ(walked.blueWins, byRules.blueWins);
    EXPECT_EQ(walked.redWins, byRules.redWins);
    EXPECT_EQ(walked.draws, byRules.draws);
}

// Known counts of the game: 255,168 games, of which 131,184 go to the side that
// begins, 77,904 to the other, and 46,080 are drawn.
TEST(GameCounts, TheRulesGiveTheKnownCounts) {
    const Totals blue = CountByRules(false, AllFirstPresses);
    EXPECT_EQ(blue.games, 255168u);
    EXPECT_EQ(blue.blueWins, 131184u);
    EXPECT_EQ(blue.redWins, 77904u);
    EXPECT_EQ(blue.draws, 46080u);
    const Totals red = CountByRules(true, AllFirstPresses);
    EXPECT_EQ(red.redWins, 131184u);
    EXPECT_EQ(red.blueWins, 77904u);
}

TEST_F(ExhaustiveGames, TwoPeopleBlueBeginning) {
    const unsigned first = FirstPressesWithinBudget(1u << 4);  // the centre
    ExpectCounts(WalkFrom(false, false, "two people, blue begins", first), CountByRules(false, first));
}

TEST_F(ExhaustiveGames, TwoPeopleRedBeginning) {
    const unsigned first = FirstPressesWithinBudget(1u << 0);  // a corner
    ExpectCounts(WalkFrom(false, true, "two people, red begins", first), CountByRules(true, first));
}

// Against the computer every game is one sequence of the person's presses; each one
// ends, and the walk checks every answer the computer gives on the way.
TEST_F(ExhaustiveGames, ComputerAgainstEveryPersonBeginning) {
    const Totals t = WalkFrom(true, false, "computer as red, the person begins");
    EXPECT_GT(t.games, 0u);
    EXPECT_EQ(t.games, t.blueWins + t.redWins + t.draws);
}

TEST_F(ExhaustiveGames, ComputerAgainstEveryPersonComputerBeginning) {
    const Totals t = WalkFrom(true, true, "computer as red, the computer begins");
    EXPECT_GT(t.games, 0u);
    EXPECT_EQ(t.games, t.blueWins + t.redWins + t.draws);
}

}  // namespace
}  // namespace proof
