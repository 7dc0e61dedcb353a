// One full turn on the 385 x 385 board: a person's press, its piece, the refresh, the computer's answer and its
// piece, all inside one BoardMouseDown.
#include "support/BoardWindow.h"

#include <benchmark/benchmark.h>

using namespace BoardTest;

namespace {

// A round piece on white, as the piece pictures are: the white is keyed out when drawn.
toolkit::StdPicture PiecePicture(gdi::COLORREF Colour) {
    return MakePicture(128, 128, [Colour](int X, int Y) {
        const int Dx = X - 64;
        const int Dy = Y - 64;
        return Dx * Dx + Dy * Dy < 56 * 56 ? Colour : White;
    });
}

void Turn(benchmark::State& State, bool WithPictures) {
    BoardWindow Board(385, 385);
    if (WithPictures) {
        Board.UsePicture(1, MakePicture(128, 128, [](int X, int Y) {
                             return gdi::RGB(static_cast<std::uint8_t>(X), static_cast<std::uint8_t>(Y), 90);
                         }));
        Board.UsePicture(2, PiecePicture(gdi::RGB(20, 40, 220)));
        Board.UsePicture(3, PiecePicture(gdi::RGB(220, 30, 20)));
    }
    Board.NewGame(true);
    int Cell = 0;
    for (auto _ : State) {
        // A fresh position each time, so that every press is a person's move followed by the computer's.
        Global::Cells.Fill(Global::CodeEmpty);
        Global::GameOver = false;
        Global::PlayerTurn = false;
        Board.Press(Cell % 3, Cell / 3);
        Cell = (Cell + 1) % 9;
    }
    if (Board.Repaints() < 2 * static_cast<int>(State.iterations()))
        State.SkipWithError("the computer did not answer every move");
}

void BM_TurnWithPictures(benchmark::State& State) { Turn(State, true); }
void BM_TurnWithShapes(benchmark::State& State) { Turn(State, false); }

BENCHMARK(BM_TurnWithPictures)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TurnWithShapes)->Unit(benchmark::kMicrosecond);

}  // namespace
