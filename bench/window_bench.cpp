// The game's own share of start-up, without any window system: decoding the shipped pictures, and building the
// window model and running its load handler, which creates and fills every surface. Each start takes fresh
// surface memory, as a new process does, but finds the code and the files warm; a real start pays at least this.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "platform/toolkit/Runtime.h"
#include "platform/toolkit/decoders/PictureDecoders.h"
#include "support/GameState.h"
#include "support/TestPlatform.h"
#include "window/Game.h"

namespace {

std::vector<std::vector<std::uint8_t>> ShippedPictures() {
    std::vector<std::vector<std::uint8_t>> files;
    for (const auto& entry :
         std::filesystem::directory_iterator(std::filesystem::path(TESSARIN_SOURCE_DIR) / "Bilder")) {
        std::ifstream in(entry.path(), std::ios::binary);
        files.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return files;
}

void BM_DecodeShippedPictures(benchmark::State& state) {
    const auto files = ShippedPictures();
    if (files.size() != 8) state.SkipWithError("the Bilder folder does not hold the 8 pictures");
    for (auto _ : state)
        for (const auto& file : files)
            benchmark::DoNotOptimize(toolkit::DecodeStandardPicture(toolkit::EncodedPicture("picture", file)));
}

void BM_GameStart(benchmark::State& state) {
    testsupport::TestPlatform platform;
    platform.Path = TESSARIN_SOURCE_DIR;
    platform.Decode = toolkit::DecodeStandardPicture;
    for (auto _ : state) {
        testsupport::ResetGameState();
        Game game;
        game.Show();
        if (!game.Buff(3).AutoRedraw()) state.SkipWithError("a piece picture did not load");
    }
}

BENCHMARK(BM_DecodeShippedPictures)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GameStart)->Unit(benchmark::kMillisecond);

}  // namespace
