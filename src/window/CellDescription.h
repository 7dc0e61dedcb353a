// What assistive tools read for a cell of the board.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "state/Global.h"

// "row R, column C", the words a cell is named and announced by: R and C count from 1, Col and Row from 0.
std::string CellPosition(std::int32_t Col, std::int32_t Row);

// "row R, column C: OWNER" with OWNER one of empty, blue and red; a cell of the line that a won game shows in green
// adds ", winning line".
std::string CellDescription(std::int32_t Col, std::int32_t Row, std::uint8_t Code, bool WinningLine);

// The description of the cell as the game holds it now.
std::string DescribeCell(std::int32_t Col, std::int32_t Row);

// A won line and its owner.
struct WonLine {
    std::uint8_t Code;
    Global::CellLine Line;
};

// The line the board shows in green, as the win test finds it on the board now; nothing while neither side owns a
// line. The shared WinLine is left as it was, so that asking never changes the game.
std::optional<WonLine> FindWonLine();

// "blue" or "red"; "empty" for no owner.
const char* OwnerName(std::uint8_t Code);
