#pragma once

#include <cstdint>

namespace testsupport {

// The pixel at the centre of cell Index along a board side of Size pixels, where a player presses.
std::int16_t CellCentre(int Size, int Index);

}  // namespace testsupport
