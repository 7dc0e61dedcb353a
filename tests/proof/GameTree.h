// Walks every game the board allows, depth first, pressing cell centres through the
// board's press handler and checking after every press what the state, the status
// line and the board surface must show. Each position is saved and put back
// (cells, flags, won line, status text, board pixels) instead of being replayed.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "ProofSupport.h"

namespace proof {

// The sanitizer builds draw many times slower: there a walk starts with one first
// press only, a different one for each walk.
constexpr unsigned AllFirstPresses = 0x1FF;
constexpr unsigned FirstPressesWithinBudget(unsigned sanitizedFirst) {
    return Sanitized ? sanitizedFirst : AllFirstPresses;
}

struct Totals {
    std::uint64_t games = 0;
    std::uint64_t blueWins = 0;
    std::uint64_t redWins = 0;
    std::uint64_t draws = 0;
    std::uint64_t presses = 0;
    std::uint64_t failures = 0;
    std::string firstFailure;
};

// The games two people can play, counted from the rules alone (no drawing, no game
// code): what a walk of the same first presses must find.
Totals CountByRules(bool redBegins, unsigned firstPresses);

class GameTree {
public:
    // `game` holds a game just started by the new-game command.
    explicit GameTree(Game& game);

    // Every sequence of presses on empty cells until the game ends; with the computer
    // playing red, its answers come from the game itself. `firstPresses` (bit c + 3r
    // for cell (c, r)) limits the first press of the walk.
    Totals Walk(unsigned firstPresses = AllFirstPresses);

private:
    struct Position {
        Global::CellMatrix cells;
        Global::CellLine winLine;
        bool playerTurn = false;
        bool gameOver = false;
        bool computerPlays = false;
        std::string text;
    };

    // Pixels are not saved whole for every position: `mirror_` always holds the board
    // of the position being explored, and a press can only have drawn into the cells
    // it filled or highlighted, so only those blocks are saved and put back.
    struct Block {
        int x0, y0, x1, y1;
    };
    struct Undo {
        std::vector<Block> blocks;
        std::vector<std::uint32_t> pixels;  // the blocks' pixels before the press, one after the other
    };

    void Save(Position& p) const;
    void RestoreState(const Position& p);
    void Explore(std::size_t depth);
    void Press(int col, int row);
    void PressAfterTheEnd(Position& over);
    std::vector<Block> TouchedBlocks(const Global::CellMatrix& before) const;
    // Copies `blocks` of the board and of the mirror: board -> mirror, with the old mirror pixels kept in `undo`.
    void Advance(const std::vector<Block>& blocks, Undo& undo);
    void PutBack(const Undo& undo);
    void ResetToMirror(const std::vector<Block>& blocks);
    void CheckPress(const Position& before, int col, int row);
    void CheckIgnoredPress(const Position& before, int col, int row);
    void CheckBoard(const std::string& when);
    void Fail(const std::string& what);

    Game& game_;
    BoardReader reader_;
    int width_;
    int height_;
    int reach_;  // how far right of and below its corner a piece may draw
    std::vector<std::uint32_t> mirror_;
    std::vector<Position> stack_;
    std::vector<Undo> undo_;
    Totals totals_;
    unsigned firstPresses_ = AllFirstPresses;
};

}  // namespace proof
