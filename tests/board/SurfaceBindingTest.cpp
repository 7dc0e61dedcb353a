#include "support/BoardWindow.h"

#include "platform/toolkit/Runtime.h"
#include "support/ScratchFolder.h"
#include "support/TestPlatform.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <stdexcept>
#include <string>

using namespace BoardTest;
namespace fs = std::filesystem;

namespace {

// Picture files in a folder of their own; the decoder hands out the picture registered under the file's name.
class SurfaceBinding : public ::testing::Test {
protected:
    SurfaceBinding() {
        Platform.Decode = [this](const std::string& File) {
            ++Decodes;
            const auto Found = Pictures.find(fs::path(File).filename().string());
            if (Found == Pictures.end()) throw toolkit::PictureLoadError("not a picture");
            return Found->second;
        };
    }

    std::string AddFile(const std::string& Name, toolkit::StdPicture Picture) {
        std::ofstream(Folder / Name) << "picture";
        if (Picture) Pictures[Name] = std::move(Picture);
        return (Folder / Name).string();
    }
    std::string Missing(const std::string& Name) const { return (Folder / Name).string(); }

    toolkit::PictureBox& Buff(std::int16_t Index) { return Board.Window.Buff(Index); }

    // The buffers start bound, as after a start-up with every picture present.
    void MarkAllPresent() {
        for (std::int16_t Index = 1; Index <= 3; ++Index) Buff(Index).AutoRedraw(true);
    }

