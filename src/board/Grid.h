#pragma once

#include <cstdint>

// The board object: device-context handles and pixel sizes of the picture surfaces, copied in before each drawing,
// and the drawing and turn logic that works through them. It owns no surface.
class Grid {
public:
    std::int32_t BackgroundDC() const;
    void BackgroundDC(std::int32_t vNewValue);
    std::int32_t BluePieceDC() const;
    void BluePieceDC(std::int32_t vNewValue);
    std::int32_t RedPieceDC() const;
    void RedPieceDC(std::int32_t vNewValue);
    std::int32_t BoardDC() const;
    void BoardDC(std::int32_t vNewValue);
    std::int32_t SelectDC() const;
    void SelectDC(std::int32_t vNewValue);
    std::int32_t BoardWidth() const;
    void BoardWidth(std::int32_t vNewValue);
    std::int32_t BoardHeight() const;
    void BoardHeight(std::int32_t vNewValue);
    std::int32_t BackgroundWidth() const;
    void BackgroundWidth(std::int32_t vNewValue);
    std::int32_t BackgroundHeight() const;
    void BackgroundHeight(std::int32_t vNewValue);
    std::int32_t BluePieceWidth() const;
    void BluePieceWidth(std::int32_t vNewValue);
    std::int32_t BluePieceHeight() const;
    void BluePieceHeight(std::int32_t vNewValue);
    std::int32_t RedPieceWidth() const;
    void RedPieceWidth(std::int32_t vNewValue);
    std::int32_t RedPieceHeight() const;
    void RedPieceHeight(std::int32_t vNewValue);

    // Draws the piece that Cells holds at column X, row Y: its picture, or a plain shape when the picture is missing.
    void DrawPiece(std::int32_t X, std::int32_t Y);
    // Background tiles, then the four grid lines in whatever pen the board surface holds.
    void Draw();
    // Background tiles only; nothing when there is no background picture.
    void DrawBack();
    // ANDs cell (X, Y) with the highlight surface.
    void SelectPiece(std::int16_t X, std::int16_t Y);
    // One press at pixel (X, Y): the move, its drawing, the win and full-board tests, and the computer's answer.
    void BoardMouseDown(std::int16_t X, std::int16_t Y);

private:
    bool OnBoard(std::int16_t X, std::int16_t Y) const;
    void DrawPicture(std::int32_t SourceDC, std::int32_t Width, std::int32_t Height, std::int16_t Left,
                     std::int16_t Top);
    void DrawCross(std::int16_t Left, std::int16_t Top);
    void DrawDisc(std::int16_t Left, std::int16_t Top);
    void HighlightWinLine();
    void PassTurn(std::int32_t& Col, std::int32_t& Row);
    void AnswerAsComputer(std::int32_t& Col, std::int32_t& Row);

    // The board object's established layout, kept like its names: each piece's height before its width, though the
    // accessors name the width first.
    std::int32_t backgroundDC_ = 0;
    std::int32_t bluePieceDC_ = 0;
    std::int32_t redPieceDC_ = 0;
    std::int32_t boardDC_ = 0;
    std::int32_t selectDC_ = 0;
    std::int32_t boardWidth_ = 0;
    std::int32_t boardHeight_ = 0;
    std::int32_t backgroundWidth_ = 0;
    std::int32_t backgroundHeight_ = 0;
    std::int32_t bluePieceHeight_ = 0;
    std::int32_t bluePieceWidth_ = 0;
    std::int32_t redPieceHeight_ = 0;
    std::int32_t redPieceWidth_ = 0;
};

namespace Global {

// The program's single board object, created on first use and released when the user confirms Exit.
Grid& GameGrid();
void ReleaseGameGrid();

// Copies the current handles and sizes of the window's Buff(0..3) and Board into the board object. A buffer marked as
// missing leaves its values in the board object as they were.
void RefreshGridSurfaces();

}  // namespace Global
