// A small form for the front ends' tests: two surfaces, the second over part of the first, a 2 x 2 cell table on
// the first, a half-transparent image, and a menu with a checkable command and a shortcut.
#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/gdi/Gdi.h"
#include "platform/toolkit/Form.h"

namespace testsupport {

inline toolkit::Form::Design SmallDesign() {
    toolkit::Form::Design design;
    design.Caption = "Test";
    design.ClientWidth = 200;
    design.ClientHeight = 120;
    design.BackColor = gdi::RGB(10, 20, 30);
    return design;
}

inline toolkit::PictureBox::Design SurfaceDesign(int left, gdi::COLORREF back) {
    toolkit::PictureBox::Design design;
    design.Left = left;
    design.Top = 10;
    design.Width = 50;
    design.Height = 40;
    design.BackColor = back;
    return design;
}

// A 2 x 2 table over a 50 x 40 surface, with its cursor on the top-left cell; it keeps the keys it gets.
class FakeTable : public toolkit::CellTable {
public:
    int Rows() const override { return 2; }
    int Columns() const override { return 2; }
    std::string CellName(int, int) const override { return ""; }
    toolkit::CellBox CellRect(int row, int column) const override { return {column * 25, row * 20, 25, 20}; }
    void PressCell(int, int) override {}
    int CursorRow() const override { return 0; }
    int CursorColumn() const override { return 0; }
    bool CursorVisible() const override { return Visible; }
    void KeyDown(toolkit::Key pressed) override {
        Keys.push_back(pressed);
        Visible = true;
        ReportCursorChanged();
    }

    std::vector<toolkit::Key> Keys;
    bool Visible = false;
};

// A form with two surfaces, the second over part of the first, a half-transparent image and a menu with a
// checkable command and a shortcut.
class TestForm : public toolkit::Form {
public:
    TestForm()
        : Form(SmallDesign()),
          Under(SurfaceDesign(10, gdi::RGB(255, 0, 0))),
          Over(SurfaceDesign(40, gdi::RGB(0, 0, 255))) {
        auto picture = std::make_shared<toolkit::Picture>();
        picture->Width = 2;
        picture->Height = 1;
        picture->Pixels = {0x80FFFFFFu, 0xFF00FF00u};
        Mark = toolkit::Image{150, 100, 2, 1, picture};
        Under.Table(&Table);
        Place(Under);
        Place(Over);
        Place(Mark);
        toolkit::MenuItem& file = AddMenu({"mnuFile", std::nullopt, "File", false, true, true, "", 'F'});
        Option = &file.Add({"mnuOption", std::nullopt, "Option", false, true, true, "Ctrl+O"});
        Option->Click = [this] {
            if (Throw) throw std::runtime_error("the handler broke");
            Option->Checked(!Option->Checked());
        };
    }

    FakeTable Table;
    toolkit::PictureBox Under;
    toolkit::PictureBox Over;
    toolkit::Image Mark;
    toolkit::MenuItem* Option = nullptr;
    bool Throw = false;
    int UnloadAsked = 0;
    bool AllowClose = false;

protected:
    void Form_Unload(std::int16_t& Cancel) override {
        ++UnloadAsked;
        if (!AllowClose) Cancel = 1;
    }
};

inline std::uint32_t PixelAt(const gdi::SurfaceBits& bits, int x, int y) {
    return bits.pixels[static_cast<std::size_t>(y) * bits.width + x];
}

}  // namespace testsupport
