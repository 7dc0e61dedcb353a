// Calls the raster layer at the edges of what it accepts, as the fuzzer found them:
// each must finish at once and stay inside the surfaces, either drawing or refusing.
#include <gtest/gtest.h>

#include "platform/gdi/Gdi.h"

namespace {

class RasterLimits : public ::testing::Test {
protected:
    void TearDown() override {
        gdi::DeleteObject(gdi::SelectObject(dc, gdi::GetStockObject(gdi::BLACK_PEN)));
        gdi::DeleteDC(dc);
    }
    void UsePen(int width) {
        gdi::DeleteObject(gdi::SelectObject(dc, gdi::CreatePen(gdi::PS_SOLID, width, gdi::RGB(0, 0, 255))));
    }

    gdi::HDC dc = gdi::CreateSurfaceDC(64, 64, gdi::RGB(255, 255, 255));
};

// A wide pen stamps its round end at every outline point: the widest pen on the
// largest box would run for many minutes, a long thin box with a modest pen for seconds.
TEST_F(RasterLimits, WidePenOnHugeEllipseIsRefused) {
    UsePen(65536);
    EXPECT_EQ(gdi::Ellipse(dc, 0, 0, 262144, 262144), gdi::FALSE);
    UsePen(175);
    EXPECT_EQ(gdi::Ellipse(dc, 4, 12, -37, 262144), gdi::FALSE);
    EXPECT_EQ(gdi::GetPixel(dc, 10, 10), gdi::RGB(255, 255, 255));
}

TEST_F(RasterLimits, WidePenOnOrdinaryEllipseStillDraws) {
    UsePen(8);
    EXPECT_EQ(gdi::Ellipse(dc, -2000, -2000, 2000, 2000), gdi::TRUE);  // outline far outside: nothing lands here
    EXPECT_EQ(gdi::Ellipse(dc, 0, 0, 64, 64), gdi::TRUE);
    EXPECT_EQ(gdi::GetPixel(dc, 0, 32), gdi::RGB(0, 0, 255));  // the outline's leftmost point
    UsePen(1);
    EXPECT_EQ(gdi::Ellipse(dc, 0, 0, 262144, 262144), gdi::TRUE);  // the 1-pixel outline is cheap at any size
}

// A surface may have no pixels at all; an enlarging keyed copy aimed at it must not
// compute a row address from nothing (the sanitizer build reports it).
TEST_F(RasterLimits, EnlargingKeyedCopyOntoSurfaceWithoutPixels) {
    const gdi::HDC empty = gdi::CreateSurfaceDC(0, 5, 0);
    const gdi::HDC src = gdi::CreateSurfaceDC(4, 4, gdi::RGB(0, 0, 255));
    EXPECT_EQ(gdi::GdiTransparentBlt(empty, 20, 0, 8, 8, src, 0, 0, 4, 4, gdi::RGB(255, 255, 255)), gdi::TRUE);
    EXPECT_EQ(gdi::GdiTransparentBlt(dc, -3, 0, 8, 8, src, 0, 0, 4, 4, gdi::RGB(255, 255, 255)), gdi::TRUE);
    EXPECT_EQ(gdi::GetPixel(dc, 4, 7), gdi::RGB(0, 0, 255));  // the part right of the left edge still lands
    EXPECT_EQ(gdi::GetPixel(dc, 5, 0), gdi::RGB(255, 255, 255));
    gdi::DeleteDC(src);
    gdi::DeleteDC(empty);
}

}  // namespace
