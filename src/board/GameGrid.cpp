#include "board/Grid.h"

#include "board/BoardHost.h"
#include "board/Rounding.h"

#include <memory>

namespace Global {

namespace {
std::unique_ptr<Grid> TheGrid;
}

Grid& GameGrid() {
    if (!TheGrid) TheGrid = std::make_unique<Grid>();
    return *TheGrid;
}

void ReleaseGameGrid() { TheGrid.reset(); }

void RefreshGridSurfaces() {
    BoardHost& Window = TheBoardHost();
    Grid& Target = GameGrid();
    const toolkit::PictureBox& Background = Window.PictureBuffer(1);
    if (Background.AutoRedraw()) {
        Target.BackgroundDC(Background.hDC());
        Target.BackgroundWidth(Rounding::Nearest32(Background.ScaleWidth()));
        Target.BackgroundHeight(Rounding::Nearest32(Background.ScaleHeight()));
    }
    const toolkit::PictureBox& BluePiece = Window.PictureBuffer(2);
    if (BluePiece.AutoRedraw()) {
        Target.BluePieceDC(BluePiece.hDC());
        Target.BluePieceHeight(Rounding::Nearest32(BluePiece.ScaleHeight()));
        Target.BluePieceWidth(Rounding::Nearest32(BluePiece.ScaleWidth()));
    }
    const toolkit::PictureBox& RedPiece = Window.PictureBuffer(3);
    if (RedPiece.AutoRedraw()) {
        Target.RedPieceDC(RedPiece.hDC());
        Target.RedPieceHeight(Rounding::Nearest32(RedPiece.ScaleHeight()));
        Target.RedPieceWidth(Rounding::Nearest32(RedPiece.ScaleWidth()));
    }
    const toolkit::PictureBox& Board = Window.BoardSurface();
    Target.BoardDC(Board.hDC());
    Target.BoardHeight(Rounding::Nearest32(Board.ScaleHeight()));
    Target.BoardWidth(Rounding::Nearest32(Board.ScaleWidth()));
    Target.SelectDC(Window.PictureBuffer(0).hDC());
}

}  // namespace Global
