#include "support/BoardWindow.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <utility>
#include <vector>

using namespace BoardTest;

namespace {

const std::string EndText = "Press new game in the file menu to begin";
const std::string RedsTurn = "It's player reds turn";
const std::string BluesTurn = "It's player blues turn";

bool IsGreenOnly(gdi::COLORREF C) { return gdi::GetRValue(C) == 0 && gdi::GetBValue(C) == 0 && gdi::GetGValue(C) > 0; }

class TurnCycle : public ::testing::Test {
protected:
    // Plays the moves in turn, each through a press at the centre of its cell.
    void Play(const std::vector<std::pair<int, int>>& Moves) {
        for (const auto& [Col, Row] : Moves) Board.Press(Col, Row);
    }

    // Every observable effect of a press: the cells, the flags, the text, the board's pixels and its refreshes.
    struct Observed {
        Global::CellMatrix Cells;
        bool PlayerTurn;
        bool GameOver;
        std::string Text;
        std::vector<std::uint32_t> Pixels;
        int Repaints;
        bool operator==(const Observed&) const = default;
    };
    Observed Observe() const {
        return {Global::Cells,    Global::PlayerTurn, Global::GameOver, Board.Window.Text.Caption(),
                Board.Snapshot(), Board.Repaints()};
    }

    // Whether the cell's background shows the highlight, at a pixel clear of both shapes and the grid lines.
    bool Highlighted(int Col, int Row) const { return IsGreenOnly(Board.Pixel(Col * 100 + 12, Row * 100 + 3)); }

