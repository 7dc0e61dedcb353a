#include "GameTree.h"

#include <algorithm>
#include <cmath>

#include "board/Grid.h"

namespace proof {

namespace {

constexpr std::size_t MaxReported = 20;

std::string Describe(const Global::CellMatrix& cells) {
    std::string s;
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) s += static_cast<char>('0' + cells(col, row));
        if (row < 2) s += '/';
    }
    return s;
}

}  // namespace

namespace {

void Count(Global::CellMatrix& cells, std::uint8_t mover, unsigned allowed, Totals& totals) {
    for (int i = 0; i < 9; ++i) {
        if ((allowed & (1u << i)) == 0 || cells(i % 3, i / 3) != Global::CodeEmpty) continue;
        cells(i % 3, i / 3) = mover;
        const std::uint8_t winner = Winner(cells);
        if (winner != 0 || Full(cells)) {
            ++totals.games;
            (winner == Global::CodeBlue  ? totals.blueWins
             : winner == Global::CodeRed ? totals.redWins
                                         : totals.draws)++;
        } else {
            Count(cells, mover == Global::CodeBlue ? Global::CodeRed : Global::CodeBlue, AllFirstPresses, totals);
        }
        cells(i % 3, i / 3) = Global::CodeEmpty;
    }
}

}  // namespace

Totals CountByRules(bool redBegins, unsigned firstPresses) {
    Totals totals;
    Global::CellMatrix cells;
    cells.Fill(Global::CodeEmpty);
    Count(cells, redBegins ? Global::CodeRed : Global::CodeBlue, firstPresses, totals);
    return totals;
}

GameTree::GameTree(Game& game)
    : game_(game),
      reader_(game, CopyPixels(game.Board.hDC())),
      width_(static_cast<int>(game.Board.ScaleWidth())),
      height_(static_cast<int>(game.Board.ScaleHeight())),
      reach_(std::max({width_ / 3 + 1, Global::GameGrid().BluePieceWidth(), Global::GameGrid().BluePieceHeight(),
                       Global::GameGrid().RedPieceWidth(), Global::GameGrid().RedPieceHeight()}) +
             4),
      mirror_(CopyPixels(game.Board.hDC())),
      stack_(10),
      undo_(10) {}

Totals GameTree::Walk(unsigned firstPresses) {
    firstPresses_ = firstPresses;
    totals_ = Totals{};
    if (Global::GameOver) Fail("the walk needs a game in progress");
    CheckBoard("after the new game");
    Explore(0);
    return totals_;
}

void GameTree::Save(Position& p) const {
    p.cells = Global::Cells;
    p.winLine = Global::WinLine;
    p.playerTurn = Global::PlayerTurn;
    p.gameOver = Global::GameOver;
    p.computerPlays = Global::ComputerPlays;
    p.text = game_.Text.Caption();
}

void GameTree::RestoreState(const Position& p) {
    Global::Cells = p.cells;
    Global::WinLine = p.winLine;
    Global::PlayerTurn = p.playerTurn;
    Global::GameOver = p.gameOver;
    Global::ComputerPlays = p.computerPlays;
    if (game_.Text.Caption() != p.text) game_.Text.Caption(p.text);
}

// The cells that got a piece and, after a win, the highlighted ones, each with a
// margin for the wide pen.
std::vector<GameTree::Block> GameTree::TouchedBlocks(const Global::CellMatrix& before) const {
    std::vector<Block> blocks;
    const auto add = [&](int col, int row) {
        const int x = static_cast<int>(std::nearbyint(width_ / 3.0 * col));
        const int y = static_cast<int>(std::nearbyint(height_ / 3.0 * row));
        blocks.push_back(
            Block{std::max(x - 4, 0), std::max(y - 4, 0), std::min(x + reach_, width_), std::min(y + reach_, height_)});
    };
    for (int col = 0; col < 3; ++col)
        for (int row = 0; row < 3; ++row)
            if (Global::Cells(col, row) != before(col, row)) add(col, row);
    if (Winner(Global::Cells) != 0)
        for (int k = 0; k < 3; ++k) add(Global::WinLine(k).Col, Global::WinLine(k).Row);
    return blocks;
}

