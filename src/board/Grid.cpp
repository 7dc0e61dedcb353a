#include "board/Grid.h"

#include "board/BoardHost.h"
#include "board/Rounding.h"
#include "opponent/PlayerAI.h"
#include "platform/gdi/Gdi.h"
#include "state/Global.h"
#include "state/Texts.h"

using Rounding::Nearest16;
using Rounding::Nearest32;

namespace {

std::uint8_t MoverCode() { return Global::PlayerTurn ? Global::CodeRed : Global::CodeBlue; }

// Selects Object into the device context and deletes whatever it replaced. If the selection fails, the new object is
// the one deleted, so that a failed drawing cannot leave an orphan behind.
void ReplaceSelected(gdi::HDC Dc, gdi::HGDIOBJ Object) {
    const gdi::HGDIOBJ Previous = gdi::SelectObject(Dc, Object);
    gdi::DeleteObject(Previous != 0 ? Previous : Object);
}

}  // namespace

std::int32_t Grid::BackgroundDC() const { return backgroundDC_; }
void Grid::BackgroundDC(std::int32_t vNewValue) { backgroundDC_ = vNewValue; }
std::int32_t Grid::BluePieceDC() const { return bluePieceDC_; }
void Grid::BluePieceDC(std::int32_t vNewValue) { bluePieceDC_ = vNewValue; }
std::int32_t Grid::RedPieceDC() const { return redPieceDC_; }
void Grid::RedPieceDC(std::int32_t vNewValue) { redPieceDC_ = vNewValue; }
std::int32_t Grid::BoardDC() const { return boardDC_; }
void Grid::BoardDC(std::int32_t vNewValue) { boardDC_ = vNewValue; }
std::int32_t Grid::SelectDC() const { return selectDC_; }
void Grid::SelectDC(std::int32_t vNewValue) { selectDC_ = vNewValue; }
std::int32_t Grid::BoardWidth() const { return boardWidth_; }
void Grid::BoardWidth(std::int32_t vNewValue) { boardWidth_ = vNewValue; }
std::int32_t Grid::BoardHeight() const { return boardHeight_; }
void Grid::BoardHeight(std::int32_t vNewValue) { boardHeight_ = vNewValue; }
std::int32_t Grid::BackgroundWidth() const { return backgroundWidth_; }
void Grid::BackgroundWidth(std::int32_t vNewValue) { backgroundWidth_ = vNewValue; }
std::int32_t Grid::BackgroundHeight() const { return backgroundHeight_; }
void Grid::BackgroundHeight(std::int32_t vNewValue) { backgroundHeight_ = vNewValue; }
std::int32_t Grid::BluePieceWidth() const { return bluePieceWidth_; }
void Grid::BluePieceWidth(std::int32_t vNewValue) { bluePieceWidth_ = vNewValue; }
std::int32_t Grid::BluePieceHeight() const { return bluePieceHeight_; }
void Grid::BluePieceHeight(std::int32_t vNewValue) { bluePieceHeight_ = vNewValue; }
std::int32_t Grid::RedPieceWidth() const { return redPieceWidth_; }
void Grid::RedPieceWidth(std::int32_t vNewValue) { redPieceWidth_ = vNewValue; }
std::int32_t Grid::RedPieceHeight() const { return redPieceHeight_; }
void Grid::RedPieceHeight(std::int32_t vNewValue) { redPieceHeight_ = vNewValue; }

void Grid::DrawPiece(std::int32_t X, std::int32_t Y) {
    Global::RefreshGridSurfaces();
    const std::int16_t Left = Nearest16(boardWidth_ / 3.0 * X);
    const std::int16_t Top = Nearest16(boardHeight_ / 3.0 * Y);
    switch (Global::Cells(X, Y)) {
        case Global::CodeBlue:
            if (bluePieceDC_ != 0)
                DrawPicture(bluePieceDC_, bluePieceWidth_, bluePieceHeight_, Left, Top);
            else
                DrawCross(Left, Top);
            break;
        case Global::CodeRed:
            if (redPieceDC_ != 0)
                DrawPicture(redPieceDC_, redPieceWidth_, redPieceHeight_, Left, Top);
            else
                DrawDisc(Left, Top);
            break;
        default:
            break;
    }
}

void Grid::Draw() {
    DrawBack();
    // No pen of its own: the lines take whatever the board surface holds, the last shape's pen included.
    for (std::int16_t I = 1; I <= 2; ++I) {
        const std::int32_t X = Nearest32(boardWidth_ / 3.0 * I);
        gdi::MoveToEx(boardDC_, X, 0, nullptr);
        gdi::LineTo(boardDC_, X, boardHeight_);
    }
    for (std::int16_t J = 1; J <= 2; ++J) {
        const std::int32_t Y = Nearest32(boardHeight_ / 3.0 * J);
        gdi::MoveToEx(boardDC_, 0, Y, nullptr);
        gdi::LineTo(boardDC_, boardWidth_, Y);
    }
}

