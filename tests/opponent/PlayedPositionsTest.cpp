#include "support/PlayedPositions.h"

#include "opponent/PlayerAI.h"
#include "state/Global.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

using Global::CellMatrix;

std::string Describe(const CellMatrix& Board) {
    std::string Text;
    for (std::int32_t Row = 0; Row < 3; ++Row) {
        for (std::int32_t Col = 0; Col < 3; ++Col) Text += static_cast<char>('0' + Board(Col, Row));
        Text += Row < 2 ? "/" : "";
    }
    return Text;
}

bool Completes(CellMatrix Board, std::int32_t Col, std::int32_t Row, std::uint8_t Code) {
    Board(Col, Row) = Code;
    return PlayedPositions::OwnsLine(Board, Code);
}

CellMatrix SwapSides(const CellMatrix& Board) {
    CellMatrix Swapped;
    for (std::int32_t Col = 0; Col < 3; ++Col)
        for (std::int32_t Row = 0; Row < 3; ++Row) Swapped(Col, Row) = Board(Col, Row) == 0 ? 0 : 3 - Board(Col, Row);
    return Swapped;
}

// 5,478 positions arise when one side opens. Games opened by red are those opened by blue with the colours
// exchanged. Only positions with as many blue as red pieces can arise both ways, and not all of them: a line finished
// by the side that moved second ends its games, so the same board cannot arise after the other side moves last.
// 2,423 positions are shared, which leaves 8,533 in all.
TEST(PlayedPositionsTest, CountsOfPositionsFromBothOpenings) {
    const auto BlueFirst = PlayedPositions::FromGamesOpenedBy(Global::CodeBlue);
    const auto RedFirst = PlayedPositions::FromGamesOpenedBy(Global::CodeRed);
    EXPECT_EQ(BlueFirst.size(), 5478u);
    EXPECT_EQ(RedFirst.size(), 5478u);
    for (const auto& [Id, Board] : BlueFirst)
        ASSERT_TRUE(RedFirst.contains(PlayedPositions::Key(SwapSides(Board)))) << Describe(Board);

    std::size_t Shared = 0;
    for (const auto& [Id, Board] : BlueFirst) Shared += RedFirst.contains(Id) ? 1 : 0;
    EXPECT_EQ(Shared, 2423u);
    EXPECT_EQ(PlayedPositions::FromAllGames().size(), 8533u);
}

TEST(PlayedPositionsTest, CheckWinAgreesWithAnIndependentLineCheck) {
    std::size_t Won = 0;
    for (const auto& [Id, Board] : PlayedPositions::FromAllGames())
        for (const std::uint8_t Code : {Global::CodeBlue, Global::CodeRed}) {
            const bool Expected = PlayedPositions::OwnsLine(Board, Code);
            ASSERT_EQ(Global::CheckWin(Board, Code), Expected) << Describe(Board) << " code " << int{Code};
            if (!Expected) continue;
            ++Won;
            // The recorded cells form a line the side really owns.
            CellMatrix Line;
            for (std::int32_t K = 0; K < 3; ++K) {
                const Global::CellPos Cell = Global::WinLine(K);
                ASSERT_EQ(Board(Cell.Col, Cell.Row), Code) << Describe(Board);
                Line(Cell.Col, Cell.Row) = Code;
            }
            ASSERT_TRUE(PlayedPositions::OwnsLine(Line, Code)) << Describe(Board);
        }
    EXPECT_GT(Won, 0u);
}

// Ranks of an empty cell: a computer win that blocks nothing first, then any cell that completes a human line (also
// one that would complete a computer line too), then the rest.
int Rank(const CellMatrix& Board, std::int32_t Col, std::int32_t Row) {
    if (Completes(Board, Col, Row, Global::CodeBlue)) return 2;
    return Completes(Board, Col, Row, Global::CodeRed) ? 3 : 1;
}

// In every undecided position the computer (code 2) leaves the board as it was, picks an empty cell of the highest
// rank: it wins when it can and otherwise blocks a line the human would complete. The exception is a win on a cell
// that also completes a human line: that cell ranks as a block, so when another block weighs more the win is missed.
TEST(PlayedPositionsTest, ComputerTakesTheBestRankedCell) {
    PlayerAI AI;
    AI.PlayerNumber(2);
    const auto Positions = PlayedPositions::Undecided(PlayedPositions::FromAllGames());
    EXPECT_EQ(Positions.size(), 6617u);

    std::size_t Wins = 0;
    std::size_t Blocks = 0;
    std::size_t MissedWins = 0;
    for (const CellMatrix& Board : Positions) {
        Global::Cells = Board;
        std::int32_t X = -1;
        std::int32_t Y = -1;
        AI.ChooseMove(X, Y);
        ASSERT_EQ(Global::Cells, Board) << Describe(Board);
        ASSERT_EQ(Board(X, Y), Global::CodeEmpty) << Describe(Board);

        int BestRank = 0;
        bool CanWin = false;
        for (std::int32_t Col = 0; Col < 3; ++Col)
            for (std::int32_t Row = 0; Row < 3; ++Row)
                if (Board(Col, Row) == Global::CodeEmpty) {
                    BestRank = std::max(BestRank, Rank(Board, Col, Row));
                    CanWin = CanWin || Completes(Board, Col, Row, Global::CodeRed);
                }
        ASSERT_EQ(Rank(Board, X, Y), BestRank) << Describe(Board);
        Wins += BestRank == 3 ? 1 : 0;
        Blocks += BestRank == 2 ? 1 : 0;
        MissedWins += CanWin && !Completes(Board, X, Y, Global::CodeRed) ? 1 : 0;
    }
    EXPECT_GT(Wins, 0u);
    EXPECT_GT(Blocks, 0u);
    // Counted apart from this code by playing out every game; all 84 have red to move.
    EXPECT_EQ(MissedWins, 84u);
    Global::Cells.Fill(Global::CodeEmpty);
}

}  // namespace
