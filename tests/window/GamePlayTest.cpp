#include <QtTest/QTest>
#include <cmath>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "WindowTestSupport.h"
#include "platform/toolkit/qt/FormWindow.h"
#include "support/GameState.h"
#include "support/RecordingView.h"
#include "state/Global.h"

namespace windowtest {
namespace {

constexpr const char* EndText = "Press new game in the file menu to begin";
constexpr const char* BlueTurn = "It's player blues turn";
constexpr const char* RedTurn = "It's player reds turn";
constexpr const char* NewGameQuestion = "Do you want to start a new game?";

int CellEdge(int index) { return static_cast<int>(std::nearbyint(BoardSide / 3.0 * index)); }

// Every pixel of the cell's inside keeps only its green component.
bool Highlighted(const Snapshot& board, int col, int row) {
    for (int y = CellEdge(row) + 1; y < CellEdge(row) + 127; ++y)
        for (int x = CellEdge(col) + 1; x < CellEdge(col) + 127; ++x)
            if ((board.At(x, y) & 0xFF00FFu) != 0) return false;
    return true;
}

int HighlightedCells(const Snapshot& board) {
    int count = 0;
    for (int col = 0; col < 3; ++col)
        for (int row = 0; row < 3; ++row) count += Highlighted(board, col, row) ? 1 : 0;
    return count;
}

// The pixels that changed lie inside one cell's 128-pixel square, and some did.
void ExpectDrawnOnlyIn(const Snapshot& before, const Snapshot& after, int col, int row) {
    int changed = 0;
    for (int y = 0; y < after.Height; ++y)
        for (int x = 0; x < after.Width; ++x) {
            if (before.At(x, y) == after.At(x, y)) continue;
            ++changed;
            const bool inside = x >= CellEdge(col) && x < CellEdge(col) + 128 && y >= CellEdge(row) &&
                                y < CellEdge(row) + 128;
            if (!inside) {
                ADD_FAILURE() << "pixel (" << x << ", " << y << ") changed outside cell (" << col << ", " << row << ")";
                return;
            }
        }
    EXPECT_GT(changed, 500) << "no piece drawn in cell (" << col << ", " << row << ")";
}

class GamePlayTest : public WindowTest {
protected:
    // Presses a cell and checks that exactly the expected piece appeared there.
    void PlayAndExpect(int col, int row, std::uint8_t code, std::int16_t button = 1) {
        const Snapshot before = Capture(game->Board.hDC());
        Press(col, row, button);
        EXPECT_EQ(Global::Cells(col, row), code) << "cell (" << col << ", " << row << ")";
        ExpectDrawnOnlyIn(before, Capture(game->Board.hDC()), col, row);
    }

    int Pieces(std::uint8_t code) const {
        int count = 0;
        for (std::uint8_t cell : CellCodes()) count += cell == code ? 1 : 0;
        return count;
    }

