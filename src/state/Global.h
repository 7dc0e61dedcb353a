#pragma once

#include <array>
#include <cassert>
#include <cstdint>

// The game's shared state and rules. There is exactly one instance of this state for the life of the process, and
// every other part reads and writes it directly.
namespace Global {

// Cell codes stored in Cells; no other value is ever stored there.
inline constexpr std::uint8_t CodeEmpty = 0;
inline constexpr std::uint8_t CodeBlue = 1;
inline constexpr std::uint8_t CodeRed = 2;

[[noreturn]] void ThrowIndexOutOfRange(std::int32_t Index);

// Every board index is tested: a bad index must never reach memory, whatever the build. Debug and sanitizer builds
// stop right here so the offending caller is on the stack.
inline void CheckIndex(std::int32_t Index) {
    assert(Index >= 0 && Index <= 2 && "board index outside 0..2");
    if (static_cast<std::uint32_t>(Index) > 2u) [[unlikely]]
        ThrowIndexOutOfRange(Index);
}

// 3 x 3 matrix indexed (column, row). Stored column-fastest, so element (c, r) is the (c + 3r)-th element.
template <typename T>
class Matrix3 {
public:
    T& operator()(std::int32_t Col, std::int32_t Row) { return data_[Offset(Col, Row)]; }
    const T& operator()(std::int32_t Col, std::int32_t Row) const { return data_[Offset(Col, Row)]; }

    void Fill(T Value) { data_.fill(Value); }

    bool operator==(const Matrix3&) const = default;

private:
    static std::size_t Offset(std::int32_t Col, std::int32_t Row) {
        CheckIndex(Col);
        CheckIndex(Row);
        return static_cast<std::size_t>(Col + 3 * Row);
    }

    std::array<T, 9> data_{};
};

using CellMatrix = Matrix3<std::uint8_t>;

struct CellPos {
    std::int32_t Col;
    std::int32_t Row;

    bool operator==(const CellPos&) const = default;
};

// The three cells of one line, indexed 0..2 in the order the win test scans them.
class CellLine {
public:
    CellPos& operator()(std::int32_t K) {
        CheckIndex(K);
        return data_[static_cast<std::size_t>(K)];
    }
    const CellPos& operator()(std::int32_t K) const {
        CheckIndex(K);
        return data_[static_cast<std::size_t>(K)];
    }

private:
    std::array<CellPos, 3> data_{};
};

// Game state.
extern CellMatrix Cells;
// Holds the won line only directly after a CheckWin call that answered true; any later CheckWin may overwrite it.
extern CellLine WinLine;
// False: blue (code 1) places the next piece; true: red (code 2).
extern bool PlayerTurn;
// While true, presses on the board are ignored until the next new game.
extern bool GameOver;
// True: red is played by the computer.
extern bool ComputerPlays;

// Rules.
// True when Code owns a whole column, row or diagonal of Matrix. Columns are tested before rows, rows before the main
// diagonal, that before the anti-diagonal, lower index first; the first won line goes into WinLine.
bool CheckWin(const CellMatrix& Matrix, const std::uint8_t& Code);
// True when no cell of Cells is empty.
bool BoardFull();

// 16-bit arithmetic where an overflow is an error (std::overflow_error), never a wrap.
[[noreturn]] void ThrowInt16Overflow(std::int32_t Value);

inline std::int16_t CheckedInt16(std::int32_t Value) {
    if (Value < INT16_MIN || Value > INT16_MAX) [[unlikely]]
        ThrowInt16Overflow(Value);
    return static_cast<std::int16_t>(Value);
}

// Both operands widen to 32 bits, where neither sum nor product of two 16-bit values can overflow.
inline std::int16_t CheckedAdd(std::int16_t A, std::int16_t B) { return CheckedInt16(std::int32_t{A} + B); }
inline std::int16_t CheckedMul(std::int16_t A, std::int16_t B) { return CheckedInt16(std::int32_t{A} * B); }

}  // namespace Global
