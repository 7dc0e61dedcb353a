#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/gdi/Gdi.h"
#include "platform/toolkit/ControlArray.h"
#include "platform/toolkit/PictureBox.h"
#include "support/RecordingView.h"

namespace {

using gdi::GetPixel;
using gdi::RGB;
using toolkit::PictureBox;

constexpr gdi::COLORREF Grey = RGB(224, 224, 224);
constexpr gdi::COLORREF Red = RGB(255, 0, 0);
constexpr gdi::COLORREF Green = RGB(0, 255, 0);

PictureBox::Design SurfaceDesign(int width, int height, gdi::COLORREF back = Grey) {
    PictureBox::Design design;
    design.Left = 32;
    design.Top = 32;
    design.Width = width;
    design.Height = height;
    design.BackColor = back;
    design.ForeColor = RGB(170, 170, 170);
    return design;
}

// A picture whose pixel (x, y) is opaque RGB(x, y, 7), handy to check placement.
toolkit::StdPicture Gradient(int width, int height) {
    auto picture = std::make_shared<toolkit::Picture>();
    picture->Width = width;
    picture->Height = height;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture->Pixels.push_back(0xFF000000u | (std::uint32_t(x) << 16) | (std::uint32_t(y) << 8) | 7u);
    return picture;
}

void Mark(gdi::HDC hdc, int x, int y) { gdi::SetPixel(hdc, x, y, Red); }

TEST(PictureBoxTest, StartsWithItsDesignAndAPenOfItsForeColor) {
    PictureBox board(SurfaceDesign(385, 385));
    EXPECT_NE(board.hDC(), 0);
    EXPECT_EQ(board.ScaleWidth(), 385.0f);
    EXPECT_EQ(board.ScaleHeight(), 385.0f);
    EXPECT_EQ(board.Width(), 385.0f);
    EXPECT_EQ(board.Left(), 32);
    EXPECT_EQ(GetPixel(board.hDC(), 0, 0), Grey);
    EXPECT_EQ(GetPixel(board.hDC(), 384, 384), Grey);

    // Lines drawn without selecting a pen take the surface's own pen.
    gdi::MoveToEx(board.hDC(), 0, 10, nullptr);
    gdi::LineTo(board.hDC(), 100, 10);
    EXPECT_EQ(GetPixel(board.hDC(), 50, 10), RGB(170, 170, 170));
    EXPECT_EQ(GetPixel(board.hDC(), 50, 11), Grey);
}

TEST(PictureBoxTest, PictureIsDrawnAtTheTopLeftOverTheBackColor) {
    PictureBox box(SurfaceDesign(20, 20));
    box.Picture(Gradient(5, 4));
    EXPECT_EQ(box.Width(), 20.0f) << "a surface without AutoSize keeps its size";
    EXPECT_EQ(GetPixel(box.hDC(), 3, 2), RGB(3, 2, 7));
    EXPECT_EQ(GetPixel(box.hDC(), 5, 0), Grey);
    EXPECT_EQ(GetPixel(box.hDC(), 0, 4), Grey);

    box.Picture(nullptr);
    EXPECT_EQ(box.Picture(), nullptr);
    EXPECT_EQ(GetPixel(box.hDC(), 3, 2), Grey);
}

TEST(PictureBoxTest, AutoSizingSurfaceTakesThePicturesSizeAndKeepsItWhenCleared) {
    auto design = SurfaceDesign(33, 33, RGB(255, 255, 255));
    design.AutoSize = true;
    PictureBox staging(design);
    staging.Picture(Gradient(240, 154));
    EXPECT_EQ(staging.Width(), 240.0f);
    EXPECT_EQ(staging.Height(), 154.0f);
    EXPECT_EQ(staging.ScaleWidth(), 240.0f);
    EXPECT_EQ(GetPixel(staging.hDC(), 239, 153), RGB(239, 153, 7));

    staging.Picture(Gradient(13, 385));
    EXPECT_EQ(staging.Width(), 13.0f);
    EXPECT_EQ(staging.Height(), 385.0f);

    staging.Picture(nullptr);
    EXPECT_EQ(staging.Width(), 13.0f);
    EXPECT_EQ(GetPixel(staging.hDC(), 0, 0), RGB(255, 255, 255));
}

TEST(PictureBoxTest, TransparentPicturePixelsShowTheBackColor) {
    auto picture = std::make_shared<toolkit::Picture>();
    picture->Width = 3;
    picture->Height = 1;
    picture->Pixels = {0x00000000u, 0xFF0000FFu, 0x80FF0000u};  // clear, opaque blue, half red
    auto design = SurfaceDesign(3, 1, RGB(255, 255, 255));
    PictureBox box(design);
    box.Picture(picture);
    EXPECT_EQ(GetPixel(box.hDC(), 0, 0), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(box.hDC(), 1, 0), RGB(0, 0, 255));
    EXPECT_EQ(GetPixel(box.hDC(), 2, 0), RGB(255, 127, 127));
}

TEST(PictureBoxTest, ADesignedPictureShowsFromTheStartAndEveryEraseRedrawsItWhole) {
    auto picture = std::make_shared<toolkit::Picture>();
    picture->Width = 2;
    picture->Height = 2;
    picture->Pixels = {0xFF0000FFu, 0x00000000u, 0xFF00FF00u, 0xFF00FF00u};
    auto design = SurfaceDesign(4, 3);
    design.Picture = picture;
    PictureBox box(design);
    const auto expectBackground = [&box](gdi::COLORREF back) {
        EXPECT_EQ(GetPixel(box.hDC(), 0, 0), RGB(0, 0, 255));
        EXPECT_EQ(GetPixel(box.hDC(), 1, 0), back) << "a clear picture pixel shows the BackColor";
        EXPECT_EQ(GetPixel(box.hDC(), 1, 1), RGB(0, 255, 0));
        EXPECT_EQ(GetPixel(box.hDC(), 3, 1), back) << "right of the picture";
        EXPECT_EQ(GetPixel(box.hDC(), 0, 2), back) << "below the picture";
    };
    expectBackground(Grey);

    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) Mark(box.hDC(), x, y);
    box.Cls();
    expectBackground(Grey);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) Mark(box.hDC(), x, y);
    box.BackColor(Green);
    expectBackground(Green);
}