    const testsupport::ScratchFolder Scratch{"binding"};
    const fs::path& Folder = Scratch.Root();
    std::map<std::string, toolkit::StdPicture> Pictures;
    int Decodes = 0;
    testsupport::TestPlatform Platform;
    BoardWindow Board;
    Grid& Bound = Global::GameGrid();
};

TEST_F(SurfaceBinding, LoadCopiesThePictureAndLeavesTheStagingBufferEmpty) {
    MarkAllPresent();
    const toolkit::StdPicture Picture = MakePicture(40, 25, [](int X, int Y) {
        return gdi::RGB(static_cast<std::uint8_t>(X * 6), 0, static_cast<std::uint8_t>(Y * 9));
    });
    float StagedWidth = 0;
    float StagedHeight = 0;
    Board.View.OnSurfaceChanged = [&](toolkit::PictureBox& Surface) {
        if (&Surface != &Buff(0) || StagedWidth != 0) return;  // the first change gives the staged picture's size
        StagedWidth = Surface.Width();
        StagedHeight = Surface.Height();
    };
    Global::LoadPictureToBox(Buff(1), AddFile("Background.jpg", Picture));

    EXPECT_EQ(StagedWidth, 40);
    EXPECT_EQ(StagedHeight, 25);
    EXPECT_EQ(Buff(1).Width(), 40);
    EXPECT_EQ(Buff(1).Height(), 25);
    EXPECT_TRUE(Buff(1).AutoRedraw());
    EXPECT_EQ(Buff(0).Picture(), nullptr);
    for (int Y = 0; Y < 25; ++Y)
        for (int X = 0; X < 40; ++X)
            ASSERT_EQ(gdi::ToPixel(gdi::GetPixel(Buff(1).hDC(), X, Y)),
                      Picture->Pixels[static_cast<std::size_t>(Y * 40 + X)])
                << X << "," << Y;
}

// A photo as big as the screen would otherwise live three times over: as the picture, in the staging buffer and in
// its target.
TEST_F(SurfaceBinding, AnOpaquePictureIsSharedNotCopiedAndTheStagingBufferShrinksBack) {
    MarkAllPresent();
    const auto Photo = std::const_pointer_cast<toolkit::Picture>(toolkit::StdPicture(SolidPicture(400, 300, 0x302010)));
    Photo->Opaque = true;
    const float StagingWidth = Buff(0).Width();
    const std::size_t Before = gdi::OwnPixelCount();
    Global::LoadPictureToBox(Buff(1), AddFile("Background.jpg", Photo));

    EXPECT_LT(gdi::OwnPixelCount(), Before + 400 * 300);
    EXPECT_EQ(Buff(0).Width(), StagingWidth);
    EXPECT_EQ(Buff(1).Width(), 400);
    EXPECT_EQ(gdi::GetPixel(Buff(1).hDC(), 399, 299), 0x302010u);
    // Drawing on the target gives it pixels of its own first: the picture stays as it was.
    gdi::SetPixel(Buff(1).hDC(), 0, 0, 0xFF);
    EXPECT_EQ(gdi::GetPixel(Buff(1).hDC(), 0, 0), 0xFFu);
    EXPECT_EQ(Photo->Pixels[0], gdi::ToPixel(0x302010));
}

TEST_F(SurfaceBinding, MissingFileMarksOnlyItsTarget) {
    MarkAllPresent();
    const toolkit::StdPicture Staged = SolidPicture(50, 20, Red);
    Buff(0).Picture(Staged);
    Global::LoadPictureToBox(Buff(2), Missing("cross.gif"));
    EXPECT_FALSE(Buff(2).AutoRedraw());
    EXPECT_EQ(Buff(2).Width(), 33);
    EXPECT_EQ(Buff(2).Height(), 33);
    EXPECT_EQ(Buff(0).Picture(), Staged);
    EXPECT_EQ(Buff(0).Width(), 50);
    EXPECT_TRUE(Buff(1).AutoRedraw());
    EXPECT_TRUE(Buff(3).AutoRedraw());
    EXPECT_EQ(Decodes, 0);
}

TEST_F(SurfaceBinding, HiddenFilesAndFoldersCountAsMissing) {
    MarkAllPresent();
    Global::LoadPictureToBox(Buff(2), AddFile(".cross.gif", SolidPicture(5, 5, Red)));
    EXPECT_FALSE(Buff(2).AutoRedraw());
    fs::create_directories(Folder / "Bullet.gif");
    Global::LoadPictureToBox(Buff(3), (Folder / "Bullet.gif").string());
    EXPECT_FALSE(Buff(3).AutoRedraw());
    EXPECT_EQ(Decodes, 0);
}

TEST_F(SurfaceBinding, UnreadablePictureIsTheCallersError) {
    MarkAllPresent();
    EXPECT_THROW(Global::LoadPictureToBox(Buff(1), AddFile("Background.jpg", nullptr)), toolkit::PictureLoadError);
    EXPECT_TRUE(Buff(1).AutoRedraw());
}

TEST_F(SurfaceBinding, StartUpWithoutBackgroundBindsEverythingElse) {
    MarkAllPresent();
    Global::LoadPictureToBox(Buff(1), Missing("Background.jpg"));
    Global::LoadPictureToBox(Buff(2), AddFile("cross.gif", SolidPicture(70, 45, Blue)));
    Global::LoadPictureToBox(Buff(3), AddFile("Bullet.gif", SolidPicture(31, 64, Red)));
    Global::RefreshGridSurfaces();

    EXPECT_EQ(Bound.BackgroundDC(), 0);
    EXPECT_EQ(Bound.BackgroundWidth(), 0);
    EXPECT_EQ(Bound.BackgroundHeight(), 0);
    EXPECT_EQ(Bound.BluePieceDC(), Buff(2).hDC());
    EXPECT_EQ(Bound.BluePieceWidth(), 70);
    EXPECT_EQ(Bound.BluePieceHeight(), 45);
    EXPECT_EQ(Bound.RedPieceDC(), Buff(3).hDC());
    EXPECT_EQ(Bound.RedPieceWidth(), 31);
    EXPECT_EQ(Bound.RedPieceHeight(), 64);
    EXPECT_EQ(Bound.BoardDC(), Board.Window.Board.hDC());
    EXPECT_EQ(Bound.SelectDC(), Buff(0).hDC());
    EXPECT_NE(Bound.BluePieceDC(), 0);
    EXPECT_NE(Bound.RedPieceDC(), Bound.BluePieceDC());
}

TEST_F(SurfaceBinding, WithEveryPictureMissingBoardAndHighlightAreStillBound) {
    Global::ReleaseGameGrid();
    Global::RefreshGridSurfaces();
    Grid& Fresh = Global::GameGrid();
    for (const std::int32_t Value : {Fresh.BackgroundDC(), Fresh.BackgroundWidth(), Fresh.BackgroundHeight(),
                                     Fresh.BluePieceDC(), Fresh.BluePieceWidth(), Fresh.BluePieceHeight(),
                                     Fresh.RedPieceDC(), Fresh.RedPieceWidth(), Fresh.RedPieceHeight()})
        EXPECT_EQ(Value, 0);
    EXPECT_EQ(Fresh.BoardDC(), Board.Window.Board.hDC());
    EXPECT_NE(Fresh.BoardDC(), 0);
    EXPECT_EQ(Fresh.BoardWidth(), 300);
    EXPECT_EQ(Fresh.BoardHeight(), 300);
    EXPECT_EQ(Fresh.SelectDC(), Buff(0).hDC());
}

TEST_F(SurfaceBinding, MarkedBufferKeepsWhatWasBoundBefore) {
    MarkAllPresent();
    Global::RefreshGridSurfaces();
    const std::int32_t Before = Bound.BackgroundDC();
    Buff(1).AutoRedraw(false);
    Buff(1).Width(90);
    Global::RefreshGridSurfaces();
    EXPECT_EQ(Bound.BackgroundDC(), Before);
    EXPECT_EQ(Bound.BackgroundWidth(), 33);
}

TEST_F(SurfaceBinding, EveryRefreshReadsTheSurfacesAsTheyAreNow) {
    MarkAllPresent();
    const auto Values = [this] {
        return std::vector<std::int32_t>{Bound.BackgroundDC(),    Bound.BluePieceDC(),     Bound.RedPieceDC(),
                                         Bound.BoardDC(),         Bound.SelectDC(),        Bound.BoardWidth(),
                                         Bound.BoardHeight(),     Bound.BackgroundWidth(), Bound.BackgroundHeight(),
                                         Bound.BluePieceHeight(), Bound.BluePieceWidth(),  Bound.RedPieceHeight(),
                                         Bound.RedPieceWidth()};
    };
    Global::RefreshGridSurfaces();
    const auto First = Values();
    Global::RefreshGridSurfaces();
    EXPECT_EQ(Values(), First);

    Board.Window.Board.Width(240);
    Board.Window.Board.Height(180);
    Buff(2).Height(12);
    Global::RefreshGridSurfaces();
    EXPECT_EQ(Bound.BoardWidth(), 240);
    EXPECT_EQ(Bound.BoardHeight(), 180);
    EXPECT_EQ(Bound.BluePieceHeight(), 12);
    EXPECT_EQ(Bound.BluePieceWidth(), 33);
}

TEST_F(SurfaceBinding, LoadedPicturesAreWhatTheBoardDraws) {
    MarkAllPresent();
    Global::LoadPictureToBox(Buff(1), AddFile("Background.jpg", SolidPicture(64, 64, gdi::RGB(40, 80, 40))));
    Global::LoadPictureToBox(Buff(2), AddFile("cross.gif", SolidPicture(30, 30, gdi::RGB(0, 0, 200))));
    Global::LoadPictureToBox(Buff(3), Missing("Bullet.gif"));
    Buff(0).Width(130);
    Buff(0).Height(130);
    Global::RefreshGridSurfaces();
    Bound.Draw();
    Global::Cells(1, 1) = Global::CodeBlue;
    Bound.DrawPiece(1, 1);
    Global::Cells(2, 2) = Global::CodeRed;
    Bound.DrawPiece(2, 2);
    EXPECT_EQ(Board.Pixel(5, 5), gdi::RGB(40, 80, 40));
    EXPECT_EQ(Board.Pixel(110, 110), gdi::RGB(0, 0, 200));
    EXPECT_EQ(Board.Pixel(250, 250), Red);
}

}  // namespace