    void ExpectQuestion(std::size_t index, const char* prompt) {
        ASSERT_GT(msgBox.Asked().size(), index);
        EXPECT_EQ(msgBox.Asked()[index].Prompt, prompt);
        EXPECT_EQ(msgBox.Asked()[index].Buttons, 36);
        EXPECT_EQ(msgBox.Asked()[index].Title, "Tessarin");
    }
};

TEST_F(GamePlayTest, TwoPeopleBlueBeginsPressesAlternateAndARowWins) {
    Start();
    Choose(game->mnuNew());
    EXPECT_TRUE(msgBox.Asked().empty());
    EXPECT_FALSE(Global::GameOver);
    EXPECT_EQ(game->Text.Caption(), BlueTurn);
    const Snapshot fresh = Capture(game->Board.hDC());
    EXPECT_EQ(fresh.At(CellEdge(1), 50), 0xAAAAAAu) << "grid line";
    EXPECT_EQ(fresh.At(50, CellEdge(2)), 0xAAAAAAu) << "grid line";

    PlayAndExpect(0, 0, Global::CodeBlue);
    EXPECT_EQ(game->Text.Caption(), RedTurn);
    PlayAndExpect(0, 1, Global::CodeRed, 2);  // right button
    EXPECT_EQ(game->Text.Caption(), BlueTurn);
    PlayAndExpect(1, 0, Global::CodeBlue, 4);  // middle button
    PlayAndExpect(1, 1, Global::CodeRed);
    EXPECT_EQ(HighlightedCells(Capture(game->Board.hDC())), 0);
    Press(2, 0);

    const Snapshot won = Capture(game->Board.hDC());
    for (int col = 0; col < 3; ++col) EXPECT_TRUE(Highlighted(won, col, 0)) << "winning cell " << col;
    EXPECT_EQ(HighlightedCells(won), 3);
    EXPECT_EQ(game->Text.Caption(), EndText);
    EXPECT_TRUE(Global::GameOver);
    EXPECT_FALSE(Global::PlayerTurn);

    const auto codes = CellCodes();
    Press(2, 2);
    EXPECT_EQ(CellCodes(), codes);
    EXPECT_EQ(Capture(game->Board.hDC()).Pixels, won.Pixels);
}

TEST_F(GamePlayTest, AFullBoardWithoutALineEndsUndecided) {
    Start();
    Choose(game->mnuNew());
    const int moves[9][2] = {{0, 0}, {1, 0}, {2, 0}, {1, 1}, {1, 2}, {2, 1}, {0, 1}, {0, 2}, {2, 2}};
    for (int i = 0; i < 9; ++i) {
        EXPECT_FALSE(Global::GameOver) << "move " << i;
        PlayAndExpect(moves[i][0], moves[i][1], i % 2 == 0 ? Global::CodeBlue : Global::CodeRed);
    }
    EXPECT_TRUE(Global::GameOver);
    EXPECT_EQ(game->Text.Caption(), EndText);
    EXPECT_EQ(HighlightedCells(Capture(game->Board.hDC())), 0);
}

TEST_F(GamePlayTest, ChoosingPlayer2ToBeginAsksAndRedOpens) {
    Start();
    msgBox.Answer(toolkit::vbYes);
    Choose(game->mnuPlayer(2));
    ExpectQuestion(0, NewGameQuestion);
    EXPECT_FALSE(game->mnuPlayer(1).Checked());
    EXPECT_TRUE(game->mnuPlayer(2).Checked());
    EXPECT_FALSE(Global::GameOver);
    EXPECT_EQ(game->Text.Caption(), RedTurn);
    PlayAndExpect(2, 2, Global::CodeRed);
    EXPECT_EQ(game->Text.Caption(), BlueTurn);
    PlayAndExpect(0, 2, Global::CodeBlue);
}

TEST_F(GamePlayTest, TheComputerAnswersEveryBlueMoveUntilTheGameEnds) {
    Start();
    msgBox.Answer(toolkit::vbYes);
    Choose(game->mnuCheck(0));
    ExpectQuestion(0, NewGameQuestion);
    EXPECT_TRUE(game->mnuCheck(0).Checked());
    EXPECT_FALSE(game->mnuCheck(1).Checked());
    EXPECT_EQ(Pieces(Global::CodeRed), 0) << "blue begins: the computer does not open";
    EXPECT_EQ(game->Text.Caption(), BlueTurn);

    // Blue plays the first free cell, column by column: a line the computer must block.
    while (!Global::GameOver) {
        int col = 0, row = 0;
        while (Global::Cells(col, row) != Global::CodeEmpty) {
            if (++row == 3) row = 0, ++col;
        }
        Press(col, row);
        EXPECT_EQ(Global::Cells(col, row), Global::CodeBlue);
        if (!Global::GameOver) {
            EXPECT_EQ(Pieces(Global::CodeRed), Pieces(Global::CodeBlue)) << "the computer answered in the same press";
            EXPECT_EQ(game->Text.Caption(), BlueTurn);
            EXPECT_FALSE(Global::PlayerTurn);
        }
    }
    EXPECT_EQ(game->Text.Caption(), EndText);
    EXPECT_TRUE(Global::CheckWin(Global::Cells, Global::CodeRed)) << "the computer beats a player filling columns";
    EXPECT_FALSE(Global::CheckWin(Global::Cells, Global::CodeBlue));
    const Snapshot board = Capture(game->Board.hDC());
    EXPECT_EQ(HighlightedCells(board), 3);
    for (int k = 0; k < 3; ++k)
        EXPECT_TRUE(Highlighted(board, Global::WinLine(k).Col, Global::WinLine(k).Row)) << "winning cell " << k;
}

TEST_F(GamePlayTest, TheComputerOpensInTheCentreWhenPlayer2Begins) {
    Start();
    msgBox.Answer(toolkit::vbYes);
    Choose(game->mnuCheck(0));
    const Snapshot before = Capture(game->Board.hDC());
    msgBox.Answer(toolkit::vbYes);
    Choose(game->mnuPlayer(2));
    EXPECT_EQ(Global::Cells(1, 1), Global::CodeRed);
    EXPECT_EQ(Pieces(Global::CodeRed), 1);
    EXPECT_EQ(Pieces(Global::CodeBlue), 0);
    EXPECT_FALSE(Global::PlayerTurn);
    EXPECT_EQ(game->Text.Caption(), BlueTurn);
    ExpectDrawnOnlyIn(before, Capture(game->Board.hDC()), 1, 1);

    // Each further new game opens the same way.
    Press(0, 0);
    Choose(game->mnuNew());
    EXPECT_EQ(Pieces(Global::CodeRed), 1);
    EXPECT_EQ(Global::Cells(1, 1), Global::CodeRed);
    EXPECT_EQ(Pieces(Global::CodeBlue), 0);
}

TEST_F(GamePlayTest, AnOptionAnsweredNoKeepsTheRunningGameItsTurnAndItsOpponent) {
    Start();
    Choose(game->mnuNew());
    Press(0, 0);
    const auto codes = CellCodes();
    const Snapshot board = Capture(game->Board.hDC());

    msgBox.Answer(toolkit::vbNo);
    Choose(game->mnuCheck(0));
    msgBox.Answer(toolkit::vbNo);
    Choose(game->mnuPlayer(2));
    ExpectQuestion(0, NewGameQuestion);
    ExpectQuestion(1, NewGameQuestion);
    EXPECT_TRUE(game->mnuCheck(0).Checked());
    EXPECT_FALSE(game->mnuCheck(1).Checked());
    EXPECT_TRUE(game->mnuPlayer(2).Checked());
    EXPECT_FALSE(game->mnuPlayer(1).Checked());
    EXPECT_EQ(CellCodes(), codes);
    EXPECT_EQ(Capture(game->Board.hDC()).Pixels, board.Pixels);
    EXPECT_TRUE(Global::PlayerTurn);
    EXPECT_FALSE(Global::ComputerPlays);
    EXPECT_FALSE(Global::GameOver);
    EXPECT_EQ(game->Text.Caption(), RedTurn);

    // Red is still a person: the press is red's own, and blue is not answered.
    PlayAndExpect(2, 2, Global::CodeRed);
    PlayAndExpect(1, 0, Global::CodeBlue);
    EXPECT_EQ(Pieces(Global::CodeRed), 1);

    // The next new game picks the new choices up.
    Choose(game->mnuNew());
    EXPECT_TRUE(Global::ComputerPlays);
    EXPECT_EQ(Global::Cells(1, 1), Global::CodeRed);
    EXPECT_EQ(Pieces(Global::CodeRed) + Pieces(Global::CodeBlue), 1);
}

TEST_F(GamePlayTest, TheCheckedOptionStillAsksAndOnlyYesStartsAGame) {
    Start();
    msgBox.Answer(toolkit::vbNo);
    Choose(game->mnuPlayer(1));
    msgBox.Answer(toolkit::vbNo);
    Choose(game->mnuCheck(1));
    ASSERT_EQ(msgBox.Asked().size(), 2u);
    EXPECT_TRUE(game->mnuPlayer(1).Checked());
    EXPECT_FALSE(game->mnuPlayer(2).Checked());
    EXPECT_TRUE(game->mnuCheck(1).Checked());
    EXPECT_FALSE(game->mnuCheck(0).Checked());
    EXPECT_TRUE(Global::GameOver);
    EXPECT_EQ(game->Text.Caption(), EndText);

    // A box closed without either button counts as No.
    msgBox.Answer(2);
    Choose(game->mnuCheck(1));
    EXPECT_TRUE(Global::GameOver);

    msgBox.Answer(toolkit::vbYes);
    Choose(game->mnuCheck(1));
    EXPECT_FALSE(Global::GameOver);
    EXPECT_EQ(game->Text.Caption(), BlueTurn);
}

TEST_F(GamePlayTest, NewGameDuringAGameWipesTheBoardWithoutAsking) {
    Start();
    Choose(game->mnuNew());
    const Snapshot fresh = Capture(game->Board.hDC());
    Press(0, 0);
    Press(1, 1);
    Press(2, 2);
    Choose(game->mnuNew());
    EXPECT_TRUE(msgBox.Asked().empty());
    EXPECT_EQ(CellCodes(), std::vector<std::uint8_t>(9, 0));
    EXPECT_FALSE(Global::PlayerTurn);
    EXPECT_EQ(game->Text.Caption(), BlueTurn);
    EXPECT_EQ(Capture(game->Board.hDC()).Pixels, fresh.Pixels);

    // And after a finished game too.
    Press(0, 0), Press(0, 1), Press(1, 0), Press(1, 1), Press(2, 0);
    ASSERT_TRUE(Global::GameOver);
    Choose(game->mnuNew());
    EXPECT_FALSE(Global::GameOver);
    EXPECT_EQ(Capture(game->Board.hDC()).Pixels, fresh.Pixels);
}

// What the screen last showed of the board must be the board's image after every
// command: a board drawn but never repainted would leave the old game on screen.
TEST_F(GamePlayTest, TheScreenShowsTheBoardAsDrawnAfterEveryCommand) {
    Start();
    std::vector<std::uint32_t> shown;
    testsupport::RecordingView view(*game);
    view.OnRepaint = [&](toolkit::PictureBox& surface) {
        if (&surface == &game->Board) shown = Capture(surface.hDC()).Pixels;
    };
    const auto expectShown = [&](const char* after) {
        EXPECT_EQ(shown, Capture(game->Board.hDC()).Pixels) << "stale board on screen after " << after;
    };
    Choose(game->mnuNew());
    expectShown("the first new game");
    Press(0, 0), Press(1, 1);
    expectShown("two moves");
    Choose(game->mnuNew());
    expectShown("a new game over a running one");
    Press(0, 0), Press(0, 1), Press(1, 0), Press(1, 1), Press(2, 0);
    expectShown("a win");
    Choose(game->mnuNew());
    expectShown("a new game after a win");
    msgBox.Answer(toolkit::vbYes);
    Choose(game->mnuCheck(0));
    msgBox.Answer(toolkit::vbYes);
    Choose(game->mnuPlayer(2));
    expectShown("the computer's opening");
}

TEST_F(GamePlayTest, ControlNStartsANewGameThroughTheWindow) {
    game = std::make_unique<Game>();
    toolkit::qt::FormWindow window(*game);
    game->Show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(&window, Qt::Key_N, Qt::ControlModifier);
    EXPECT_FALSE(Global::GameOver);
    EXPECT_EQ(game->Text.Caption(), BlueTurn);
    EXPECT_TRUE(msgBox.Asked().empty());
}

// What a player hears after each kind of event: what changed first, then the status line's text.
TEST_F(GamePlayTest, EachEventIsAnnouncedInOneSentence) {
    struct Case {
        const char* Event;
        std::function<void()> Act;
        std::string Heard;  // the last announcement; empty for none
    };
    const auto answer = [this](std::int16_t Answer, toolkit::MenuItem& Option) {
        msgBox.Answer(Answer);
        Choose(Option);
    };
    const std::vector<Case> cases{
        {"new game", [&] { Choose(game->mnuNew()); }, "New game, blue begins. It's player blues turn."},
        {"an own move", [&] { Choose(game->mnuNew()), Press(1, 1); }, "Blue: row 2, column 2. It's player reds turn."},
        {"an option answered Yes, red to begin", [&] { answer(toolkit::vbYes, game->mnuPlayer(2)); },
         "Who begin: Player2. New game, red begins. It's player reds turn."},
        {"the computer opening",
         [&] { answer(toolkit::vbYes, game->mnuCheck(0)), answer(toolkit::vbYes, game->mnuPlayer(2)); },
         "Who begin: Player2. New game, red begins. Red: row 2, column 2. It's player blues turn."},
        {"the computer's reply", [&] { answer(toolkit::vbYes, game->mnuCheck(0)), Press(1, 1); },
         "Blue: row 2, column 2. Red: row 1, column 1. It's player blues turn."},
        {"a win with its cells",
         [&] { Choose(game->mnuNew()), Press(0, 0), Press(1, 0), Press(0, 1), Press(1, 1), Press(0, 2); },
         "Blue: row 3, column 1. Blue wins: row 1, column 1; row 2, column 1; row 3, column 1. " +
             std::string(EndText) + "."},
        {"a draw",
         [&] {
             Choose(game->mnuNew());
             for (const auto& [col, row] : std::vector<std::pair<int, int>>{
                      {0, 0}, {1, 1}, {1, 0}, {2, 0}, {0, 2}, {0, 1}, {2, 1}, {1, 2}, {2, 2}})
                 Press(col, row);
         },
         "Blue: row 3, column 3. Draw, the board is full. " + std::string(EndText) + "."},
        {"an option answered No", [&] { answer(toolkit::vbNo, game->mnuCheck(0)); }, ""},
        {"a press on a taken cell", [&] { Choose(game->mnuNew()), Press(1, 1), Press(1, 1); },
         "Blue: row 2, column 2. It's player reds turn."},
    };
    for (const Case& each : cases) {
        SCOPED_TRACE(each.Event);
        game.reset();
        testsupport::ResetGameState();
        Start();
        testsupport::RecordingView view(*game);
        each.Act();
        const std::vector<std::string> heard = view.Take("announce ");
        EXPECT_EQ(heard.empty() ? "" : heard.back().substr(9), each.Heard);
    }
}

}  // namespace
}  // namespace windowtest