TEST(PictureBoxTest, BackColorAndClsEraseEverythingButThePicture) {
    PictureBox box(SurfaceDesign(40, 40));
    Mark(box.hDC(), 30, 30);
    box.BackColor(Green);
    EXPECT_EQ(box.BackColor(), Green);
    EXPECT_EQ(GetPixel(box.hDC(), 30, 30), Green);
    EXPECT_EQ(GetPixel(box.hDC(), 0, 0), Green);

    box.Picture(Gradient(10, 10));
    Mark(box.hDC(), 30, 30);
    Mark(box.hDC(), 1, 1);
    box.Cls();
    EXPECT_EQ(GetPixel(box.hDC(), 30, 30), Green);
    EXPECT_EQ(GetPixel(box.hDC(), 1, 1), RGB(1, 1, 7)) << "the picture is the surface's background";
}

TEST(PictureBoxTest, ResizingKeepsTheTopLeftContentAndFillsWithTheBackColor) {
    PictureBox box(SurfaceDesign(10, 10));
    Mark(box.hDC(), 2, 3);
    Mark(box.hDC(), 9, 9);
    testsupport::PlainForm form({"Surface", 200, 200});
    form.Place(box);
    testsupport::RecordingView view(form);

    box.Width(130.4f);
    box.Height(129.5f);  // halves go to the even neighbour
    EXPECT_EQ(box.Width(), 130.0f);
    EXPECT_EQ(box.Height(), 130.0f);
    EXPECT_EQ(box.ScaleHeight(), 130.0f);
    EXPECT_EQ(view.Take("surface"), (std::vector<std::string>{"surface 130x10", "surface 130x130"}));
    EXPECT_EQ(GetPixel(box.hDC(), 2, 3), Red);
    EXPECT_EQ(GetPixel(box.hDC(), 9, 9), Red);
    EXPECT_EQ(GetPixel(box.hDC(), 129, 129), Grey);

    box.Width(5);
    EXPECT_EQ(GetPixel(box.hDC(), 2, 3), Red);
    EXPECT_EQ(gdi::GetSurfaceBits(box.hDC()).width, 5);

    EXPECT_THROW(box.Width(-1), std::out_of_range);
    EXPECT_THROW(box.Height(1e9f), std::out_of_range);
    EXPECT_EQ(box.Width(), 5.0f) << "a refused size changes nothing";
}

