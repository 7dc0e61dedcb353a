// The sentences a player hears, unasked, as the game changes: what changed first, in the words the cells are named
// with, then the status line's own text. A screen reader speaks them; nothing shows them.
#pragma once

#include <cstdint>
#include <string>

#include "state/Global.h"

namespace Announcements {

// "Blue: row 2, column 2." for each piece on the board now that Before lacks, FirstCode's first.
std::string PlacedPieces(const Global::CellMatrix& Before, std::uint8_t FirstCode);

// How the game ended, as the board stands now: "Blue wins: row 1, column 1; row 2, column 2; row 3, column 3." for a
// won line, "Draw, the board is full." for a full board; nothing while the game goes on.
std::string Outcome();

// "New game, blue begins." or "New game, red begins."
std::string NewGame(bool RedBegins);

// A menu option chosen under its menu: "Player 2: Computer."
std::string Option(const std::string& Menu, const std::string& Choice);

// The parts that are not empty, then the status text as a sentence of its own.
std::string Sentence(std::initializer_list<std::string> Parts, const std::string& Status);

}  // namespace Announcements
