// The board's heaviest frame on a 385 x 385 surface: tiled background, grid,
// nine pieces, three highlighted cells. Pieces come as pictures through the
// colour-keyed blit, or as the fallback crosses and discs.
#include <benchmark/benchmark.h>

#include "platform/gdi/Gdi.h"

namespace {

using namespace gdi;

constexpr int kBoard = 385;
constexpr int kCells[4] = {0, 128, 257, 385};

struct Scene {
    HDC board = CreateSurfaceDC(kBoard, kBoard, RGB(224, 224, 224));
    HDC tile = CreateSurfaceDC(100, 100, RGB(181, 140, 90));
    HDC piece = CreateSurfaceDC(128, 128, RGB(255, 255, 255));
    HDC green = CreateSurfaceDC(130, 130, RGB(0, 255, 0));
    HPEN grid = CreatePen(PS_SOLID, 1, RGB(170, 170, 170));
    HPEN cross = CreatePen(PS_SOLID, 2, RGB(0, 0, 255));
    HPEN outline = CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));

    Scene() {
        for (int i = 0; i < 100; i += 7) SetPixel(tile, i, (i * 3) % 100, RGB(120, 90, 60));
        SelectObject(piece, red);
        Ellipse(piece, 10, 10, 118, 118);
        SelectObject(piece, GetStockObject(WHITE_BRUSH));
    }
    ~Scene() {
        for (HDC dc : {board, tile, piece, green}) DeleteDC(dc);
        for (HGDIOBJ h : {grid, cross, outline, red}) DeleteObject(h);
    }
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;

    void Background() {
        for (int y = 0; y < kBoard; y += 100)
            for (int x = 0; x < kBoard; x += 100) BitBlt(board, x, y, 100, 100, tile, 0, 0, SRCCOPY);
        SelectObject(board, grid);
        for (int i = 1; i <= 2; ++i) {
            MoveToEx(board, kCells[i], 0, nullptr);
            LineTo(board, kCells[i], kBoard);
            MoveToEx(board, 0, kCells[i], nullptr);
            LineTo(board, kBoard, kCells[i]);
        }
    }
    void Highlight() {
        for (int i = 0; i < 3; ++i) BitBlt(board, kCells[i], kCells[i], 128, 128, green, 0, 0, SRCAND);
    }
    template <typename Draw>
    void EachCell(Draw draw) {
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 3; ++c) draw(kCells[c], kCells[r], kCells[c + 1], kCells[r + 1]);
    }
};

void BM_FrameWithPictures(benchmark::State& state) {
    Scene s;
    for (auto _ : state) {
        s.Background();
        s.EachCell([&s](int l, int t, int, int) {
            GdiTransparentBlt(s.board, l, t, 128, 128, s.piece, 0, 0, 128, 128, RGB(255, 255, 255));
        });
        s.Highlight();
        benchmark::DoNotOptimize(GetSurfaceBits(s.board).pixels[0]);
    }
}

void BM_FrameWithCrosses(benchmark::State& state) {
    Scene s;
    for (auto _ : state) {
        s.Background();
        SelectObject(s.board, s.cross);
        s.EachCell([&s](int l, int t, int r, int b) {
            MoveToEx(s.board, l, t, nullptr);
            LineTo(s.board, r, b);
            MoveToEx(s.board, r, t, nullptr);
            LineTo(s.board, l, b);
        });
        s.Highlight();
        benchmark::DoNotOptimize(GetSurfaceBits(s.board).pixels[0]);
    }
}

void BM_FrameWithDiscs(benchmark::State& state) {
    Scene s;
    for (auto _ : state) {
        s.Background();
        SelectObject(s.board, s.outline);
        SelectObject(s.board, s.red);
        s.EachCell([&s](int l, int t, int r, int b) { Ellipse(s.board, l, t, r, b); });
        SelectObject(s.board, GetStockObject(WHITE_BRUSH));
        s.Highlight();
        benchmark::DoNotOptimize(GetSurfaceBits(s.board).pixels[0]);
    }
}

}  // namespace

BENCHMARK(BM_FrameWithPictures)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FrameWithCrosses)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FrameWithDiscs)->Unit(benchmark::kMicrosecond);
