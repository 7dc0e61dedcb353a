#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "state/Global.h"
#include "support/GameState.h"
#include "support/RecordingView.h"
#include "window/BoardCursor.h"
#include "window/CellDescription.h"

using toolkit::Key;
using Lines = std::vector<std::string>;

namespace {

toolkit::PictureBox::Design BoardDesign() {
    toolkit::PictureBox::Design design;
    design.Width = 385;
    design.Height = 385;
    return design;
}

class BoardCursorTest : public ::testing::Test {
protected:
    BoardCursorTest() {
        testsupport::ResetGameState();
        form.Place(board);
        board.Table(&cursor);
    }
    ~BoardCursorTest() override { testsupport::ResetGameState(); }

    void Keys(const std::vector<Key>& keys) {
        for (const Key key : keys) cursor.KeyDown(key);
    }

    testsupport::PlainForm form{{"Board", 385, 385}};
    toolkit::PictureBox board{BoardDesign()};
    std::vector<std::pair<float, float>> presses;
    BoardCursor cursor{board, [this](float x, float y) { presses.emplace_back(x, y); }};
    testsupport::RecordingView view{form};
};

TEST_F(BoardCursorTest, ArrowsMoveOneCellStopAtTheEdgeAndShowTheFrameUntilHidden) {
    EXPECT_FALSE(cursor.FocusFrame());
    Keys({Key::Up, Key::Left});
    EXPECT_TRUE(cursor.CursorVisible());
    EXPECT_EQ(view.Take("cursor"), Lines{"cursor 0,0"}) << "shown once, not moved";

    Keys({Key::Right, Key::Right, Key::Right, Key::Down, Key::Down, Key::Down, Key::Left});
    EXPECT_EQ(view.Take("cursor"), (Lines{"cursor 0,1", "cursor 0,2", "cursor 1,2", "cursor 2,2", "cursor 2,1"}));
    EXPECT_EQ(cursor.FocusFrame(), (toolkit::CellBox{128, 257, 128, 128})) << "where the green highlight goes";

    cursor.Hide();
    cursor.Hide();
    EXPECT_FALSE(cursor.FocusFrame());
    EXPECT_EQ(view.Take("cursor"), Lines{"cursor 2,1 hidden"}) << "hidden where it was, once";
    EXPECT_TRUE(presses.empty());
}

// The same centres the computer's moves are pressed at.
TEST_F(BoardCursorTest, SpaceAndReturnPressTheCursorCellAtItsCentre) {
    Keys({Key::Space, Key::Right, Key::Return, Key::Down, Key::Down, Key::Right, Key::Space});
    EXPECT_EQ(presses, (std::vector<std::pair<float, float>>{{64, 64}, {192, 64}, {321, 321}}));
    EXPECT_TRUE(cursor.CursorVisible());
    EXPECT_THROW(cursor.PressCell(3, 0), std::out_of_range);
    EXPECT_THROW(cursor.CellName(0, -1), std::out_of_range);
}

TEST_F(BoardCursorTest, CellNamesTellOwnerAndWinningLineAndOnlyChangedCellsAreAnnounced) {
    EXPECT_EQ(CellDescription(0, 0, Global::CodeEmpty, false), "row 1, column 1: empty");
    EXPECT_EQ(CellDescription(1, 2, Global::CodeRed, true), "row 3, column 2: red, winning line");
    EXPECT_THROW(CellDescription(0, 0, 3, false), std::invalid_argument);

    Global::Cells(1, 0) = Global::CodeBlue;
    cursor.AnnounceCells();
    EXPECT_EQ(view.Take("cell"), Lines{"cell 0,1"});
    EXPECT_EQ(cursor.CellName(0, 1), "row 1, column 2: blue");

    // Blue completes column 2: the first piece is renamed too, now on the winning line.
    Global::Cells(0, 0) = Global::CodeRed;
    Global::Cells(1, 1) = Global::CodeBlue;
    Global::Cells(1, 2) = Global::CodeBlue;
    const Global::CellLine kept = Global::WinLine;
    cursor.AnnounceCells();
    EXPECT_EQ(view.Take("cell"), (Lines{"cell 0,0", "cell 0,1", "cell 1,1", "cell 2,1"}));
    EXPECT_EQ(cursor.CellName(2, 1), "row 3, column 2: blue, winning line");
    EXPECT_EQ(cursor.CellName(0, 0), "row 1, column 1: red");
    for (int k = 0; k < 3; ++k) EXPECT_EQ(Global::WinLine(k), kept(k)) << "naming leaves the game's state alone";

    cursor.AnnounceCells();
    EXPECT_TRUE(view.Take("cell").empty());
}

}  // namespace
