#include "platform/toolkit/Frame.h"

#include <gtest/gtest.h>

#include "support/TestForm.h"

namespace {

using testsupport::PixelAt;
using testsupport::TestForm;

TEST(Frame, ComposesSurfacesInOrderAndBlendsImages) {
    TestForm form;
    toolkit::Frame frame(form);
    const gdi::SurfaceBits bits = frame.Compose({0, 0, 200, 120});
    EXPECT_EQ(PixelAt(bits, 0, 0), gdi::ToPixel(gdi::RGB(10, 20, 30)));
    EXPECT_EQ(PixelAt(bits, 15, 15), 0xFFFF0000u);
    EXPECT_EQ(PixelAt(bits, 45, 15), 0xFF0000FFu);    // the later surface lies on top
    EXPECT_EQ(PixelAt(bits, 150, 100), 0xFF858A8Fu);  // half white over the form's colour
    EXPECT_EQ(PixelAt(bits, 151, 100), 0xFF00FF00u);
    EXPECT_EQ(frame.SurfaceAt(45, 15), &form.Over);
    EXPECT_EQ(frame.SurfaceAt(15, 49.5), &form.Under);
    EXPECT_EQ(frame.SurfaceAt(15, 50), nullptr);
}

// A surface without a persistent image loses its drawing when painted, so only those the update meets are.
TEST(Frame, PaintsOnlyTheSurfacesTheUpdateMeets) {
    TestForm form;
    form.Under.AutoRedraw(false);
    gdi::SetPixel(form.Under.hDC(), 1, 1, gdi::RGB(1, 2, 3));
    toolkit::Frame frame(form);
    frame.Compose({100, 0, 200, 120});
    EXPECT_EQ(gdi::GetPixel(form.Under.hDC(), 1, 1), gdi::RGB(1, 2, 3));
    frame.Compose({0, 0, 20, 20});
    EXPECT_EQ(gdi::GetPixel(form.Under.hDC(), 1, 1), gdi::RGB(255, 0, 0));
}

// Over the surface's image, never in it: white with black dashes along the cursor's cell.
TEST(Frame, DrawsTheCursorsFocusFrameOverItsCellWhileItShows) {
    TestForm form;
    toolkit::Frame frame(form);
    EXPECT_EQ(PixelAt(frame.Compose({0, 0, 200, 120}), 10, 10), 0xFFFF0000u);
    form.Table.Visible = true;
    const gdi::SurfaceBits bits = frame.Compose({0, 0, 200, 120});
    EXPECT_EQ(PixelAt(bits, 10, 10), 0xFF000000u);
    EXPECT_EQ(PixelAt(bits, 14, 10), 0xFFFFFFFFu);
    EXPECT_EQ(PixelAt(bits, 20, 20), 0xFFFF0000u);  // inside the frame
    EXPECT_EQ(PixelAt(bits, 36, 10), 0xFFFF0000u);  // the next cell
    EXPECT_EQ(gdi::GetPixel(form.Under.hDC(), 0, 0), gdi::RGB(255, 0, 0));
}

}  // namespace