void GameTree::Advance(const std::vector<Block>& blocks, Undo& undo) {
    const gdi::SurfaceBits bits = gdi::GetSurfaceBits(game_.Board.hDC());
    undo.blocks = blocks;
    undo.pixels.clear();
    for (const Block& b : blocks) {
        for (int y = b.y0; y < b.y1; ++y) {
            const std::size_t at = static_cast<std::size_t>(y) * static_cast<std::size_t>(width_);
            undo.pixels.insert(undo.pixels.end(), mirror_.begin() + static_cast<std::ptrdiff_t>(at + b.x0),
                               mirror_.begin() + static_cast<std::ptrdiff_t>(at + b.x1));
            std::copy(bits.pixels + at + b.x0, bits.pixels + at + b.x1,
                      mirror_.begin() + static_cast<std::ptrdiff_t>(at + b.x0));
        }
    }
}

// Blocks go back in reverse order: where two overlap, the first one saved holds the older pixels.
void GameTree::PutBack(const Undo& undo) {
    const gdi::SurfaceBits bits = gdi::GetSurfaceBits(game_.Board.hDC());
    std::size_t end = undo.pixels.size();
    for (auto b = undo.blocks.rbegin(); b != undo.blocks.rend(); ++b) {
        const std::size_t w = static_cast<std::size_t>(b->x1 - b->x0);
        end -= w * static_cast<std::size_t>(b->y1 - b->y0);
        for (int y = b->y0; y < b->y1; ++y) {
            const auto from =
                undo.pixels.begin() + static_cast<std::ptrdiff_t>(end + w * static_cast<std::size_t>(y - b->y0));
            const std::size_t at =
                static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(b->x0);
            std::copy(from, from + static_cast<std::ptrdiff_t>(w), mirror_.begin() + static_cast<std::ptrdiff_t>(at));
            std::copy(from, from + static_cast<std::ptrdiff_t>(w), bits.pixels + at);
        }
    }
}

void GameTree::ResetToMirror(const std::vector<Block>& blocks) {
    const gdi::SurfaceBits bits = gdi::GetSurfaceBits(game_.Board.hDC());
    for (const Block& b : blocks) {
        for (int y = b.y0; y < b.y1; ++y) {
            const std::size_t at = static_cast<std::size_t>(y) * static_cast<std::size_t>(width_);
            std::copy(mirror_.begin() + static_cast<std::ptrdiff_t>(at + b.x0),
                      mirror_.begin() + static_cast<std::ptrdiff_t>(at + b.x1), bits.pixels + at + b.x0);
        }
    }
}

void GameTree::Press(int col, int row) {
    ++totals_.presses;
    Global::GameGrid().BoardMouseDown(CellCentre(width_, col), CellCentre(height_, row));
}

void GameTree::Explore(std::size_t depth) {
    Position& here = stack_.at(depth);
    Save(here);
    bool pressedTaken = false;
    for (int col = 0; col < 3; ++col) {
        for (int row = 0; row < 3; ++row) {
            if (here.cells(col, row) != Global::CodeEmpty) {
                if (pressedTaken) continue;
                pressedTaken = true;  // one press on a taken cell per position is enough
                Press(col, row);
                CheckIgnoredPress(here, col, row);
                continue;
            }
            if (depth == 0 && (firstPresses_ & (1u << (col + 3 * row))) == 0) continue;
            Press(col, row);
            CheckPress(here, col, row);
            const std::vector<Block> touched = TouchedBlocks(here.cells);
            if (!Global::GameOver) {
                Advance(touched, undo_.at(depth));
                Explore(depth + 1);
                PutBack(undo_.at(depth));
            } else {
                ++totals_.games;
                const std::uint8_t winner = Winner(Global::Cells);
                (winner == Global::CodeBlue  ? totals_.blueWins
                 : winner == Global::CodeRed ? totals_.redWins
                                             : totals_.draws)++;
                PressAfterTheEnd(stack_.at(depth + 1));
                ResetToMirror(touched);
            }
            RestoreState(here);
        }
    }
}