    BoardWindow Board{300, 300};
    Grid& Handler = Global::GameGrid();
};

TEST_F(TurnCycle, PressesMapToCellsByFlooring) {
    Board.NewGame();
    Handler.BoardMouseDown(99, 299);
    Handler.BoardMouseDown(100, 0);
    Handler.BoardMouseDown(299, 199);
    EXPECT_EQ(Global::Cells(0, 2), Global::CodeBlue);
    EXPECT_EQ(Global::Cells(1, 0), Global::CodeRed);
    EXPECT_EQ(Global::Cells(2, 1), Global::CodeBlue);
}

TEST_F(TurnCycle, TwoPeopleTakeTurnsAndEachMoveIsDrawnAndShown) {
    Board.NewGame();
    Board.Press(1, 1);
    EXPECT_EQ(Global::Cells(1, 1), Global::CodeBlue);
    EXPECT_TRUE(Global::PlayerTurn);
    EXPECT_EQ(Board.Window.Text.Caption(), RedsTurn);
    EXPECT_EQ(Board.Pixel(150, 150), Blue);
    EXPECT_EQ(Board.Repaints(), 1);

    Board.Press(0, 2);
    EXPECT_EQ(Global::Cells(0, 2), Global::CodeRed);
    EXPECT_FALSE(Global::PlayerTurn);
    EXPECT_EQ(Board.Window.Text.Caption(), BluesTurn);
    EXPECT_EQ(Board.Pixel(50, 250), Red);
    EXPECT_EQ(Board.Repaints(), 2);
    EXPECT_FALSE(Global::GameOver);
}

TEST_F(TurnCycle, BlueCompletingARowWinsWithTheRowHighlighted) {
    Board.NewGame();
    Play({{0, 0}, {0, 1}, {1, 0}, {1, 1}, {2, 0}});
    EXPECT_TRUE(Global::GameOver);
    EXPECT_FALSE(Global::PlayerTurn);
    EXPECT_EQ(Board.Window.Text.Caption(), EndText);
    EXPECT_EQ(Global::WinLine(0), (Global::CellPos{0, 0}));
    EXPECT_EQ(Global::WinLine(2), (Global::CellPos{2, 0}));
    for (int Col = 0; Col < 3; ++Col) {
        EXPECT_TRUE(Highlighted(Col, 0)) << Col;
        EXPECT_FALSE(Highlighted(Col, 1)) << Col;
        EXPECT_FALSE(Highlighted(Col, 2)) << Col;
    }
    // The highlighted cross keeps only its green, which is none.
    EXPECT_EQ(Board.Pixel(150, 50), Black);
    EXPECT_EQ(Board.Repaints(), 5);
}

// A full game without a winner: the ninth piece ends it.
const std::vector<std::pair<int, int>> DrawnGame = {{0, 0}, {1, 1}, {2, 2}, {0, 2}, {2, 0},
                                                    {1, 0}, {1, 2}, {2, 1}, {0, 1}};

TEST_F(TurnCycle, FullBoardWithoutALineIsADraw) {
    Board.NewGame();
    Play(std::vector<std::pair<int, int>>(DrawnGame.begin(), DrawnGame.end() - 1));
    EXPECT_FALSE(Global::GameOver);
    Play({DrawnGame.back()});
    EXPECT_TRUE(Global::GameOver);
    EXPECT_EQ(Board.Window.Text.Caption(), EndText);
    EXPECT_TRUE(Global::PlayerTurn);
    EXPECT_EQ(Board.CountAll(Green), 0);
    EXPECT_EQ(Board.Count(0, 0, 300, 300, IsGreenOnly), 0);
}

TEST_F(TurnCycle, NinthMoveCompletingALineIsAWin) {
    Board.NewGame();
    Play({{0, 0}, {1, 0}, {1, 1}, {2, 0}, {2, 1}, {0, 1}, {1, 2}, {0, 2}, {2, 2}});
    EXPECT_TRUE(Global::GameOver);
    EXPECT_FALSE(Global::PlayerTurn);
    EXPECT_EQ(Board.Window.Text.Caption(), EndText);
    EXPECT_TRUE(Highlighted(0, 0));
    EXPECT_TRUE(Highlighted(1, 1));
    EXPECT_TRUE(Highlighted(2, 2));
    EXPECT_FALSE(Highlighted(2, 0));
    EXPECT_FALSE(Highlighted(0, 2));
}

TEST_F(TurnCycle, ComputerAnswersWithinTheSamePress) {
    Board.NewGame(true);
    Global::Cells(1, 1) = Global::CodeBlue;
    std::int32_t Col = -1;
    std::int32_t Row = -1;
    Global::GameAI().ChooseMove(Col, Row);
    Global::Cells(1, 1) = Global::CodeEmpty;

    Board.Press(1, 1);
    EXPECT_EQ(Global::Cells(1, 1), Global::CodeBlue);
    EXPECT_EQ(Global::Cells(Col, Row), Global::CodeRed);
    int Pieces = 0;
    for (int R = 0; R < 3; ++R)
        for (int C = 0; C < 3; ++C) Pieces += Global::Cells(C, R) != Global::CodeEmpty ? 1 : 0;
    EXPECT_EQ(Pieces, 2);
    EXPECT_FALSE(Global::PlayerTurn);
    EXPECT_FALSE(Global::GameOver);
    EXPECT_EQ(Board.Window.Text.Caption(), BluesTurn);
    EXPECT_EQ(Board.Pixel(Col * 100 + 50, Row * 100 + 50), Red);
    EXPECT_EQ(Board.Repaints(), 2);
}

TEST_F(TurnCycle, ComputerPlaysWholeGamesToTheEnd) {
    Board.NewGame(true);
    int Presses = 0;
    while (!Global::GameOver && Presses < 9) {
        int Free = 0;
        while (Global::Cells(Free % 3, Free / 3) != Global::CodeEmpty) ++Free;
        Board.Press(Free % 3, Free / 3);
        ++Presses;
        if (!Global::GameOver) {
            EXPECT_EQ(Board.Window.Text.Caption(), BluesTurn);
        }
    }
    EXPECT_TRUE(Global::GameOver);
    EXPECT_LE(Presses, 5);
    EXPECT_EQ(Board.Window.Text.Caption(), EndText);
}

TEST_F(TurnCycle, ComputersWinningAnswerEndsTheGameOnRedsTurn) {
    Board.NewGame(true);
    Global::Cells(0, 0) = Global::CodeRed;
    Global::Cells(1, 0) = Global::CodeRed;
    Global::Cells(0, 1) = Global::CodeBlue;
    Global::Cells(2, 2) = Global::CodeBlue;
    Global::Cells(1, 2) = Global::CodeBlue;
    std::int32_t Col = -1;
    std::int32_t Row = -1;
    Global::GameAI().ChooseMove(Col, Row);
    Global::Cells(1, 2) = Global::CodeEmpty;
    ASSERT_EQ((Global::CellPos{Col, Row}), (Global::CellPos{2, 0})) << "the computer should take its winning cell";

    Board.Press(1, 2);
    EXPECT_EQ(Global::Cells(2, 0), Global::CodeRed);
    EXPECT_TRUE(Global::GameOver);
    EXPECT_TRUE(Global::PlayerTurn);
    EXPECT_EQ(Board.Window.Text.Caption(), EndText);
    EXPECT_TRUE(Highlighted(0, 0));
    EXPECT_TRUE(Highlighted(2, 0));
    EXPECT_FALSE(Highlighted(1, 2));
}

TEST_F(TurnCycle, LastCellFilledByAPersonEndsTheGameEvenWhenTheComputerIsAsked) {
    Board.NewGame(true);
    const std::uint8_t Codes[] = {Global::CodeBlue, Global::CodeRed};
    for (std::size_t I = 0; I + 1 < DrawnGame.size(); ++I)
        Global::Cells(DrawnGame[I].first, DrawnGame[I].second) = Codes[I % 2];
    const Global::CellMatrix Before = Global::Cells;

    Board.Press(DrawnGame.back().first, DrawnGame.back().second);
    Global::CellMatrix Expected = Before;
    Expected(DrawnGame.back().first, DrawnGame.back().second) = Global::CodeBlue;
    EXPECT_EQ(Global::Cells, Expected);
    EXPECT_TRUE(Global::GameOver);
    EXPECT_TRUE(Global::PlayerTurn);
    EXPECT_EQ(Board.Window.Text.Caption(), EndText);
}

TEST_F(TurnCycle, PressesOnTakenCellsOrFinishedGamesChangeNothing) {
    // Start-up leaves the game over until the first new game.
    Observed Before = Observe();
    Board.Press(1, 1);
    EXPECT_EQ(Observe(), Before);

    Board.NewGame();
    Board.Press(1, 1);
    Before = Observe();
    Board.Press(1, 1);
    Handler.BoardMouseDown(101, 199);
    EXPECT_EQ(Observe(), Before);

    Play({{0, 0}, {1, 0}, {2, 2}, {1, 2}});
    ASSERT_TRUE(Global::GameOver);
    Before = Observe();
    Board.Press(2, 0);
    EXPECT_EQ(Observe(), Before);
}

TEST_F(TurnCycle, PressesOutsideTheBoardChangeNothing) {
    Board.NewGame();
    const Observed Before = Observe();
    const std::pair<std::int16_t, std::int16_t> Outside[] = {
        {-1, 50}, {50, -1}, {300, 50}, {50, 300}, {INT16_MIN, INT16_MIN}, {INT16_MAX, INT16_MAX}, {300, 300}};
    for (const auto& [X, Y] : Outside) EXPECT_NO_THROW(Handler.BoardMouseDown(X, Y)) << X << "," << Y;
    EXPECT_EQ(Observe(), Before);

    Handler.BoardWidth(0);
    EXPECT_NO_THROW(Handler.BoardMouseDown(0, 0));
    Handler.BoardWidth(300);
    Handler.BoardHeight(0);
    EXPECT_NO_THROW(Handler.BoardMouseDown(0, 0));
    EXPECT_EQ(Observe(), Before);
}

TEST_F(TurnCycle, ComputerAnswerIsPlayedAtTheCellCentreOfAnOddBoard) {
    // 385 / 3 x 2 + 385 / 6 = 320.83: the answer must still land in the cell the computer chose.
    Board.Window.Board.Width(385);
    Board.Window.Board.Height(385);
    Board.NewGame(true);
    Global::Cells(0, 0) = Global::CodeRed;
    Global::Cells(1, 1) = Global::CodeRed;
    Global::Cells(0, 1) = Global::CodeBlue;
    Global::Cells(1, 2) = Global::CodeBlue;
    Board.Press(2, 1);
    EXPECT_EQ(Global::Cells(2, 2), Global::CodeRed);
    EXPECT_TRUE(Global::GameOver);
}

TEST_F(TurnCycle, ManyGamesKeepTheDrawingObjectsBounded) {
    const auto PlayOneGame = [this](bool RedBegins) {
        Board.NewGame(true, RedBegins);
        if (RedBegins) Board.Press(1, 1);
        for (int Free = 0; !Global::GameOver && Free < 9; ++Free)
            if (Global::Cells(Free % 3, Free / 3) == Global::CodeEmpty) Board.Press(Free % 3, Free / 3);
        ASSERT_TRUE(Global::GameOver);
    };
    PlayOneGame(false);
    const std::size_t AfterFirst = gdi::LiveObjectCount();
    for (int Game = 0; Game < 300; ++Game) PlayOneGame(Game % 2 == 1);
    EXPECT_LE(gdi::LiveObjectCount(), AfterFirst + 1);
}

}  // namespace