TEST(PictureBoxTest, AutoRedrawFalseGivesThePersistentImageUp) {
    PictureBox box(SurfaceDesign(20, 20));
    const gdi::HDC persistent = box.hDC();
    EXPECT_TRUE(box.AutoRedraw());

    box.AutoRedraw(false);
    EXPECT_FALSE(box.AutoRedraw());
    EXPECT_NE(box.hDC(), persistent);
    EXPECT_EQ(GetPixel(persistent, 0, 0), gdi::CLR_INVALID) << "the old image is gone";
    EXPECT_EQ(box.Width(), 20.0f) << "the marker keeps the surface's size";

    // What is drawn on a surface without an image does not survive its next paint.
    Mark(box.hDC(), 4, 4);
    EXPECT_EQ(GetPixel(box.Paint(), 4, 4), Grey);

    box.AutoRedraw(true);
    Mark(box.hDC(), 4, 4);
    EXPECT_EQ(GetPixel(box.Paint(), 4, 4), Red);
}

TEST(PictureBoxTest, RefreshRepaintsThroughTheFrontEndAtOnce) {
    PictureBox box(SurfaceDesign(20, 20));
    testsupport::PlainForm form({"Surface", 200, 200});
    form.Place(box);
    box.Refresh();  // no front end: nothing to do, no failure
    testsupport::RecordingView view(form);
    box.Refresh();
    EXPECT_EQ(view.Repaints, 1);
}

TEST(PictureBoxTest, DestroyedSurfacesFreeThePenAndBrushLeftSelectedInThem) {
    const std::size_t before = gdi::LiveObjectCount();
    {
        PictureBox box(SurfaceDesign(20, 20));
        box.AutoRedraw(false);
        box.AutoRedraw(true);
    }
    EXPECT_EQ(gdi::LiveObjectCount(), before);

    // Drawing code that swaps the surface's pen out deletes that one itself, as the board does, and leaves its
    // own pen and brush selected.
    gdi::HPEN blue = 0;
    {
        PictureBox box(SurfaceDesign(20, 20));
        blue = gdi::CreatePen(gdi::PS_SOLID, 2, RGB(0, 0, 255));
        gdi::DeleteObject(gdi::SelectObject(box.hDC(), blue));
        gdi::SelectObject(box.hDC(), gdi::CreateSolidBrush(RGB(0, 0, 255)));
    }
    EXPECT_EQ(gdi::LiveObjectCount(), before);
    EXPECT_FALSE(gdi::DeleteObject(blue)) << "the pen went with the surface";
}

TEST(PictureBoxTest, ASizeTheRasterLayerRefusesFailsAndKeepsTheSurface) {
    EXPECT_THROW(PictureBox(SurfaceDesign(PictureBox::MaxSide, PictureBox::MaxSide)), std::length_error);
    PictureBox box(SurfaceDesign(20, 30));
    box.Height(PictureBox::MaxSide);
    EXPECT_THROW(box.Width(PictureBox::MaxSide), std::length_error);
    const gdi::SurfaceBits bits = gdi::GetSurfaceBits(box.hDC());
    EXPECT_EQ(box.Width(), 20.0f);
    EXPECT_EQ(bits.width, 20);
    EXPECT_EQ(box.Height(), static_cast<float>(bits.height));
}

TEST(ControlArrayTest, LoadCopiesTheCurrentPropertiesOfElementZeroHidden) {
    auto design = SurfaceDesign(33, 33, RGB(255, 255, 255));
    design.Left = 536;
    design.AutoSize = true;
    design.Visible = true;
    toolkit::ControlArray<PictureBox> buff(0, design);

    buff(0).Width(50);
    buff(0).BackColor(Green);
    buff(0).AutoRedraw(false);
    buff.Load(1);
    PictureBox& copy = buff(1);
    EXPECT_EQ(buff.Count(), 2u);
    EXPECT_FALSE(copy.Visible());
    EXPECT_TRUE(buff(0).Visible());
    EXPECT_EQ(copy.Width(), 50.0f);
    EXPECT_EQ(copy.Height(), 33.0f);
    EXPECT_EQ(copy.Left(), 536);
    EXPECT_EQ(copy.BackColor(), Green);
    EXPECT_FALSE(copy.AutoRedraw());
    EXPECT_TRUE(copy.AutoSize());
    EXPECT_NE(copy.hDC(), buff(0).hDC()) << "each element has its own surface";

    // Later changes to element 0 do not reach the copy.
    buff(0).Picture(Gradient(7, 7));
    EXPECT_EQ(copy.Width(), 50.0f);
    EXPECT_EQ(copy.Picture(), nullptr);

    EXPECT_THROW(buff.Load(1), std::invalid_argument);
    EXPECT_THROW(buff(4), std::out_of_range);
}

}  // namespace
