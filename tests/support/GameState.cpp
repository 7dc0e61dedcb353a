#include "support/GameState.h"

#include "board/Grid.h"
#include "opponent/PlayerAI.h"
#include "state/Global.h"

namespace testsupport {

void ResetGameState() {
    Global::Cells.Fill(Global::CodeEmpty);
    Global::WinLine = Global::CellLine{};
    Global::PlayerTurn = false;
    Global::GameOver = false;
    Global::ComputerPlays = false;
    Global::ReleaseGameGrid();
    Global::ReleaseGameAI();
}

}  // namespace testsupport