// A finished game ignores presses on the cells still empty; the first one stands for all.
void GameTree::PressAfterTheEnd(Position& over) {
    Save(over);
    for (int c = 0; c < 3; ++c) {
        for (int r = 0; r < 3; ++r) {
            if (over.cells(c, r) != Global::CodeEmpty) continue;
            Press(c, r);
            CheckIgnoredPress(over, c, r);
            return;
        }
    }
}

void GameTree::CheckPress(const Position& before, int col, int row) {
    const std::uint8_t mover = before.playerTurn ? Global::CodeRed : Global::CodeBlue;
    if (before.computerPlays && mover != Global::CodeBlue) return Fail("the computer's turn reached a press");
    Global::CellMatrix expected = before.cells;
    expected(col, row) = mover;
    const bool moverWon = Winner(expected) == mover;
    const bool computerAnswers = before.computerPlays && !moverWon && !Full(expected);

    int answers = 0;
    for (int c = 0; c < 3; ++c) {
        for (int r = 0; r < 3; ++r) {
            const std::uint8_t now = Global::Cells(c, r);
            if (now > Global::CodeRed) return Fail("a cell holds code " + std::to_string(now));
            if (now == expected(c, r)) continue;
            if (computerAnswers && expected(c, r) == Global::CodeEmpty && now == Global::CodeRed) {
                ++answers;
                continue;
            }
            return Fail("after a press on (" + std::to_string(col) + ", " + std::to_string(row) + ") the cells are " +
                        Describe(Global::Cells) + ", expected " + Describe(expected));
        }
    }
    if (answers != (computerAnswers ? 1 : 0))
        return Fail("the computer placed " + std::to_string(answers) + " pieces in answer, cells " +
                    Describe(Global::Cells));

    const std::uint8_t winner = Winner(Global::Cells);
    if (Global::GameOver != (winner != 0 || Full(Global::Cells)))
        return Fail(std::string("GameOver is ") + (Global::GameOver ? "true" : "false") + " on " +
                    Describe(Global::Cells));
    if (Global::ComputerPlays != before.computerPlays) return Fail("a press changed ComputerPlays");

    bool turnWanted = !before.playerTurn;  // passed on
    if (moverWon)
        turnWanted = before.playerTurn;
    else if (computerAnswers)
        turnWanted = winner == Global::CodeRed;  // the answer passes it back unless it wins
    if (Global::PlayerTurn != turnWanted) return Fail("PlayerTurn is wrong after " + Describe(Global::Cells));

    const std::string text = Global::GameOver ? EndText : TurnText(Global::PlayerTurn);
    if (game_.Text.Caption() != text)
        return Fail("the status line reads \"" + game_.Text.Caption() + "\" after " + Describe(Global::Cells));

    if (winner != 0) {
        const Global::CellLine& line = Global::WinLine;
        if (!IsLine(line)) return Fail("WinLine is no line after " + Describe(Global::Cells));
        for (int k = 0; k < 3; ++k)
            if (Global::Cells(line(k).Col, line(k).Row) != winner)
                return Fail("WinLine holds a cell the winner does not own after " + Describe(Global::Cells));
    }
    CheckBoard("after " + Describe(Global::Cells));
}

void GameTree::CheckIgnoredPress(const Position& before, int col, int row) {
    const bool same = Global::Cells == before.cells && Global::PlayerTurn == before.playerTurn &&
                      Global::GameOver == before.gameOver && Global::ComputerPlays == before.computerPlays &&
                      game_.Text.Caption() == before.text;
    if (!same) {
        Fail("a press on (" + std::to_string(col) + ", " + std::to_string(row) + ") of " + Describe(before.cells) +
             (before.gameOver ? " after the end" : "") + " changed the game");
        return;
    }
    CheckBoard("after an ignored press on " + Describe(before.cells));
}

void GameTree::CheckBoard(const std::string& when) {
    std::optional<Global::CellLine> lit;
    if (Winner(Global::Cells) != 0) lit = Global::WinLine;
    const std::string mismatch = reader_.Mismatch(Global::Cells, lit);
    if (!mismatch.empty()) Fail(when + ": " + mismatch);
}

void GameTree::Fail(const std::string& what) {
    if (totals_.failures++ < MaxReported) totals_.firstFailure += what + "\n";
}

}  // namespace proof
