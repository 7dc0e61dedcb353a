// A picture surface laid out as a table of cells, for play from the keyboard and for
// assistive tools. The window's logic implements it and sets it as its surface's
// Table; a front end maps it: the keys below to KeyDown while the surface has the
// keyboard focus, a focus frame painted over the surface (never into it) at
// FocusFrame(), and one accessible cell per row and column, named CellName and
// played by PressCell, the cursor's cell focused.
#pragma once

#include <optional>
#include <string>

namespace toolkit {

class PictureBox;

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
    CellTable() = default;
    virtual ~CellTable();
    CellTable(const CellTable&) = delete;
    CellTable& operator=(const CellTable&) = delete;

    virtual int Rows() const = 0;
    virtual int Columns() const = 0;
    // Rows and columns count from 0 here; a name may count them otherwise.
    virtual std::string CellName(int row, int column) const = 0;
    virtual CellBox CellRect(int row, int column) const = 0;
    // Plays the cell as a press at its centre would.
    virtual void PressCell(int row, int column) = 0;

    // The cell under the keyboard cursor: the focused cell while the surface has the focus.
    virtual int CursorRow() const = 0;
    virtual int CursorColumn() const = 0;
    // Whether the focus frame is shown.
    virtual bool CursorVisible() const = 0;
    virtual void KeyDown(Key pressed) = 0;

    // Where a front end paints the focus frame: the cursor's cell while the cursor shows, else nothing.
    std::optional<CellBox> FocusFrame() const {
        if (!CursorVisible()) return std::nullopt;
        return CellRect(CursorRow(), CursorColumn());
    }

protected:
    // Tell the front end showing the surface: the cursor moved, showed or hid; a cell's name changed.
    void ReportCursorChanged() const;
    void ReportCellChanged(int row, int column) const;

private:
    friend class PictureBox;

    PictureBox* surface_ = nullptr;
};

}  // namespace toolkit
