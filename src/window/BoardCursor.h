// The board's keyboard cursor, and the board as a table of named cells for assistive
// tools. The cursor starts on the top-left cell, hidden, and keeps its cell across
// games. The arrow keys move it one cell and stop at the board's edge; Space and
// Return play its cell through the board's press handler, at the cell's centre, as a
// mouse press there would. Any of these keys shows it; a mouse press hides it.
#pragma once

#include <array>
#include <functional>
#include <string>

#include "platform/toolkit/CellTable.h"
#include "platform/toolkit/PictureBox.h"

class BoardCursor : public toolkit::CellTable {
public:
    // Press receives a position in the board's pixels.
    using PressHandler = std::function<void(float X, float Y)>;

    BoardCursor(const toolkit::PictureBox& Board, PressHandler Press);

    int Rows() const override { return 3; }
    int Columns() const override { return 3; }
    std::string CellName(int Row, int Column) const override;
    toolkit::CellBox CellRect(int Row, int Column) const override;
    void PressCell(int Row, int Column) override;

    int CursorRow() const override { return row_; }
    int CursorColumn() const override { return column_; }
    bool CursorVisible() const override { return visible_; }
    void KeyDown(toolkit::Key Pressed) override;

    // A mouse press on the board.
    void Hide();
    // Reports through CellChanged every cell whose name differs from what the last report left.
    void AnnounceCells();

private:
    void Place(int Row, int Column, bool Visible);
    static void CheckCell(int Row, int Column);

    const toolkit::PictureBox& board_;
    PressHandler press_;
    int row_ = 0;
    int column_ = 0;
    bool visible_ = false;
    std::array<std::string, 9> announced_;
};
