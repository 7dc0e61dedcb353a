// Pixel rules away from the reference scenes: lines against a plain step-by-step
// walk, clipping at any coordinates, surface sizes, blits and the colour key.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <memory>
#include <random>
#include <set>
#include <utility>
#include <vector>

#include "platform/gdi/Gdi.h"

using namespace gdi;

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

// The 1-pixel line as a step-by-step walk over every pixel, end left out:
// octants 3, 5, 6 and 8 step sideways at an exact half.
std::set<std::pair<long, long>> WalkLine(long x0, long y0, long x1, long y1) {
    std::set<std::pair<long, long>> pixels;
    const long dx = x1 - x0, dy = y1 - y0;
    const long adx = std::labs(dx), ady = std::labs(dy);
    int octant;
    if (dy > 0)
        octant = dx > 0 ? (dx > dy ? 1 : 2) : (-dx > dy ? 4 : 3);
    else
        octant = dx < 0 ? (-dx > -dy ? 5 : 6) : (dx > -dy ? 8 : 7);
    const long bias = (octant == 3 || octant == 5 || octant == 6 || octant == 8) ? 1 : 0;
    const bool xMajor = adx > ady;
    const long major = xMajor ? adx : ady, minor = xMajor ? ady : adx;
    long x = x0, y = y0, err = 2 * minor - major;
    for (long k = 0; k < major; ++k) {
        pixels.insert({x, y});
        const bool side = err + bias > 0;
        err += side ? 2 * (minor - major) : 2 * minor;
        if (xMajor) {
            x += dx > 0 ? 1 : -1;
            if (side) y += dy > 0 ? 1 : -1;
        } else {
            y += dy > 0 ? 1 : -1;
            if (side) x += dx > 0 ? 1 : -1;
        }
    }
    return pixels;
}

std::set<std::pair<long, long>> Painted(HDC dc, COLORREF background) {
    std::set<std::pair<long, long>> pixels;
    const SurfaceBits bits = GetSurfaceBits(dc);
    for (int y = 0; y < bits.height; ++y)
        for (int x = 0; x < bits.width; ++x)
            if (GetPixel(dc, x, y) != background) pixels.insert({x, y});
    return pixels;
}

class Surface {
public:
    Surface(int w, int h, COLORREF fill) : dc_(CreateSurfaceDC(w, h, fill)) {}
    ~Surface() { DeleteDC(dc_); }
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;
    HDC dc() const { return dc_; }

private:
    HDC dc_;
};

TEST(GdiLines, OnePixelLinesMatchTheWalkInEveryOctantAndWhereverTheyStart) {
    std::mt19937 rng(7);
    std::uniform_int_distribution<long> coord(-60, 90);
    Surface s(31, 23, kWhite);
    for (int i = 0; i < 3000; ++i) {
        const long x0 = coord(rng), y0 = coord(rng), x1 = coord(rng), y1 = coord(rng);
        FillSurface(s.dc(), kWhite);
        MoveToEx(s.dc(), static_cast<int>(x0), static_cast<int>(y0), nullptr);
        ASSERT_TRUE(LineTo(s.dc(), static_cast<int>(x1), static_cast<int>(y1)));
        std::set<std::pair<long, long>> expected;
        for (const auto& p : WalkLine(x0, y0, x1, y1))
            if (p.first >= 0 && p.first < 31 && p.second >= 0 && p.second < 23) expected.insert(p);
        ASSERT_EQ(Painted(s.dc(), kWhite), expected) << "(" << x0 << "," << y0 << ")->(" << x1 << "," << y1 << ")";
    }
}

TEST(GdiLines, LinesFromFarAwayStillHitTheRightPixels) {
    Surface s(20, 20, kWhite);
    // The diagonal through the origin, from a billion pixels either side.
    MoveToEx(s.dc(), -1000000000, -1000000000, nullptr);
    LineTo(s.dc(), 1000000000, 1000000000);
    std::set<std::pair<long, long>> diagonal;
    for (long i = 0; i < 20; ++i) diagonal.insert({i, i});
    EXPECT_EQ(Painted(s.dc(), kWhite), diagonal);
    // Full-range ends: no overflow, the row is whole.
    FillSurface(s.dc(), kWhite);
    MoveToEx(s.dc(), INT_MIN, 7, nullptr);
    LineTo(s.dc(), INT_MAX, 7);
    EXPECT_EQ(Painted(s.dc(), kWhite).size(), 20u);
    for (int x = 0; x < 20; ++x) EXPECT_EQ(GetPixel(s.dc(), x, 7), kBlack);
    // Corner to corner of the coordinate space, and far off the surface.
    MoveToEx(s.dc(), INT_MIN, INT_MIN, nullptr);
    LineTo(s.dc(), INT_MAX, INT_MAX);
    MoveToEx(s.dc(), INT_MAX, INT_MIN, nullptr);
    LineTo(s.dc(), INT_MIN, INT_MAX);
    FillSurface(s.dc(), kWhite);
    MoveToEx(s.dc(), INT_MIN, 30, nullptr);
    LineTo(s.dc(), INT_MAX, 31);
    EXPECT_TRUE(Painted(s.dc(), kWhite).empty());
}

