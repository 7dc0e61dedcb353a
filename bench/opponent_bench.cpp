#include "support/PlayedPositions.h"

#include "opponent/PlayerAI.h"
#include "state/Global.h"

#include <benchmark/benchmark.h>

#include <cstddef>

namespace {

// One move choice per iteration, cycling through every undecided position of play, so the time per iteration is the
// time per choice averaged over all positions the computer can be asked about.
void ChooseMoveOverPlayedPositions(benchmark::State& State) {
    const auto Positions = PlayedPositions::Undecided(PlayedPositions::FromAllGames());
    PlayerAI AI;
    AI.PlayerNumber(2);
    std::size_t Next = 0;
    for (auto _ : State) {
        Global::Cells = Positions[Next];
        Next = Next + 1 == Positions.size() ? 0 : Next + 1;
        std::int32_t X = 0;
        std::int32_t Y = 0;
        AI.ChooseMove(X, Y);
        benchmark::DoNotOptimize(X);
        benchmark::DoNotOptimize(Y);
    }
    State.SetItemsProcessed(State.iterations());
    State.SetLabel(std::to_string(Positions.size()) + " positions");
}

}  // namespace

BENCHMARK(ChooseMoveOverPlayedPositions);
