#include "window/BoardCursor.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "board/Rounding.h"
#include "window/CellDescription.h"

BoardCursor::BoardCursor(const toolkit::PictureBox& Board, PressHandler Press)
    : board_(Board), press_(std::move(Press)) {
    for (int Row = 0; Row < 3; ++Row)
        for (int Column = 0; Column < 3; ++Column) announced_[Row * 3 + Column] = CellName(Row, Column);
}

void BoardCursor::CheckCell(int Row, int Column) {
    if (Row < 0 || Row > 2 || Column < 0 || Column > 2)
        throw std::out_of_range("the board has no cell at row " + std::to_string(Row) + ", column " +
                                std::to_string(Column));
}

std::string BoardCursor::CellName(int Row, int Column) const {
    CheckCell(Row, Column);
    return DescribeCell(Column, Row);
}

// The cell as the green highlight covers it.
toolkit::CellBox BoardCursor::CellRect(int Row, int Column) const {
    CheckCell(Row, Column);
    const double Width = board_.ScaleWidth();
    const double Height = board_.ScaleHeight();
    return {Rounding::Nearest32(Width / 3.0 * Column), Rounding::Nearest32(Height / 3.0 * Row),
            Rounding::Nearest32(Width / 3.0), Rounding::Nearest32(Height / 3.0)};
}

// The same centre the computer's moves are pressed at.
void BoardCursor::PressCell(int Row, int Column) {
    CheckCell(Row, Column);
    if (press_)
        press_(Rounding::CellCentre16(board_.ScaleWidth(), Column), Rounding::CellCentre16(board_.ScaleHeight(), Row));
}

void BoardCursor::KeyDown(toolkit::Key Pressed) {
    switch (Pressed) {
        case toolkit::Key::Left: Place(row_, std::max(column_ - 1, 0), true); break;
        case toolkit::Key::Right: Place(row_, std::min(column_ + 1, 2), true); break;
        case toolkit::Key::Up: Place(std::max(row_ - 1, 0), column_, true); break;
        case toolkit::Key::Down: Place(std::min(row_ + 1, 2), column_, true); break;
        case toolkit::Key::Space:
        case toolkit::Key::Return:
            Place(row_, column_, true);
            PressCell(row_, column_);
            break;
    }
}

void BoardCursor::Hide() { Place(row_, column_, false); }

void BoardCursor::Place(int Row, int Column, bool Visible) {
    if (Row == row_ && Column == column_ && Visible == visible_) return;
    row_ = Row;
    column_ = Column;
    visible_ = Visible;
    ReportCursorChanged();
}

void BoardCursor::AnnounceCells() {
    for (int Row = 0; Row < 3; ++Row)
        for (int Column = 0; Column < 3; ++Column) {
            std::string Name = CellName(Row, Column);
            std::string& Last = announced_[Row * 3 + Column];
            if (Name == Last) continue;
            Last = std::move(Name);
            ReportCellChanged(Row, Column);
        }
}