void Grid::DrawBack() {
    Global::RefreshGridSurfaces();
    if (backgroundWidth_ == 0 || backgroundHeight_ == 0) return;
    // Whole tiles, unscaled; the last column and row run past the edge so that the board is always covered.
    const std::int16_t Columns = Rounding::Floor16(static_cast<double>(boardWidth_) / backgroundWidth_);
    for (std::int16_t Tx = 0; Tx <= Columns; Tx = Global::CheckedAdd(Tx, 1)) {
        const std::int16_t Rows = Rounding::Floor16(static_cast<double>(boardHeight_) / backgroundHeight_);
        for (std::int16_t Ty = 0; Ty <= Rows; Ty = Global::CheckedAdd(Ty, 1))
            gdi::BitBlt(boardDC_, Tx * backgroundWidth_, Ty * backgroundHeight_, backgroundWidth_, backgroundHeight_,
                        backgroundDC_, 0, 0, gdi::SRCCOPY);
    }
}

void Grid::SelectPiece(std::int16_t X, std::int16_t Y) {
    const gdi::HDC Board = BoardDC();
    gdi::BitBlt(Board, Nearest32(boardWidth_ / 3.0 * X), Nearest32(boardHeight_ / 3.0 * Y),
                Nearest32(boardWidth_ / 3.0), Nearest32(boardHeight_ / 3.0), selectDC_, 0, 0, gdi::SRCAND);
}

void Grid::BoardMouseDown(std::int16_t X, std::int16_t Y) {
    // Presses come from the board surface; anything else cannot name a cell and is ignored.
    if (!OnBoard(X, Y)) return;
    std::int32_t Col = Rounding::Floor32(X / (boardWidth_ / 3.0));
    std::int32_t Row = Rounding::Floor32(Y / (boardHeight_ / 3.0));
    if (Global::Cells(Col, Row) != Global::CodeEmpty || Global::GameOver) return;
    Global::Cells(Col, Row) = MoverCode();
    DrawPiece(Col, Row);
    if (Global::CheckWin(Global::Cells, MoverCode())) {
        HighlightWinLine();
        Global::TheBoardHost().RefreshBoard();
    } else {
        PassTurn(Col, Row);
        if (!Global::BoardFull()) return;
    }
    Global::TheBoardHost().StatusText(Texts::EndText);
    Global::GameOver = true;
}

bool Grid::OnBoard(std::int16_t X, std::int16_t Y) const {
    return boardWidth_ > 0 && boardHeight_ > 0 && X >= 0 && Y >= 0 && X < boardWidth_ && Y < boardHeight_;
}

// Unscaled, from the cell's top-left corner: a picture larger than the cell reaches into its neighbours.
void Grid::DrawPicture(std::int32_t SourceDC, std::int32_t Width, std::int32_t Height, std::int16_t Left,
                       std::int16_t Top) {
    gdi::GdiTransparentBlt(boardDC_, Left, Top, Width, Height, SourceDC, 0, 0, Width, Height, gdi::RGB(255, 255, 255));
}

void Grid::DrawCross(std::int16_t Left, std::int16_t Top) {
    ReplaceSelected(boardDC_, gdi::CreatePen(gdi::PS_SOLID, 2, gdi::RGB(0, 0, 255)));
    const std::int32_t Right = Nearest32(boardWidth_ / 3.0 + Left);
    const std::int32_t Bottom = Nearest32(boardHeight_ / 3.0 + Top);
    gdi::MoveToEx(boardDC_, Left, Top, nullptr);
    gdi::LineTo(boardDC_, Right, Bottom);
    gdi::MoveToEx(boardDC_, Right, Top, nullptr);
    gdi::LineTo(boardDC_, Left, Bottom);
}

void Grid::DrawDisc(std::int16_t Left, std::int16_t Top) {
    ReplaceSelected(boardDC_, gdi::CreatePen(gdi::PS_SOLID, 1, gdi::RGB(0, 0, 0)));
    ReplaceSelected(boardDC_, gdi::CreateSolidBrush(gdi::RGB(255, 0, 0)));
    // The cell's own height, so that the disc stays inside its cell on a board that is not square.
    gdi::Ellipse(boardDC_, Left, Top, Nearest32(boardWidth_ / 3.0 + Left), Nearest32(boardHeight_ / 3.0 + Top));
}

void Grid::HighlightWinLine() {
    for (std::int32_t I = 0; I < 3; ++I) {
        const Global::CellPos& Cell = Global::WinLine(I);
        SelectPiece(Global::CheckedInt16(Cell.Col), Global::CheckedInt16(Cell.Row));
    }
}

void Grid::PassTurn(std::int32_t& Col, std::int32_t& Row) {
    BoardHost& Window = Global::TheBoardHost();
    Window.RefreshBoard();
    BoardDC(Window.BoardSurface().hDC());
    Global::PlayerTurn = !Global::PlayerTurn;
    Window.StatusText(Texts::TurnText(Global::PlayerTurn));
    if (Global::PlayerTurn && Global::ComputerPlays) AnswerAsComputer(Col, Row);
}

// The computer's cell goes through the same press handling as a person's, at the centre of that cell.
void Grid::AnswerAsComputer(std::int32_t& Col, std::int32_t& Row) {
    Global::GameAI().ChooseMove(Col, Row);
    BoardMouseDown(Rounding::CellCentre16(boardWidth_, Col), Rounding::CellCentre16(boardHeight_, Row));
}
