#include "support/BoardWindow.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

using namespace BoardTest;

namespace {

struct Property {
    const char* Name;
    std::function<std::int32_t(const Grid&)> Get;
    std::function<void(Grid&, std::int32_t)> Set;
};

#define PROPERTY(Name)                                                                             \
    Property {                                                                                     \
#Name, [](const Grid& G) { return G.Name(); }, [](Grid & G, std::int32_t V) { G.Name(V); } \
    }

TEST(GridProperties, StartAtZeroAndEachKeepsItsOwnValue) {
    const std::vector<Property> Properties = {
        PROPERTY(BackgroundDC),     PROPERTY(BluePieceDC),    PROPERTY(RedPieceDC),      PROPERTY(BoardDC),
        PROPERTY(SelectDC),         PROPERTY(BoardWidth),     PROPERTY(BoardHeight),     PROPERTY(BackgroundWidth),
        PROPERTY(BackgroundHeight), PROPERTY(BluePieceWidth), PROPERTY(BluePieceHeight), PROPERTY(RedPieceWidth),
        PROPERTY(RedPieceHeight)};
    Grid Board;
    for (const Property& P : Properties) EXPECT_EQ(P.Get(Board), 0) << P.Name;
    for (std::size_t I = 0; I < Properties.size(); ++I) Properties[I].Set(Board, static_cast<std::int32_t>(1000 + I));
    for (std::size_t I = 0; I < Properties.size(); ++I)
        EXPECT_EQ(Properties[I].Get(Board), static_cast<std::int32_t>(1000 + I)) << Properties[I].Name;
}

class GridDrawing : public ::testing::Test {
protected:
    BoardWindow Board{300, 300};
    Grid& Drawing = Global::GameGrid();
};

TEST_F(GridDrawing, GridLinesCrossTheWholeBoardInTheBoardsOwnPen) {
    Drawing.Draw();
    for (int I = 0; I < 300; ++I) {
        ASSERT_EQ(Board.Pixel(100, I), BoardPen) << "y " << I;
        ASSERT_EQ(Board.Pixel(200, I), BoardPen) << "y " << I;
        ASSERT_EQ(Board.Pixel(I, 100), BoardPen) << "x " << I;
        ASSERT_EQ(Board.Pixel(I, 200), BoardPen) << "x " << I;
    }
    // Four one-pixel lines meeting in four points, and no frame.
    EXPECT_EQ(Board.CountAll(BoardPen), 4 * 300 - 4);
    EXPECT_EQ(Board.CountAll(BoardBack), 300 * 300 - (4 * 300 - 4));
}

TEST_F(GridDrawing, GridLinesOnAnOddBoardSitOnTheNearestPixel) {
    Board.Window.Board.Width(385);
    Board.Window.Board.Height(200);
    Drawing.Draw();
    // 385 / 3 = 128.33 and 256.67; 200 / 3 = 66.67 and 133.33.
    EXPECT_EQ(Board.Pixel(128, 10), BoardPen);
    EXPECT_EQ(Board.Pixel(257, 10), BoardPen);
    EXPECT_EQ(Board.Pixel(256, 10), BoardBack);
    EXPECT_EQ(Board.Pixel(10, 67), BoardPen);
    EXPECT_EQ(Board.Pixel(10, 133), BoardPen);
    EXPECT_EQ(Board.Pixel(10, 66), BoardBack);
}

TEST_F(GridDrawing, WithoutBackgroundNothingIsTiled) {
    Drawing.DrawBack();
    EXPECT_EQ(Board.CountAll(BoardBack), 300 * 300);
}

// A tile marked red at its top-left and blue at its bottom-right pixel shows where every copy landed.
toolkit::StdPicture MarkedTile(int Width, int Height) {
    return MakePicture(Width, Height, [=](int X, int Y) {
        if (X == 0 && Y == 0) return Red;
        if (X == Width - 1 && Y == Height - 1) return Blue;
        return gdi::RGB(90, 60, 30);
    });
}

TEST_F(GridDrawing, BackgroundTilesCoverTheBoardUnscaledColumnByColumn) {
    Board.UsePicture(1, MarkedTile(100, 100));
    Drawing.DrawBack();
    EXPECT_EQ(Board.CountAll(BoardBack), 0);
    EXPECT_EQ(Board.CountAll(Red), 9);
    EXPECT_EQ(Board.CountAll(Blue), 9);
    for (int X = 0; X < 300; X += 100)
        for (int Y = 0; Y < 300; Y += 100) {
            EXPECT_EQ(Board.Pixel(X, Y), Red) << X << "," << Y;
            EXPECT_EQ(Board.Pixel(X + 99, Y + 99), Blue) << X << "," << Y;
        }
}

TEST_F(GridDrawing, TilesThatDoNotDivideTheBoardReachPastItsEdge) {
    // 350 / 100 and 330 / 60 leave partial tiles: columns 0..300 and rows 0..300 must all be copied.
    Board.Window.Board.Width(350);
    Board.Window.Board.Height(330);
    Board.UsePicture(1, MarkedTile(100, 60));
    Drawing.Draw();
    EXPECT_EQ(Board.CountAll(BoardBack), 0);
    EXPECT_EQ(Board.CountAll(Red), 4 * 6);
    EXPECT_EQ(Board.Pixel(300, 300), Red);
    EXPECT_EQ(Board.Pixel(299, 299), Blue);
    // The grid lines go over the tiles.
    EXPECT_EQ(Board.Pixel(117, 10), BoardPen);
    EXPECT_EQ(Board.Pixel(10, 110), BoardPen);
}

bool IsBlue(gdi::COLORREF C) { return C == Blue; }

TEST_F(GridDrawing, MissingBluePictureDrawsATwoPixelCrossAcrossTheCell) {
    Global::Cells(1, 2) = Global::CodeBlue;
    Drawing.DrawPiece(1, 2);
    EXPECT_EQ(Board.Pixel(150, 250), Blue);
    for (int K = 5; K < 95; K += 10) {
        EXPECT_EQ(Board.Pixel(100 + K, 200 + K), Blue) << K;
        EXPECT_EQ(Board.Pixel(200 - K, 200 + K), Blue) << K;
    }
    // Wider than one pixel: each diagonal crosses row 220 in at least two pixels.
    EXPECT_GE(Board.Count(100, 220, 150, 221, IsBlue), 2);
    EXPECT_GE(Board.Count(150, 220, 200, 221, IsBlue), 2);
    EXPECT_EQ(Board.Pixel(150, 210), BoardBack);
    // Nothing outside the cell, give or take the pen's width.
    EXPECT_EQ(Board.CountAll(Blue), Board.Count(98, 198, 203, 300, IsBlue));
}

TEST_F(GridDrawing, MissingRedPictureDrawsAnOutlinedDiscInTheCell) {
    Global::Cells(0, 0) = Global::CodeRed;
    Drawing.DrawPiece(0, 0);
    EXPECT_EQ(Board.Pixel(50, 50), Red);
    EXPECT_EQ(Board.Pixel(5, 50), Red);
    EXPECT_EQ(Board.Pixel(50, 0), Black);
    EXPECT_EQ(Board.Pixel(0, 50), Black);
    EXPECT_EQ(Board.Pixel(0, 0), BoardBack);
    EXPECT_EQ(Board.Pixel(99, 99), BoardBack);
    const auto Drawn = [](gdi::COLORREF C) { return C != BoardBack; };
    EXPECT_EQ(Board.Count(0, 0, 300, 300, Drawn), Board.Count(0, 0, 100, 100, Drawn));
}

TEST_F(GridDrawing, DiscKeepsToItsCellOnABoardThatIsNotSquare) {
    Board.Window.Board.Height(150);
    Global::Cells(0, 0) = Global::CodeRed;
    Drawing.DrawPiece(0, 0);
    EXPECT_EQ(Board.Pixel(50, 25), Red);
    EXPECT_EQ(Board.Pixel(50, 49), Black);
    EXPECT_EQ(Board.Count(0, 51, 300, 150, [](gdi::COLORREF C) { return C != BoardBack; }), 0);
}

TEST_F(GridDrawing, ShapePensStaySelectedForTheNextGridLines) {
    Global::Cells(0, 0) = Global::CodeBlue;
    Drawing.DrawPiece(0, 0);
    Board.Window.Board.Cls();
    Drawing.Draw();
    EXPECT_EQ(Board.Pixel(200, 50), Blue);
    EXPECT_GE(Board.Count(195, 50, 205, 51, IsBlue), 2);

    Global::Cells(0, 0) = Global::CodeRed;
    Drawing.DrawPiece(0, 0);
    Board.Window.Board.Cls();
    Drawing.Draw();
    EXPECT_EQ(Board.Pixel(200, 50), Black);
    EXPECT_EQ(Board.Count(195, 50, 205, 51, gdi::RGB(0, 0, 0)), 1);
}

TEST_F(GridDrawing, ShapesReplaceAndDeleteTheirPensAndBrushes) {
    const std::size_t Before = gdi::LiveObjectCount();
    Global::Cells(0, 0) = Global::CodeBlue;
    Drawing.DrawPiece(0, 0);
    // The board's own pen gave way to the blue one and was deleted with it.
    EXPECT_EQ(gdi::LiveObjectCount(), Before);
    for (int I = 0; I < 100; ++I) {
        Global::Cells(1, 1) = I % 2 == 0 ? Global::CodeRed : Global::CodeBlue;
        Drawing.DrawPiece(1, 1);
    }
    // One pen and the red brush stay selected; everything replaced was deleted.
    EXPECT_LE(gdi::LiveObjectCount(), Before + 1);
}

TEST_F(GridDrawing, EmptyCellDrawsNothing) {
    Drawing.Draw();
    const auto Before = Board.Snapshot();
    const std::size_t Objects = gdi::LiveObjectCount();
    Drawing.DrawPiece(2, 2);
    EXPECT_EQ(Board.Snapshot(), Before);
    EXPECT_EQ(gdi::LiveObjectCount(), Objects);
}

TEST_F(GridDrawing, PiecePictureIsDrawnFullSizeFromTheCornerWithoutItsWhite) {
    const gdi::COLORREF Piece = gdi::RGB(10, 200, 30);
    Board.UsePicture(2, MakePicture(128, 128, [=](int X, int) { return X < 64 ? White : Piece; }));
    Global::Cells(0, 0) = Global::CodeBlue;
    Drawing.DrawPiece(0, 0);
    EXPECT_EQ(Board.Pixel(64, 0), Piece);
    EXPECT_EQ(Board.Pixel(127, 127), Piece);  // 28 pixels into the neighbouring cells
    EXPECT_EQ(Board.Pixel(128, 50), BoardBack);
    EXPECT_EQ(Board.Pixel(50, 128), BoardBack);
    EXPECT_EQ(Board.Pixel(30, 30), BoardBack);  // the white half leaves the board showing
    EXPECT_EQ(Board.CountAll(Piece), 64 * 128);
}

TEST_F(GridDrawing, PiecePictureCornerIsTheNearestPixel) {
    Board.Window.Board.Width(385);
    Board.Window.Board.Height(385);
    const gdi::COLORREF Piece = gdi::RGB(200, 20, 20);
    Board.UsePicture(3, SolidPicture(20, 20, Piece));
    Global::Cells(2, 1) = Global::CodeRed;
    Drawing.DrawPiece(2, 1);
    // 385 / 3 x 2 = 256.67 and 385 / 3 = 128.33.
    EXPECT_EQ(Board.Pixel(257, 128), Piece);
    EXPECT_EQ(Board.Pixel(276, 147), Piece);
    EXPECT_EQ(Board.CountAll(Piece), 400);
}

bool IsGreenOnly(gdi::COLORREF C) { return gdi::GetRValue(C) == 0 && gdi::GetBValue(C) == 0 && gdi::GetGValue(C) > 0; }

TEST_F(GridDrawing, HighlightKeepsOnlyTheGreenOfOneCell) {
    Board.Window.Board.BackColor(White);
    Drawing.Draw();
    Drawing.SelectPiece(2, 1);
    EXPECT_EQ(Board.Pixel(250, 150), Green);
    EXPECT_EQ(Board.Pixel(200, 150), gdi::RGB(0, 170, 0));  // a grid-line pixel inside the block
    EXPECT_EQ(Board.Count(0, 0, 300, 300, IsGreenOnly), 100 * 100);
    EXPECT_EQ(Board.Count(200, 100, 300, 200, IsGreenOnly), 100 * 100);
}

TEST_F(GridDrawing, HighlightOnAnOddBoardCoversTheRoundedCell) {
    Board.Window.Board.Width(385);
    Board.Window.Board.Height(385);
    Board.Window.Board.BackColor(White);
    Global::RefreshGridSurfaces();
    Drawing.SelectPiece(2, 1);
    EXPECT_EQ(Board.Count(0, 0, 385, 385, IsGreenOnly), 128 * 128);
    EXPECT_EQ(Board.Pixel(257, 128), Green);
    EXPECT_EQ(Board.Pixel(384, 255), Green);
    EXPECT_EQ(Board.Pixel(256, 128), White);
    EXPECT_EQ(Board.Pixel(384, 256), White);
}

}  // namespace
