#include <QtTest/QTest>

#include "WindowTestSupport.h"
#include "board/Grid.h"
#include "opponent/PlayerAI.h"
#include "platform/toolkit/qt/FormWindow.h"
#include "state/Global.h"

namespace windowtest {
namespace {

constexpr const char* ExitQuestion = "Do you really want to exit?";

struct Outcome {
    std::vector<std::uint8_t> Cells;
    bool PlayerTurn, GameOver, ComputerPlays;
    std::string Text;
    std::vector<std::uint32_t> Board;
};

class ShutdownTest : public WindowTest {
protected:
    Outcome Current() const {
        return {CellCodes(), Global::PlayerTurn, Global::GameOver, Global::ComputerPlays, game->Text.Caption(),
                Capture(game->Board.hDC()).Pixels};
    }

    // Computer as red; blue plays three cells; `between` runs after the first press.
    Outcome PlayAgainstTheComputer(const std::function<void()>& between) {
        Choose(game->mnuNew());
        Press(0, 0);
        between();
        Press(2, 2);
        Press(0, 2);
        Press(2, 0);
        return Current();
    }

    void ExpectExitQuestion(std::size_t index) {
        ASSERT_GT(msgBox.Asked().size(), index);
        EXPECT_EQ(msgBox.Asked()[index].Prompt, ExitQuestion);
        EXPECT_EQ(msgBox.Asked()[index].Buttons, 36);
        EXPECT_EQ(msgBox.Asked()[index].Title, "Tessarin");
    }
};

TEST_F(ShutdownTest, ExitAnsweredNoLeavesTheGameToGoOnExactlyAsBefore) {
    Start();
    msgBox.Answer(toolkit::vbYes);
    Choose(game->mnuCheck(0));
    const Outcome undisturbed = PlayAgainstTheComputer([] {});

    PlayerAI* ai = nullptr;
    Grid* grid = nullptr;
    Outcome beforeExit;
    const Outcome declined = PlayAgainstTheComputer([&] {
        ai = &Global::GameAI();
        grid = &Global::GameGrid();
        beforeExit = Current();
        msgBox.Answer(toolkit::vbNo);
        Choose(game->mnuEnd());
        ExpectExitQuestion(1);
        EXPECT_FALSE(game->Closed());
        EXPECT_TRUE(game->Visible());
        EXPECT_EQ(&Global::GameAI(), ai);
        EXPECT_EQ(&Global::GameGrid(), grid);
        EXPECT_EQ(Global::GameAI().PlayerNumber(), 2);
        const Outcome after = Current();
        EXPECT_EQ(after.Cells, beforeExit.Cells);
        EXPECT_EQ(after.PlayerTurn, beforeExit.PlayerTurn);
        EXPECT_EQ(after.Text, beforeExit.Text);
        EXPECT_EQ(after.Board, beforeExit.Board);
    });
    EXPECT_EQ(declined.Cells, undisturbed.Cells);
    EXPECT_EQ(declined.PlayerTurn, undisturbed.PlayerTurn);
    EXPECT_EQ(declined.GameOver, undisturbed.GameOver);
    EXPECT_EQ(declined.ComputerPlays, undisturbed.ComputerPlays);
    EXPECT_EQ(declined.Text, undisturbed.Text);
    EXPECT_EQ(declined.Board, undisturbed.Board);
}

TEST_F(ShutdownTest, ExitAnsweredNoBeforeAnyGameStillIgnoresPresses) {
    Start();
    msgBox.Answer(toolkit::vbNo);
    Choose(game->mnuEnd());
    Press(1, 1);
    EXPECT_EQ(CellCodes(), std::vector<std::uint8_t>(9, 0));
    EXPECT_TRUE(Global::GameOver);
    Choose(game->mnuNew());
    Press(1, 1);
    EXPECT_EQ(Global::Cells(1, 1), Global::CodeBlue);
}

TEST_F(ShutdownTest, ExitAnsweredYesClosesAndReleasesTheBoardAndTheOpponent) {
    Start();
    Choose(game->mnuNew());
    Press(1, 1);
    ASSERT_NE(Global::GameGrid().BoardDC(), 0);
    msgBox.Answer(toolkit::vbYes);
    Choose(game->mnuEnd());
    ExpectExitQuestion(0);
    EXPECT_TRUE(game->Closed());
    EXPECT_FALSE(game->Visible());
    // Both objects were let go: the next use makes fresh ones.
    EXPECT_EQ(Global::GameAI().PlayerNumber(), 0);
    EXPECT_EQ(Global::GameGrid().BoardDC(), 0);
}

TEST_F(ShutdownTest, TheCloseBoxAsksTheSameQuestionAsExit) {
    game = std::make_unique<Game>();
    toolkit::qt::FormWindow window(*game);
    game->Show();
    ASSERT_TRUE(window.isVisible());
    Choose(game->mnuNew());
    Press(0, 0);
    const auto codes = CellCodes();

    msgBox.Answer(toolkit::vbNo);
    EXPECT_FALSE(window.close());
    ExpectExitQuestion(0);
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(game->Closed());
    EXPECT_EQ(CellCodes(), codes);
    Press(1, 1);
    EXPECT_EQ(Global::Cells(1, 1), Global::CodeRed);

    msgBox.Answer(toolkit::vbYes);
    EXPECT_TRUE(window.close());
    ExpectExitQuestion(1);
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(game->Closed());
}

TEST_F(ShutdownTest, ExitFromTheMenuClosesTheShownWindow) {
    game = std::make_unique<Game>();
    toolkit::qt::FormWindow window(*game);
    game->Show();
    msgBox.Answer(toolkit::vbYes);
    Choose(game->mnuEnd());
    ASSERT_EQ(msgBox.Asked().size(), 1u) << "closing the window must not ask a second time";
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(game->Closed());
}

}  // namespace
}  // namespace windowtest
