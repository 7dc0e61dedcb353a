#include "state/Global.h"

#include <stdexcept>
#include <string>

namespace Global {

CellMatrix Cells;
CellLine WinLine;
bool PlayerTurn = false;
bool GameOver = false;
bool ComputerPlays = false;

namespace {

// The eight lines in the order the win test scans them; each line's cells in the order they are recorded.
constexpr std::array<std::array<CellPos, 3>, 8> Lines{{
    {{{0, 0}, {0, 1}, {0, 2}}},
    {{{1, 0}, {1, 1}, {1, 2}}},
    {{{2, 0}, {2, 1}, {2, 2}}},
    {{{0, 0}, {1, 0}, {2, 0}}},
    {{{0, 1}, {1, 1}, {2, 1}}},
    {{{0, 2}, {1, 2}, {2, 2}}},
    {{{0, 0}, {1, 1}, {2, 2}}},
    {{{2, 0}, {1, 1}, {0, 2}}},
}};

bool LineOwned(const CellMatrix& Matrix, const std::array<CellPos, 3>& Line, std::uint8_t Code) {
    for (const CellPos& Cell : Line)
        if (Matrix(Cell.Col, Cell.Row) != Code) return false;
    return true;
}

}  // namespace

void ThrowIndexOutOfRange(std::int32_t Index) {
    throw std::out_of_range("board index " + std::to_string(Index) + " outside 0..2");
}

void ThrowInt16Overflow(std::int32_t Value) {
    throw std::overflow_error("value " + std::to_string(Value) + " does not fit 16 bits");
}

bool CheckWin(const CellMatrix& Matrix, const std::uint8_t& Code) {
    for (const auto& Line : Lines) {
        if (!LineOwned(Matrix, Line, Code)) continue;
        for (std::int32_t K = 0; K < 3; ++K) WinLine(K) = Line[static_cast<std::size_t>(K)];
        return true;
    }
    return false;
}

bool BoardFull() {
    bool Full = true;
    for (std::int32_t Row = 0; Row < 3; ++Row)
        for (std::int32_t Col = 0; Col < 3; ++Col)
            if (Cells(Col, Row) == CodeEmpty) Full = false;
    return Full;
}

}  // namespace Global
