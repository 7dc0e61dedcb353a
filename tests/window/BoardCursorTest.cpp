#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "board/Grid.h"
#include "board/SurfaceBinding.h"
#include "opponent/PlayerAI.h"
#include "state/Global.h"
#include "support/CellCentre.h"
#include "support/GameState.h"
#include "window/CellDescription.h"
#include "window/Game.h"

using toolkit::Key;

namespace {

struct FreshState {
    FreshState() { testsupport::ResetGameState(); }
    ~FreshState() { testsupport::ResetGameState(); }
};

// The game window without a front end, its buffers as start-up leaves them but with the pieces drawn as shapes.
class BoardWindow : FreshState {
public:
    BoardWindow() {
        for (std::int16_t index = 1; index <= 3; ++index) {
            Window.Buff.Load(index);
            Window.Buff(index).AutoRedraw(false);
        }
        Window.Buff(0).Width(130);
        Window.Buff(0).Height(130);
        Window.Buff(0).BackColor(gdi::RGB(0, 255, 0));
        Global::RefreshGridSurfaces();
        Global::GameAI().PlayerNumber(Global::CodeRed);
    }

    // What a new game does before the first press, with two people playing.
    void NewGame() {
        Window.Board.Cls();
        Global::GameGrid().Draw();
        Global::Cells.Fill(Global::CodeEmpty);
        Global::PlayerTurn = false;
        Global::GameOver = false;
    }

    // A press at the centre of cell (col, row), straight to the board object.
    void Press(int col, int row) {
        Global::GameGrid().BoardMouseDown(testsupport::CellCentre(385, col), testsupport::CellCentre(385, row));
    }

    std::vector<std::uint32_t> Snapshot() const {
        const gdi::SurfaceBits bits = gdi::GetSurfaceBits(Window.Board.hDC());
        return {bits.pixels, bits.pixels + static_cast<std::ptrdiff_t>(bits.width) * bits.height};
    }

    Game Window;
};

class BoardCursorTest : public ::testing::Test {
protected:
    BoardCursorTest() {
        cursor.CursorChanged = [this] { moves.emplace_back(cursor.CursorRow(), cursor.CursorColumn()); };
        cursor.CellChanged = [this](int Row, int Column) { changedCells.emplace_back(Row, Column); };
    }

    void Keys(const std::vector<Key>& keys) {
        for (const Key key : keys) cursor.KeyDown(key);
    }

    BoardWindow board;
    BoardCursor& cursor = board.Window.Cursor;
    std::vector<std::pair<int, int>> moves;
    std::vector<std::pair<int, int>> changedCells;
};

TEST_F(BoardCursorTest, ArrowsMoveOneCellStopAtTheEdgeAndShowTheCursorUntilAMousePress) {
    EXPECT_EQ(board.Window.Board.Table, &cursor);
    EXPECT_FALSE(cursor.FocusFrame());
    Keys({Key::Up, Key::Left});
    EXPECT_TRUE(cursor.CursorVisible());
    EXPECT_EQ(moves, (std::vector<std::pair<int, int>>{{0, 0}})) << "shown once, not moved";

    moves.clear();
    Keys({Key::Right, Key::Right, Key::Right, Key::Down, Key::Down, Key::Down, Key::Left});
    EXPECT_EQ(moves, (std::vector<std::pair<int, int>>{{0, 1}, {0, 2}, {1, 2}, {2, 2}, {2, 1}}));
    EXPECT_EQ(cursor.FocusFrame(), (toolkit::CellBox{128, 257, 128, 128}));

    moves.clear();
    board.Window.Board.MouseDown(1, 0, 10, 10);
    EXPECT_FALSE(cursor.FocusFrame());
    EXPECT_EQ(moves, (std::vector<std::pair<int, int>>{{2, 1}})) << "hidden where it was";
    board.Window.Board.MouseDown(1, 0, 10, 10);
    EXPECT_EQ(moves.size(), 1u);
}

// The same moves by the mouse and by the keyboard, each in a window of its own, leave the same board, pixel for pixel,
// the same text and the same state.
TEST(BoardCursorPlayTest, SpaceAndReturnPlayTheCursorCellAsAPressAtItsCentre) {
    const auto play = [](const std::function<void(Game&)>& moves) {
        BoardWindow board;
        board.NewGame();
        moves(board.Window);
        return std::make_tuple(Global::Cells, Global::GameOver, board.Window.Text.Caption(), board.Snapshot());
    };
    const auto byMouse = play([](Game& window) {
        for (const auto& [x, y] :
             std::vector<std::pair<float, float>>{{64, 64}, {192, 64}, {192, 192}, {320, 64}, {320, 320}, {64, 320}})
            window.Board.MouseDown(1, 0, x, y);
    });
    const auto byKeys = play([](Game& window) {
        for (const Key key : {Key::Space, Key::Right, Key::Return, Key::Down, Key::Space, Key::Up, Key::Right,
                              Key::Return, Key::Down, Key::Down, Key::Space, Key::Left, Key::Left, Key::Space})
            window.Cursor.KeyDown(key);
        EXPECT_EQ(window.Cursor.CellRect(0, 0), (toolkit::CellBox{0, 0, 128, 128}));
        EXPECT_THROW(window.Cursor.PressCell(3, 0), std::out_of_range);
    });
    EXPECT_EQ(byKeys, byMouse);
    EXPECT_TRUE(std::get<1>(byKeys)) << "blue won on the diagonal; the last press changed nothing";
    EXPECT_EQ(std::get<0>(byKeys)(0, 2), Global::CodeEmpty);
}

TEST_F(BoardCursorTest, CellNamesTellOwnerAndWinningLineAndOnlyChangedCellsAreAnnounced) {
    EXPECT_EQ(CellDescription(0, 0, Global::CodeEmpty, false), "row 1, column 1: empty");
    EXPECT_EQ(CellDescription(2, 1, Global::CodeBlue, false), "row 2, column 3: blue");
    EXPECT_EQ(CellDescription(1, 2, Global::CodeRed, true), "row 3, column 2: red, winning line");
    EXPECT_THROW(CellDescription(0, 0, 3, false), std::invalid_argument);

    board.NewGame();
    board.Press(1, 0);
    cursor.AnnounceCells();
    EXPECT_EQ(changedCells, (std::vector<std::pair<int, int>>{{0, 1}}));
    EXPECT_EQ(cursor.CellName(0, 1), "row 1, column 2: blue");

    changedCells.clear();
    for (const auto& [col, row] : std::vector<std::pair<int, int>>{{0, 0}, {1, 1}, {0, 1}, {1, 2}})
        board.Press(col, row);
    const Global::CellLine kept = Global::WinLine;
    cursor.AnnounceCells();
    EXPECT_EQ(changedCells, (std::vector<std::pair<int, int>>{{0, 0}, {0, 1}, {1, 0}, {1, 1}, {2, 1}}))
        << "the four new pieces, and blue's first one, now on the winning line";
    EXPECT_EQ(cursor.CellName(2, 1), "row 3, column 2: blue, winning line");
    EXPECT_EQ(cursor.CellName(1, 0), "row 2, column 1: red");
    for (int k = 0; k < 3; ++k) EXPECT_EQ(Global::WinLine(k), kept(k)) << "naming leaves the game's state alone";

    changedCells.clear();
    cursor.AnnounceCells();
    EXPECT_TRUE(changedCells.empty());
}

}  // namespace