TEST(GdiLines, NullPenDrawsNothingButMoves) {
    Surface s(10, 10, kWhite);
    const HPEN none = CreatePen(PS_NULL, 5, RGB(1, 1, 1));
    SelectObject(s.dc(), none);
    MoveToEx(s.dc(), 0, 0, nullptr);
    EXPECT_TRUE(LineTo(s.dc(), 9, 9));
    EXPECT_TRUE(Ellipse(s.dc(), 0, 0, 10, 10));  // the white brush on white
    EXPECT_EQ(Painted(s.dc(), kWhite).size(), 0u);
    POINT at{};
    MoveToEx(s.dc(), 0, 0, &at);
    EXPECT_EQ(at.x, 9);
    SelectObject(s.dc(), GetStockObject(BLACK_PEN));
    DeleteObject(none);
}

TEST(GdiLines, WidePensStayOnTheSurfaceAndRefuseAbsurdWidths) {
    Surface s(16, 16, kWhite);
    const HPEN wide = CreatePen(PS_SOLID, 9, kBlack);
    SelectObject(s.dc(), wide);
    MoveToEx(s.dc(), -3, -3, nullptr);
    EXPECT_TRUE(LineTo(s.dc(), 20, 12));
    MoveToEx(s.dc(), INT_MIN, INT_MAX, nullptr);
    EXPECT_TRUE(LineTo(s.dc(), INT_MAX, INT_MIN));
    EXPECT_FALSE(Painted(s.dc(), kWhite).empty());
    const HPEN absurd = CreatePen(PS_SOLID, INT_MAX, kBlack);
    SelectObject(s.dc(), absurd);
    FillSurface(s.dc(), kWhite);
    EXPECT_FALSE(LineTo(s.dc(), 5, 5));
    EXPECT_TRUE(Painted(s.dc(), kWhite).empty());
    SelectObject(s.dc(), GetStockObject(BLACK_PEN));
    DeleteObject(wide);
    DeleteObject(absurd);
}

TEST(GdiEllipse, StaysInsideItsBoxWhateverTheCorners) {
    Surface s(40, 40, kWhite);
    const HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    SelectObject(s.dc(), red);
    EXPECT_TRUE(Ellipse(s.dc(), 30, 25, 5, 3));  // corners given backwards
    for (const auto& [x, y] : Painted(s.dc(), kWhite)) {
        EXPECT_TRUE(x >= 5 && x < 30 && y >= 3 && y < 25) << x << "," << y;
    }
    FillSurface(s.dc(), kWhite);
    EXPECT_TRUE(Ellipse(s.dc(), 4, 4, 4, 20));  // empty box
    EXPECT_TRUE(Painted(s.dc(), kWhite).empty());
    EXPECT_FALSE(Ellipse(s.dc(), INT_MIN, INT_MIN, INT_MAX, INT_MAX));  // refused, not rasterised for minutes
    EXPECT_TRUE(Ellipse(s.dc(), -1000, -1000, -900, -900));
    EXPECT_TRUE(Painted(s.dc(), kWhite).empty());
    SelectObject(s.dc(), GetStockObject(WHITE_BRUSH));
    DeleteObject(red);
}

// The fill writes a short run and then doubles it by copies: every count around the steps must come out whole,
// and not a pixel past the end.
TEST(GdiSurfaces, FillSetsExactlyTheCountAtEveryDoublingStep) {
    for (std::size_t count : {0, 1, 15, 16, 17, 31, 32, 33, 63, 64, 65, 454, 1000, 220644}) {
        std::vector<std::uint32_t> pixels(count + 2, 7u);
        FillPixels(pixels.data() + 1, count, 0xFF102030u);
        EXPECT_EQ(pixels.front(), 7u) << count;
        EXPECT_EQ(pixels.back(), 7u) << count;
        EXPECT_EQ(static_cast<std::size_t>(std::count(pixels.begin(), pixels.end(), 0xFF102030u)), count) << count;
    }
}

