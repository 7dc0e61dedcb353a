// The shared game state as a new process has it.
#pragma once

namespace testsupport {

// Empty cells, no won line, blue to move, no game over, no computer player, and neither the board object nor the
// opponent created yet.
void ResetGameState();

}  // namespace testsupport
