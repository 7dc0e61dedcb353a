#include "window/CellDescription.h"

#include <stdexcept>
#include <string>

#include "state/Global.h"

namespace {

const char* OwnerName(std::uint8_t Code) {
    switch (Code) {
        case Global::CodeEmpty: return "empty";
        case Global::CodeBlue: return "blue";
        case Global::CodeRed: return "red";
        default: throw std::invalid_argument("no player has cell code " + std::to_string(Code));
    }
}

// The board shows in green the line the win test finds first; asking the same test again finds the same line. The
// shared WinLine is left as it was, so that describing a cell never changes the game.
bool OnWinningLine(std::int32_t Col, std::int32_t Row) {
    const Global::CellLine Kept = Global::WinLine;
    bool Found = false;
    for (const std::uint8_t Code : {Global::CodeBlue, Global::CodeRed}) {
        if (!Global::CheckWin(Global::Cells, Code)) continue;
        for (std::int32_t K = 0; K < 3; ++K) Found = Found || Global::WinLine(K) == Global::CellPos{Col, Row};
        break;
    }
    Global::WinLine = Kept;
    return Found;
}

}  // namespace

std::string CellDescription(std::int32_t Col, std::int32_t Row, std::uint8_t Code, bool WinningLine) {
    std::string Text =
        "row " + std::to_string(Row + 1) + ", column " + std::to_string(Col + 1) + ": " + OwnerName(Code);
    if (WinningLine) Text += ", winning line";
    return Text;
}

std::string DescribeCell(std::int32_t Col, std::int32_t Row) {
    return CellDescription(Col, Row, Global::Cells(Col, Row), OnWinningLine(Col, Row));
}