// Each channel rounds to the nearest of 255 steps; a clear or opaque picture pixel leaves one side exactly, and
// what comes out is always opaque, even over a pixel that was not.
TEST(GdiPixels, BlendLaysAPicturePixelOverByItsAlpha) {
    EXPECT_EQ(BlendPixel(0xFF0A141Eu, 0x80FFFFFFu), 0xFF858A8Fu);
    EXPECT_EQ(BlendPixel(0xFF000000u, 0x01FF7FFFu), 0xFF010001u);
    EXPECT_EQ(BlendPixel(0xFFFFFFFFu, 0xFE000000u), 0xFF010101u);
    EXPECT_EQ(BlendPixel(0xFF0A141Eu, 0xFF123456u), 0xFF123456u);
    EXPECT_EQ(BlendPixel(0x000A141Eu, 0x00FFFFFFu), 0xFF0A141Eu);
}

TEST(GdiSurfaces, RefusesAbsurdSizesAndKeepsPixelsOnResize) {
    EXPECT_EQ(CreateSurfaceDC(-1, 5, 0), 0);
    EXPECT_EQ(CreateSurfaceDC(100000, 100000, 0), 0);
    EXPECT_EQ(CreateSurfaceDC(INT_MAX, INT_MAX, 0), 0);
    EXPECT_EQ(CreateSurfaceDC(INT_MAX, 1, 0), 0);
    Surface empty(0, 0, 0);
    ASSERT_GT(empty.dc(), 0);
    EXPECT_EQ(GetSurfaceBits(empty.dc()).width, 0);
    EXPECT_TRUE(LineTo(empty.dc(), 5, 5));

    Surface s(4, 3, RGB(1, 2, 3));
    SetPixel(s.dc(), 3, 2, RGB(9, 9, 9));
    SetPixel(s.dc(), 0, 0, RGB(8, 8, 8));
    EXPECT_FALSE(ResizeSurface(s.dc(), 70000, 70000, 0));
    EXPECT_FALSE(ResizeSurface(s.dc(), -4, 2, 0));
    EXPECT_EQ(GetSurfaceBits(s.dc()).width, 4);
    EXPECT_EQ(GetPixel(s.dc(), 3, 2), RGB(9, 9, 9));
    ASSERT_TRUE(ResizeSurface(s.dc(), 6, 2, RGB(5, 5, 5)));
    const SurfaceBits bits = GetSurfaceBits(s.dc());
    EXPECT_EQ(bits.width, 6);
    EXPECT_EQ(bits.height, 2);
    EXPECT_EQ(GetPixel(s.dc(), 0, 0), RGB(8, 8, 8));
    EXPECT_EQ(GetPixel(s.dc(), 3, 1), RGB(1, 2, 3));
    EXPECT_EQ(GetPixel(s.dc(), 5, 0), RGB(5, 5, 5));
    EXPECT_EQ(GetPixel(s.dc(), 3, 2), CLR_INVALID);
    EXPECT_EQ(bits.pixels[0], ToPixel(RGB(8, 8, 8)));
    EXPECT_EQ(SetPixel(s.dc(), 6, 0, 0), CLR_INVALID);
    EXPECT_EQ(SetPixel(s.dc(), -1, 0, 0), CLR_INVALID);
}

