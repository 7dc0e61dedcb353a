#include "state/Global.h"
#include "support/IndexChecks.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

using Global::CellMatrix;
using Global::CellPos;

namespace {

CellMatrix Board(const std::vector<CellPos>& Pieces, std::uint8_t Code) {
    CellMatrix Result;
    for (const CellPos& Piece : Pieces) Result(Piece.Col, Piece.Row) = Code;
    return Result;
}

std::vector<CellPos> WinLineCells() { return {Global::WinLine(0), Global::WinLine(1), Global::WinLine(2)}; }

class GlobalTest : public ::testing::Test {
protected:
    void SetUp() override { Global::Cells.Fill(Global::CodeEmpty); }
    void TearDown() override { Global::Cells.Fill(Global::CodeEmpty); }
};

TEST_F(GlobalTest, EmptyBoardHasNoWinnerAndIsNotFull) {
    EXPECT_FALSE(Global::CheckWin(Global::Cells, Global::CodeBlue));
    EXPECT_FALSE(Global::CheckWin(Global::Cells, Global::CodeRed));
    EXPECT_FALSE(Global::BoardFull());
}

// Each line alone is found and recorded cell by cell: columns top to bottom, rows left to right, the anti-diagonal
// from the top-right corner.
TEST_F(GlobalTest, EachLineIsRecordedInScanOrder) {
    const std::vector<std::vector<CellPos>> Lines = {
        {{0, 0}, {0, 1}, {0, 2}}, {{1, 0}, {1, 1}, {1, 2}}, {{2, 0}, {2, 1}, {2, 2}}, {{0, 0}, {1, 0}, {2, 0}},
        {{0, 1}, {1, 1}, {2, 1}}, {{0, 2}, {1, 2}, {2, 2}}, {{0, 0}, {1, 1}, {2, 2}}, {{2, 0}, {1, 1}, {0, 2}},
    };
    for (const auto& Line : Lines) {
        for (const std::uint8_t Code : {Global::CodeBlue, Global::CodeRed}) {
            const CellMatrix Matrix = Board(Line, Code);
            ASSERT_TRUE(Global::CheckWin(Matrix, Code));
            EXPECT_EQ(WinLineCells(), Line);
            const std::uint8_t Other = Code == Global::CodeBlue ? Global::CodeRed : Global::CodeBlue;
            EXPECT_FALSE(Global::CheckWin(Matrix, Other));
        }
    }
}

TEST_F(GlobalTest, FirstWonLineInScanOrderIsReported) {
    // Column 0 and row 0 at once: the column comes first.
    ASSERT_TRUE(Global::CheckWin(Board({{0, 0}, {0, 1}, {0, 2}, {1, 0}, {2, 0}}, 2), 2));
    EXPECT_EQ(WinLineCells(), (std::vector<CellPos>{{0, 0}, {0, 1}, {0, 2}}));

    // Both diagonals: the main diagonal comes first.
    ASSERT_TRUE(Global::CheckWin(Board({{0, 0}, {1, 1}, {2, 2}, {2, 0}, {0, 2}}, 1), 1));
    EXPECT_EQ(WinLineCells(), (std::vector<CellPos>{{0, 0}, {1, 1}, {2, 2}}));

    // Row 2 and the anti-diagonal: rows come before diagonals.
    ASSERT_TRUE(Global::CheckWin(Board({{0, 2}, {1, 2}, {2, 2}, {1, 1}, {2, 0}}, 1), 1));
    EXPECT_EQ(WinLineCells(), (std::vector<CellPos>{{0, 2}, {1, 2}, {2, 2}}));
}

TEST_F(GlobalTest, MixedOrIncompleteLinesDoNotWin) {
    CellMatrix Matrix = Board({{0, 0}, {0, 1}}, 1);
    Matrix(0, 2) = 2;
    EXPECT_FALSE(Global::CheckWin(Matrix, 1));
    EXPECT_FALSE(Global::CheckWin(Matrix, 2));
    EXPECT_FALSE(Global::CheckWin(Board({{1, 1}}, 1), 1));
}

TEST_F(GlobalTest, CheckWinReadsOnlyItsMatrixAndChangesNothing) {
    Global::Cells = Board({{1, 0}, {1, 1}, {1, 2}}, 2);
    const CellMatrix CellsBefore = Global::Cells;
    const CellMatrix Other = Board({{0, 1}, {1, 1}, {2, 1}}, 1);
    const CellMatrix OtherBefore = Other;

    ASSERT_TRUE(Global::CheckWin(Other, 1));
    EXPECT_EQ(WinLineCells(), (std::vector<CellPos>{{0, 1}, {1, 1}, {2, 1}}));
    EXPECT_FALSE(Global::CheckWin(Other, 2));
    EXPECT_EQ(Other, OtherBefore);
    EXPECT_EQ(Global::Cells, CellsBefore);
}

// The one empty cell is tried in every place, so a scan that skips any cell or stops early shows up.
TEST_F(GlobalTest, BoardIsFullOnlyWhenNoCellIsEmpty) {
    for (std::int32_t Col = 0; Col < 3; ++Col)
        for (std::int32_t Row = 0; Row < 3; ++Row) {
            Global::Cells.Fill(Global::CodeBlue);
            Global::Cells(1, 1) = Global::CodeRed;
            Global::Cells(Col, Row) = Global::CodeEmpty;
            const CellMatrix Before = Global::Cells;
            EXPECT_FALSE(Global::BoardFull()) << "empty cell " << Col << "," << Row;
            EXPECT_EQ(Global::Cells, Before);
            Global::Cells(Col, Row) = Global::CodeRed;
            EXPECT_TRUE(Global::BoardFull()) << "filled cell " << Col << "," << Row;
        }
}

TEST(GlobalDeathTest, IndexesOutsideTheBoardAreRejected) {
    CellMatrix Matrix;
    const CellMatrix& ConstMatrix = Matrix;
    EXPECT_INDEX_REJECTED(Matrix(3, 0) = 1);
    EXPECT_INDEX_REJECTED(Matrix(0, 3) = 1);
    EXPECT_INDEX_REJECTED(Matrix(-1, 0) = 1);
    EXPECT_INDEX_REJECTED(Matrix(0, -1) = 1);
    EXPECT_INDEX_REJECTED((void)ConstMatrix(1, 9));
    EXPECT_INDEX_REJECTED(Global::WinLine(3).Col = 0);
    EXPECT_INDEX_REJECTED(Global::WinLine(-1).Row = 0);
    EXPECT_EQ(Matrix, CellMatrix{});
}

TEST(GlobalArithmeticTest, SixteenBitOverflowIsAnError) {
    EXPECT_EQ(Global::CheckedAdd(32766, 1), 32767);
    EXPECT_EQ(Global::CheckedAdd(-32767, -1), -32768);
    EXPECT_THROW(Global::CheckedAdd(32767, 1), std::overflow_error);
    EXPECT_THROW(Global::CheckedAdd(-32768, -1), std::overflow_error);

    EXPECT_EQ(Global::CheckedMul(-128, 256), -32768);
    EXPECT_EQ(Global::CheckedMul(31, 100), 3100);
    EXPECT_THROW(Global::CheckedMul(128, 256), std::overflow_error);
    EXPECT_THROW(Global::CheckedMul(-32768, -1), std::overflow_error);

    EXPECT_EQ(Global::CheckedInt16(-32768), -32768);
    EXPECT_THROW(Global::CheckedInt16(65536), std::overflow_error);
    EXPECT_THROW(Global::CheckedInt16(-32769), std::overflow_error);
}

}  // namespace
