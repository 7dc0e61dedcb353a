#pragma once

// Every position that can arise in play, found by playing out all move sequences from the empty board. Shared by the
// exhaustive tests and the benchmark.

#include "state/Global.h"

#include <cstdint>
#include <map>
#include <vector>

namespace PlayedPositions {

// A line check written apart from the one under test: lines are enumerated by formula, not from a table.
inline bool OwnsLine(const Global::CellMatrix& Board, std::uint8_t Code) {
    bool Diagonal = true;
    bool AntiDiagonal = true;
    for (std::int32_t I = 0; I < 3; ++I) {
        bool Column = true;
        bool Row = true;
        for (std::int32_t K = 0; K < 3; ++K) {
            Column = Column && Board(I, K) == Code;
            Row = Row && Board(K, I) == Code;
        }
        if (Column || Row) return true;
        Diagonal = Diagonal && Board(I, I) == Code;
        AntiDiagonal = AntiDiagonal && Board(2 - I, I) == Code;
    }
    return Diagonal || AntiDiagonal;
}

inline bool HasEmptyCell(const Global::CellMatrix& Board) {
    for (std::int32_t Col = 0; Col < 3; ++Col)
        for (std::int32_t Row = 0; Row < 3; ++Row)
            if (Board(Col, Row) == Global::CodeEmpty) return true;
    return false;
}

// Base-3 number of the board, one digit per cell, so equal boards share a key.
inline std::uint32_t Key(const Global::CellMatrix& Board) {
    std::uint32_t Result = 0;
    for (std::int32_t Col = 0; Col < 3; ++Col)
        for (std::int32_t Row = 0; Row < 3; ++Row) Result = Result * 3 + Board(Col, Row);
    return Result;
}

using PositionMap = std::map<std::uint32_t, Global::CellMatrix>;

inline void PlayFrom(Global::CellMatrix& Board, std::uint8_t Mover, PositionMap& Seen) {
    if (!Seen.emplace(Key(Board), Board).second) return;
    if (OwnsLine(Board, Global::CodeBlue) || OwnsLine(Board, Global::CodeRed) || !HasEmptyCell(Board)) return;
    const std::uint8_t Next = Mover == Global::CodeBlue ? Global::CodeRed : Global::CodeBlue;
    for (std::int32_t Col = 0; Col < 3; ++Col)
        for (std::int32_t Row = 0; Row < 3; ++Row)
            if (Board(Col, Row) == Global::CodeEmpty) {
                Board(Col, Row) = Mover;
                PlayFrom(Board, Next, Seen);
                Board(Col, Row) = Global::CodeEmpty;
            }
}

// Every position of the games that FirstCode opens, including the empty board and the finished ones.
inline PositionMap FromGamesOpenedBy(std::uint8_t FirstCode) {
    PositionMap Seen;
    Global::CellMatrix Board;
    PlayFrom(Board, FirstCode, Seen);
    return Seen;
}

// Positions of games opened by either side.
inline PositionMap FromAllGames() {
    PositionMap All = FromGamesOpenedBy(Global::CodeBlue);
    All.merge(FromGamesOpenedBy(Global::CodeRed));
    return All;
}

// The positions in which the game goes on: no completed line and at least one empty cell.
inline std::vector<Global::CellMatrix> Undecided(const PositionMap& Positions) {
    std::vector<Global::CellMatrix> Result;
    for (const auto& [Id, Board] : Positions)
        if (!OwnsLine(Board, Global::CodeBlue) && !OwnsLine(Board, Global::CodeRed) && HasEmptyCell(Board))
            Result.push_back(Board);
    return Result;
}

}  // namespace PlayedPositions