TEST(GdiSurfaces, ResizingToTheSameWidthKeepsTheRowsInPlace) {
    Surface s(3, 2, RGB(1, 2, 3));
    SetPixel(s.dc(), 2, 0, RGB(9, 9, 9));
    SetPixel(s.dc(), 0, 1, RGB(8, 8, 8));
    ASSERT_TRUE(ResizeSurface(s.dc(), 3, 5, RGB(5, 5, 5)));
    EXPECT_EQ(GetPixel(s.dc(), 2, 0), RGB(9, 9, 9));
    EXPECT_EQ(GetPixel(s.dc(), 0, 1), RGB(8, 8, 8));
    EXPECT_EQ(GetPixel(s.dc(), 1, 1), RGB(1, 2, 3));
    EXPECT_EQ(GetPixel(s.dc(), 0, 2), RGB(5, 5, 5));
    EXPECT_EQ(GetPixel(s.dc(), 2, 4), RGB(5, 5, 5));

    ASSERT_TRUE(ResizeSurface(s.dc(), 3, 5, RGB(7, 7, 7))) << "the same size changes nothing";
    EXPECT_EQ(GetPixel(s.dc(), 2, 4), RGB(5, 5, 5));

    ASSERT_TRUE(ResizeSurface(s.dc(), 3, 1, RGB(7, 7, 7)));
    EXPECT_EQ(GetSurfaceBits(s.dc()).height, 1);
    EXPECT_EQ(GetPixel(s.dc(), 2, 0), RGB(9, 9, 9));
    EXPECT_EQ(GetPixel(s.dc(), 0, 1), CLR_INVALID);
    ASSERT_TRUE(ResizeSurface(s.dc(), 3, 2, RGB(6, 6, 6)));
    EXPECT_EQ(GetPixel(s.dc(), 0, 1), RGB(6, 6, 6)) << "a row given up and taken again is new";
}

// Every way of drawing on a surface that shares its pixels writes to a copy of its own, never to the owner's.
TEST(GdiSurfaces, SharedPixelsAreReadInPlaceAndCopiedAtTheFirstDrawing) {
    const std::shared_ptr<const std::uint32_t[]> owner(new std::uint32_t[6]{1, 2, 3, 4, 5, 6});
    Surface a(1, 1, 0), b(1, 1, 0), c(3, 2, kBlack);
    ASSERT_TRUE(SharePixels(a.dc(), owner, 3, 2));
    ASSERT_TRUE(CopySurface(b.dc(), a.dc()));
    const std::size_t own = OwnPixelCount();
    EXPECT_EQ(GetPixel(b.dc(), 2, 1), FromPixel(6));
    EXPECT_TRUE(BitBlt(c.dc(), 0, 0, 3, 2, a.dc(), 0, 0, SRCPAINT));
    EXPECT_EQ(GetPixel(c.dc(), 1, 0), FromPixel(2));
    EXPECT_EQ(OwnPixelCount(), own);

    EXPECT_TRUE(BitBlt(a.dc(), 1, 0, 2, 2, a.dc(), 0, 0, SRCCOPY));
    SetPixel(b.dc(), 0, 0, kWhite);
    EXPECT_EQ(GetPixel(a.dc(), 2, 1), FromPixel(5));
    EXPECT_EQ(GetPixel(b.dc(), 1, 0), FromPixel(2));
    EXPECT_EQ(OwnPixelCount(), own + 12);
    FillSurface(a.dc(), kWhite);
    ResizeSurface(b.dc(), 2, 1, kWhite);
    EXPECT_EQ(std::vector<std::uint32_t>(owner.get(), owner.get() + 6), (std::vector<std::uint32_t>{1, 2, 3, 4, 5, 6}));
    EXPECT_FALSE(SharePixels(a.dc(), nullptr, 1, 1));
}

TEST(GdiBlits, ClipToBothSurfacesAtAnyOffset) {
    Surface dst(10, 10, RGB(200, 200, 200));
    Surface src(4, 4, RGB(10, 20, 30));
    SetPixel(src.dc(), 0, 0, RGB(1, 1, 1));
    const std::pair<int, int> offsets[] = {{INT_MIN, INT_MIN}, {INT_MAX, 0}, {INT_MAX - 2, INT_MAX - 2}, {-2, -2}};
    for (const auto& [x, y] : offsets) {
        EXPECT_TRUE(BitBlt(dst.dc(), x, y, INT_MAX, INT_MAX, src.dc(), 0, 0, SRCCOPY));
        EXPECT_TRUE(BitBlt(dst.dc(), 0, 0, INT_MAX, 5, src.dc(), x, y, SRCCOPY));
        EXPECT_TRUE(BitBlt(dst.dc(), 0, 0, INT_MIN, INT_MIN, src.dc(), x, y, SRCAND));
        EXPECT_TRUE(GdiTransparentBlt(dst.dc(), x, y, 4, 4, src.dc(), 0, 0, 4, 4, 0));
        EXPECT_TRUE(GdiTransparentBlt(dst.dc(), x, y, INT_MAX, INT_MAX, src.dc(), x, y, 4, 4, 0));
    }
    // Only the (-2,-2) offsets overlapped: source (0,0) went to (2,2) with the
    // source shifted, and was cut off with the destination shifted.
    for (const auto& [x, y] : Painted(dst.dc(), RGB(200, 200, 200))) EXPECT_TRUE(x < 6 && y < 5) << x << "," << y;
    EXPECT_EQ(GetPixel(dst.dc(), 0, 0), RGB(10, 20, 30));
    EXPECT_EQ(GetPixel(dst.dc(), 2, 2), RGB(1, 1, 1));
    EXPECT_EQ(GetPixel(dst.dc(), 5, 4), RGB(10, 20, 30));
    EXPECT_EQ(GetPixel(dst.dc(), 6, 4), RGB(200, 200, 200));
    EXPECT_EQ(BitBlt(dst.dc(), 0, 0, 2, 2, src.dc(), 0, 0, 0x00AA0029), FALSE);  // an unsupported operation
}

