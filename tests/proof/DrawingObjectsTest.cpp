// The drawing objects a long session leaves alive: the count the first game settles
// at must hold over thousands more, whatever the games are.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>

#include "ProofSupport.h"
#include "board/Grid.h"

namespace proof {
namespace {

// Presses random cells (taken ones too) until the game ends.
void PlayRandomGame(StartedGame& started, std::mt19937& random) {
    std::uniform_int_distribution<int> options(0, 3), cell(0, 8);
    const int choice = options(random);
    started.NewGame((choice & 1) != 0, (choice & 2) != 0);
    Game& game = started.Window();
    const int w = static_cast<int>(game.Board.ScaleWidth()), h = static_cast<int>(game.Board.ScaleHeight());
    for (int presses = 0; !Global::GameOver; ++presses) {
        ASSERT_LT(presses, 1000) << "the game does not end";
        const int c = cell(random);
        Global::GameGrid().BoardMouseDown(CellCentre(w, c % 3), CellCentre(h, c / 3));
    }
}

TEST(DrawingObjects, TenThousandGamesWithShapesLeaveTheCountOfTheFirst) {
    PictureFolder folder;
    folder.WriteFramePictures();
    const std::size_t beforeWindow = gdi::LiveObjectCount();
    {
        StartedGame started(folder);
        std::mt19937 random(20240607);
        PlayRandomGame(started, random);
        const std::size_t afterFirst = gdi::LiveObjectCount();
        std::size_t highest = afterFirst;
        for (int game = 1; game < 10000; ++game) {
            PlayRandomGame(started, random);
            highest = std::max(highest, gdi::LiveObjectCount());
        }
        EXPECT_EQ(gdi::LiveObjectCount(), afterFirst);
        EXPECT_EQ(highest, afterFirst) << "objects piled up between games and went later";
    }
    EXPECT_EQ(gdi::LiveObjectCount(), beforeWindow) << "the window left drawing objects behind";
}

}  // namespace
}  // namespace proof
