#include "board/SurfaceBinding.h"

#include "board/BoardHost.h"
#include "board/Grid.h"
#include "board/Rounding.h"
#include "platform/gdi/Gdi.h"
#include "platform/toolkit/Runtime.h"
#include "state/Global.h"

namespace Global {

namespace {

std::int32_t WholePixels(float Value) { return Rounding::Nearest32(Value); }

}  // namespace

void LoadPictureToBox(toolkit::PictureBox& Target, const std::string& Path) {
    if (toolkit::Dir(Path).empty()) {
        Target.AutoRedraw(false);
        return;
    }
    toolkit::PictureBox& Staging = TheBoardHost().PictureBuffer(0);
    // The staging surface sizes itself to the picture, so its size is the picture's.
    Staging.Picture(toolkit::LoadPicture(Path));
    Target.Width(Staging.Width());
    Target.Height(Staging.Height());
    const gdi::HDC TargetDC = Target.hDC();
    const std::int32_t Width = WholePixels(Target.Width());
    const std::int32_t Height = WholePixels(Target.Height());
    gdi::BitBlt(TargetDC, 0, 0, Width, Height, Staging.hDC(), 0, 0, gdi::SRCCOPY);
    Staging.Picture(nullptr);
}

void RefreshGridSurfaces() {
    BoardHost& Window = TheBoardHost();
    Grid& Target = GameGrid();
    const toolkit::PictureBox& Background = Window.PictureBuffer(1);
    if (Background.AutoRedraw()) {
        Target.BackgroundDC(Background.hDC());
        Target.BackgroundWidth(WholePixels(Background.ScaleWidth()));
        Target.BackgroundHeight(WholePixels(Background.ScaleHeight()));
    }
    const toolkit::PictureBox& BluePiece = Window.PictureBuffer(2);
    if (BluePiece.AutoRedraw()) {
        Target.BluePieceDC(BluePiece.hDC());
        Target.BluePieceHeight(WholePixels(BluePiece.ScaleHeight()));
        Target.BluePieceWidth(WholePixels(BluePiece.ScaleWidth()));
    }
    const toolkit::PictureBox& RedPiece = Window.PictureBuffer(3);
    if (RedPiece.AutoRedraw()) {
        Target.RedPieceDC(RedPiece.hDC());
        Target.RedPieceHeight(WholePixels(RedPiece.ScaleHeight()));
        Target.RedPieceWidth(WholePixels(RedPiece.ScaleWidth()));
    }
    const toolkit::PictureBox& Board = Window.BoardSurface();
    Target.BoardDC(Board.hDC());
    Target.BoardHeight(WholePixels(Board.ScaleHeight()));
    Target.BoardWidth(WholePixels(Board.ScaleWidth()));
    Target.SelectDC(Window.PictureBuffer(0).hDC());
}

}  // namespace Global