TEST(GdiBlits, SrcAndIsBitwiseAndOverlappingCopiesReadTheOriginal) {
    Surface a(6, 1, RGB(0xC3, 0xA5, 0x5A));
    Surface b(6, 1, RGB(0x0F, 0x7F, 0x3C));
    EXPECT_TRUE(BitBlt(a.dc(), 0, 0, 3, 1, b.dc(), 0, 0, SRCAND));
    EXPECT_EQ(GetPixel(a.dc(), 2, 0), RGB(0x03, 0x25, 0x18));
    EXPECT_EQ(GetPixel(a.dc(), 3, 0), RGB(0xC3, 0xA5, 0x5A));

    Surface s(8, 8, kWhite);
    for (int i = 0; i < 8; ++i) SetPixel(s.dc(), i, i, RGB(static_cast<std::uint8_t>(i), 0, 0));
    EXPECT_TRUE(BitBlt(s.dc(), 1, 1, 7, 7, s.dc(), 0, 0, SRCCOPY));  // down-right onto itself
    for (int i = 1; i < 8; ++i) EXPECT_EQ(GetPixel(s.dc(), i, i), RGB(static_cast<std::uint8_t>(i - 1), 0, 0));
    EXPECT_TRUE(BitBlt(s.dc(), 0, 0, 7, 7, s.dc(), 1, 1, SRCCOPY));  // and back up-left
    for (int i = 0; i < 7; ++i) EXPECT_EQ(GetPixel(s.dc(), i, i), RGB(static_cast<std::uint8_t>(i), 0, 0));
}

TEST(GdiBlits, ColourKeySkipsExactlyTheKey) {
    Surface src(3, 1, kWhite);
    SetPixel(src.dc(), 1, 0, RGB(254, 254, 254));
    SetPixel(src.dc(), 2, 0, RGB(255, 0, 0));
    Surface dst(3, 1, RGB(0x12, 0x34, 0x56));
    EXPECT_TRUE(GdiTransparentBlt(dst.dc(), 0, 0, 3, 1, src.dc(), 0, 0, 3, 1, kWhite));
    EXPECT_EQ(GetPixel(dst.dc(), 0, 0), RGB(0x12, 0x34, 0x56));
    EXPECT_EQ(GetPixel(dst.dc(), 1, 0), RGB(254, 254, 254));
    EXPECT_EQ(GetPixel(dst.dc(), 2, 0), RGB(255, 0, 0));
    // Shrinking is refused and leaves the destination alone.
    Surface wide(6, 2, kBlack);
    EXPECT_FALSE(GdiTransparentBlt(dst.dc(), 0, 0, 3, 1, wide.dc(), 0, 0, 6, 2, kWhite));
    EXPECT_FALSE(GdiTransparentBlt(dst.dc(), 0, 0, -3, 1, src.dc(), 0, 0, 3, 1, kWhite));
    EXPECT_EQ(GetPixel(dst.dc(), 0, 0), RGB(0x12, 0x34, 0x56));
    // Enlarging repeats each source pixel.
    Surface big(6, 2, RGB(9, 9, 9));
    EXPECT_TRUE(GdiTransparentBlt(big.dc(), 0, 0, 6, 2, src.dc(), 0, 0, 3, 1, kWhite));
    EXPECT_EQ(GetPixel(big.dc(), 1, 1), RGB(9, 9, 9));
    EXPECT_EQ(GetPixel(big.dc(), 2, 1), RGB(254, 254, 254));
    EXPECT_EQ(GetPixel(big.dc(), 5, 0), RGB(255, 0, 0));
}

}  // namespace
