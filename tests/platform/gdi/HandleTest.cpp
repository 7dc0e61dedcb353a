// The handle table: defaults of a new device context, stale and foreign
// handles, objects deleted while selected, and a long run of wild calls.
#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <vector>

#include "platform/gdi/Gdi.h"

using namespace gdi;

namespace {

TEST(GdiHandles, NewDeviceContextDrawsWithBlackPenWhiteBrushFromOrigin) {
    const HDC dc = CreateSurfaceDC(8, 8, RGB(9, 9, 9));
    ASSERT_GT(dc, 0);
    POINT old{-1, -1};
    EXPECT_TRUE(MoveToEx(dc, 3, 3, &old));
    EXPECT_EQ(old.x, 0);
    EXPECT_EQ(old.y, 0);
    const HPEN pen = CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
    const HBRUSH brush = CreateSolidBrush(RGB(4, 5, 6));
    EXPECT_EQ(SelectObject(dc, pen), GetStockObject(BLACK_PEN));
    EXPECT_EQ(SelectObject(dc, brush), GetStockObject(WHITE_BRUSH));
    EXPECT_EQ(SelectObject(dc, GetStockObject(BLACK_PEN)), pen);
    EXPECT_EQ(SelectObject(dc, GetStockObject(WHITE_BRUSH)), brush);
    EXPECT_TRUE(Ellipse(dc, 0, 0, 8, 8));
    EXPECT_EQ(GetPixel(dc, 0, 4), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(dc, 4, 4), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(9, 9, 9));
    for (HGDIOBJ h : {dc, pen, brush}) EXPECT_TRUE(h == dc ? DeleteDC(h) : DeleteObject(h));
}

TEST(GdiHandles, CountsLiveObjectsButNotStockOnes) {
    const std::size_t start = LiveObjectCount();
    const HDC dc = CreateSurfaceDC(4, 4, 0);
    const HPEN pen = CreatePen(PS_SOLID, 2, 0);
    const HBRUSH brush = CreateSolidBrush(0);
    EXPECT_EQ(LiveObjectCount(), start + 3);
    EXPECT_TRUE(DeleteObject(GetStockObject(BLACK_PEN)));  // GDI ignores it
    EXPECT_EQ(LiveObjectCount(), start + 3);
    EXPECT_EQ(SelectObject(dc, GetStockObject(NULL_PEN)), GetStockObject(BLACK_PEN));
    EXPECT_FALSE(DeleteObject(dc));  // a device context goes through DeleteDC
    EXPECT_TRUE(DeleteDC(dc));
    EXPECT_TRUE(DeleteObject(pen));
    EXPECT_TRUE(DeleteObject(brush));
    EXPECT_EQ(LiveObjectCount(), start);
}

TEST(GdiHandles, UnknownDeletedAndForeignHandlesFailAndChangeNothing) {
    const HDC dc = CreateSurfaceDC(4, 4, RGB(7, 7, 7));
    const HDC gone = CreateSurfaceDC(4, 4, 0);
    const HPEN deadPen = CreatePen(PS_SOLID, 1, 0);
    ASSERT_TRUE(DeleteDC(gone));
    ASSERT_TRUE(DeleteObject(deadPen));
    const std::size_t count = LiveObjectCount();
    for (HDC bad : {HDC{0}, HDC{-1}, gone, deadPen, HDC{INT_MAX}, HDC{INT_MIN}}) {
        EXPECT_EQ(SelectObject(bad, GetStockObject(WHITE_PEN)), 0);
        EXPECT_FALSE(DeleteDC(bad));
        EXPECT_FALSE(MoveToEx(bad, 1, 1, nullptr));
        EXPECT_FALSE(LineTo(bad, 3, 3));
        EXPECT_FALSE(Ellipse(bad, 0, 0, 3, 3));
        EXPECT_EQ(GetPixel(bad, 0, 0), CLR_INVALID);
        EXPECT_EQ(SetPixel(bad, 0, 0, 0), CLR_INVALID);
        EXPECT_FALSE(FillSurface(bad, 0));
        EXPECT_FALSE(ResizeSurface(bad, 2, 2, 0));
        EXPECT_EQ(GetSurfaceBits(bad).pixels, nullptr);
        EXPECT_FALSE(BitBlt(dc, 0, 0, 4, 4, bad, 0, 0, SRCCOPY));
        EXPECT_FALSE(BitBlt(bad, 0, 0, 4, 4, dc, 0, 0, SRCCOPY));
        EXPECT_FALSE(GdiTransparentBlt(dc, 0, 0, 4, 4, bad, 0, 0, 4, 4, 0));
        if (bad != 0 && bad != -1) {
            EXPECT_FALSE(DeleteObject(bad));
        }
        // A device context or a dead object is no pen or brush to select.
        EXPECT_EQ(SelectObject(dc, bad), 0);
    }
    EXPECT_EQ(SelectObject(dc, dc), 0);
    EXPECT_EQ(LiveObjectCount(), count);
    EXPECT_EQ(GetPixel(dc, 3, 3), RGB(7, 7, 7));
    EXPECT_TRUE(DeleteDC(dc));
}

TEST(GdiHandles, StaleHandleNeverReachesALaterObject) {
    const HPEN stale = CreatePen(PS_SOLID, 1, 0);
    ASSERT_TRUE(DeleteObject(stale));
    for (int i = 0; i < 50000; ++i) {
        const HBRUSH b = CreateSolidBrush(static_cast<COLORREF>(i));
        ASSERT_NE(b, stale);
        ASSERT_GT(b, 0);
        ASSERT_TRUE(DeleteObject(b));
    }
    EXPECT_FALSE(DeleteObject(stale));
}

// GDI keeps a pen or brush alive while a device context still draws with it:
// DeleteObject succeeds, the handle dies at once, the object goes on deselection.
TEST(GdiHandles, PenDeletedWhileSelectedStaysInUseUntilDeselected) {
    const std::size_t start = LiveObjectCount();
    const HDC dc = CreateSurfaceDC(10, 10, RGB(255, 255, 255));
    const HPEN red = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
    SelectObject(dc, red);
    EXPECT_TRUE(DeleteObject(red));
    EXPECT_EQ(LiveObjectCount(), start + 2);  // still drawn with
    EXPECT_FALSE(DeleteObject(red));
    const HDC other = CreateSurfaceDC(4, 4, 0);
    EXPECT_EQ(SelectObject(other, red), 0);
    EXPECT_TRUE(MoveToEx(dc, 0, 5, nullptr));
    EXPECT_TRUE(LineTo(dc, 10, 5));
    EXPECT_EQ(GetPixel(dc, 4, 5), RGB(255, 0, 0));
    EXPECT_EQ(SelectObject(dc, GetStockObject(BLACK_PEN)), red);
    EXPECT_EQ(LiveObjectCount(), start + 2);  // the pen is gone, the two surfaces stay
    EXPECT_TRUE(DeleteDC(other));
    EXPECT_TRUE(DeleteDC(dc));
    EXPECT_EQ(LiveObjectCount(), start);
}

TEST(GdiHandles, BrushDeletedWhileSelectedIntoTwoGoesWithTheLastDeviceContext) {
    const std::size_t start = LiveObjectCount();
    const HDC a = CreateSurfaceDC(6, 6, 0), b = CreateSurfaceDC(6, 6, 0);
    const HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
    SelectObject(a, blue);
    SelectObject(b, blue);
    EXPECT_TRUE(DeleteObject(blue));
    EXPECT_TRUE(DeleteDC(a));
    EXPECT_EQ(LiveObjectCount(), start + 2);
    EXPECT_TRUE(Ellipse(b, 0, 0, 6, 6));
    EXPECT_EQ(GetPixel(b, 3, 3), RGB(0, 0, 255));
    EXPECT_TRUE(DeleteDC(b));
    EXPECT_EQ(LiveObjectCount(), start);
}

// Thousands of calls with wild arguments and handles, live, dead and made up.
// Under the sanitizer build any stray read or write stops the run.
TEST(GdiHandles, SurvivesWildCallsAndLeavesNothingBehind) {
    const std::size_t start = LiveObjectCount();
    std::mt19937 rng(20240601);
    auto pick = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    auto wild = [&] {
        switch (pick(0, 5)) {
            case 0:
                return pick(INT_MIN, INT_MAX);
            case 1:
                return pick(0, 1) ? INT_MAX - pick(0, 3) : INT_MIN + pick(0, 3);
            case 2:
                return pick(-100000, 100000);
            default:
                return pick(-40, 80);
        }
    };
    std::vector<HANDLE> made;
    auto any = [&]() -> HANDLE {
        if (made.empty() || pick(0, 9) == 0) return wild();
        return made[static_cast<std::size_t>(pick(0, static_cast<int>(made.size()) - 1))];
    };
    for (int i = 0; i < 20000; ++i) {
        switch (pick(0, 13)) {
            case 0:
                made.push_back(CreateSurfaceDC(pick(-2, 70), pick(-2, 70), wild()));
                break;
            case 1:
                made.push_back(CreatePen(pick(0, 1) ? PS_SOLID : PS_NULL, pick(0, 1) ? pick(-3, 12) : wild(), wild()));
                break;
            case 2:
                made.push_back(CreateSolidBrush(wild()));
                break;
            case 3:
                SelectObject(any(), any());
                break;
            case 4:
                DeleteObject(any());
                break;
            case 5:
                DeleteDC(any());
                break;
            case 6:
                MoveToEx(any(), wild(), wild(), nullptr);
                LineTo(any(), wild(), wild());
                break;
            case 7:
                Ellipse(any(), wild(), wild(), wild(), wild());
                break;
            case 8:
                BitBlt(any(), wild(), wild(), wild(), wild(), any(), wild(), wild(), pick(0, 1) ? SRCCOPY : SRCAND);
                break;
            case 9:
                GdiTransparentBlt(any(), wild(), wild(), pick(-5, 90), pick(-5, 90), any(), wild(), wild(),
                                  pick(-5, 60), pick(-5, 60), wild());
                break;
            case 10:
                SetPixel(any(), wild(), wild(), wild());
                GetPixel(any(), wild(), wild());
                break;
            case 11:
                ResizeSurface(any(), pick(-2, 90), pick(-2, 90), wild());
                break;
            case 12:
                FillSurface(any(), wild());
                break;
            default: {
                const SurfaceBits bits = GetSurfaceBits(any());
                if (bits.pixels != nullptr && bits.width > 0 && bits.height > 0)
                    bits.pixels[static_cast<std::size_t>(bits.width) * static_cast<std::size_t>(bits.height) - 1] ^= 1;
            }
        }
    }
    for (HANDLE h : made) {
        if (!DeleteDC(h)) DeleteObject(h);
    }
    // Pens and brushes deleted while selected went with their device contexts.
    EXPECT_EQ(LiveObjectCount(), start);
}

}  // namespace
