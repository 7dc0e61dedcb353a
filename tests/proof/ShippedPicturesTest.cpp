// The real start-up: the shipped pictures through the Qt picture decoder, offscreen.
// Run under the sanitizers, the leak check at exit covers start-up, many games with
// and without the piece pictures, and Exit.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <cstdlib>
#include <random>

#include "GameTree.h"
#include "ProofSupport.h"
#include "board/Grid.h"
#include "platform/toolkit/Runtime.h"
#include "platform/toolkit/qt/QtPlatform.h"
#include "support/TestPlatform.h"

namespace proof {
namespace {

// One application for the whole run, never torn down: exit handlers must not race it.
void EnsureApplication() {
    static QGuiApplication* application = [] {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        static int argc = 1;
        static char name[] = "tessarin_proof_qt_tests";
        static char* argv[] = {name, nullptr};
        return new QGuiApplication(argc, argv);
    }();
    (void)application;
}

const std::vector<std::string> AllPictures = {"BarkGold.gif", "Background.jpg", "cross.gif", "Bullet.gif",
                                              "Up.jpg",       "Right.jpg",      "Down.jpg",  "Left.jpg"};
const std::vector<std::string> NoPiecePictures = {"BarkGold.gif", "Background.jpg", "Up.jpg",
                                                  "Right.jpg",    "Down.jpg",       "Left.jpg"};

class ShippedPictures : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureApplication();
        platform.Decode = toolkit::qt::DecodePicture;
    }

    // Games of every option, pressed at random, then Exit answered Yes.
    void PlayThenExit(const std::vector<std::string>& pictures, int games) {
        PictureFolder folder;
        folder.CopyShipped(pictures);
        int asked = 0;
        testsupport::TestPlatform exitAnswered;
        exitAnswered.Ask = [&asked](const std::string& prompt, std::int16_t, const std::string&) {
            ++asked;
            EXPECT_EQ(prompt, "Do you really want to exit?");
            return toolkit::vbYes;
        };
        StartedGame started(folder);
        Game& game = started.Window();
        std::mt19937 random(7);
        std::uniform_int_distribution<int> cell(0, 8);
        const int w = static_cast<int>(game.Board.ScaleWidth()), h = static_cast<int>(game.Board.ScaleHeight());
        for (int n = 0; n < games; ++n) {
            started.NewGame(n % 2 != 0, n % 4 >= 2);
            for (int presses = 0; !Global::GameOver && presses < 1000; ++presses) {
                const int c = cell(random);
                game.Board.MouseDown(1, 0, static_cast<float>(CellCentre(w, c % 3)),
                                     static_cast<float>(CellCentre(h, c / 3)));
            }
            ASSERT_TRUE(Global::GameOver);
        }
        game.mnuEnd().Choose();
        EXPECT_EQ(asked, 1);
        EXPECT_TRUE(game.Closed());
    }

    testsupport::TestPlatform platform;
};

TEST_F(ShippedPictures, HundredGamesWithPiecePicturesThenExit) { PlayThenExit(AllPictures, 100); }

TEST_F(ShippedPictures, HundredGamesWithoutPiecePicturesThenExit) { PlayThenExit(NoPiecePictures, 100); }

// Every two-person game once more, now with the piece pictures drawn by the keyed copy.
TEST_F(ShippedPictures, EveryGameWithPiecePictures) {
    PictureFolder folder;
    folder.CopyShipped(AllPictures);
    StartedGame started(folder);
    ASSERT_NE(Global::GameGrid().BluePieceDC(), 0);
    ASSERT_NE(Global::GameGrid().RedPieceDC(), 0);
    started.NewGame(false, false);
    const unsigned first = FirstPressesWithinBudget(1u << 1);  // an edge
    const Totals t = GameTree(started.Window()).Walk(first);
    const Totals byRules = CountByRules(false, first);
    EXPECT_EQ(t.failures, 0u) << t.firstFailure;
    EXPECT_EQ(t.games, byRules.games);
    EXPECT_EQ(t.blueWins, byRules.blueWins);
    EXPECT_EQ(t.redWins, byRules.redWins);
    EXPECT_EQ(t.draws, byRules.draws);
}

}  // namespace
}  // namespace proof
