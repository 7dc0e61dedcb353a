// A picture surface laid out as a table of cells, for play from the keyboard and for
// assistive tools. The window's logic implements it; a front end maps it: the keys
// below to KeyDown, a focus frame painted over the surface (never into it) around
// CellRect(CursorRow(), CursorColumn()) while CursorVisible(), and one accessible
// cell per row and column, named CellName and played by PressCell.
#pragma once

#include <functional>
#include <string>

namespace toolkit {

// The keys a cell table answers while its surface has the keyboard focus.
enum class Key { Left, Right, Up, Down, Space, Return };

// A rectangle in the surface's pixels.
struct CellBox {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    bool operator==(const CellBox&) const = default;
};

class CellTable {
public:
    virtual ~CellTable() = default;

    virtual int Rows() const = 0;
    virtual int Columns() const = 0;
    // Rows and columns count from 0 here; a name may count them otherwise.
    virtual std::string CellName(int Row, int Column) const = 0;
    virtual CellBox CellRect(int Row, int Column) const = 0;
    // Plays the cell as a press at its centre would.
    virtual void PressCell(int Row, int Column) = 0;

    // The cell under the keyboard cursor: the focused cell while the surface has the focus.
    virtual int CursorRow() const = 0;
    virtual int CursorColumn() const = 0;
    // Whether the focus frame is shown.
    virtual bool CursorVisible() const = 0;
    virtual void KeyDown(Key Pressed) = 0;

    // Set by a front end: the cursor moved, showed or hid.
    std::function<void()> CursorChanged;
    // Set by a front end: the cell's name changed.
    std::function<void(int Row, int Column)> CellChanged;
};

}  // namespace toolkit
