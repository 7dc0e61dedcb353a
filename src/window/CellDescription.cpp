#include "window/CellDescription.h"

#include <stdexcept>
#include <string>

#include "state/Global.h"

namespace {

bool OnWinningLine(std::int32_t Col, std::int32_t Row) {
    const std::optional<WonLine> Won = FindWonLine();
    if (!Won) return false;
    for (std::int32_t K = 0; K < 3; ++K)
        if (Won->Line(K) == Global::CellPos{Col, Row}) return true;
    return false;
}

}  // namespace

const char* OwnerName(std::uint8_t Code) {
    switch (Code) {
        case Global::CodeEmpty: return "empty";
        case Global::CodeBlue: return "blue";
        case Global::CodeRed: return "red";
        default: throw std::invalid_argument("no player has cell code " + std::to_string(Code));
    }
}

// The board shows in green the line the win test finds first; asking the same test again finds the same line.
std::optional<WonLine> FindWonLine() {
    const Global::CellLine Kept = Global::WinLine;
    std::optional<WonLine> Found;
    for (const std::uint8_t Code : {Global::CodeBlue, Global::CodeRed}) {
        if (!Global::CheckWin(Global::Cells, Code)) continue;
        Found = WonLine{Code, Global::WinLine};
        break;
    }
    Global::WinLine = Kept;
    return Found;
}

std::string CellPosition(std::int32_t Col, std::int32_t Row) {
    return "row " + std::to_string(Row + 1) + ", column " + std::to_string(Col + 1);
}

std::string CellDescription(std::int32_t Col, std::int32_t Row, std::uint8_t Code, bool WinningLine) {
    std::string Text = CellPosition(Col, Row) + ": " + OwnerName(Code);
    if (WinningLine) Text += ", winning line";
    return Text;
}

std::string DescribeCell(std::int32_t Col, std::int32_t Row) {
    return CellDescription(Col, Row, Global::Cells(Col, Row), OnWinningLine(Col, Row));
}
