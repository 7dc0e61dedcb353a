// A front end that shows nothing and writes down what its form tells it, a line a call, in order: for tests of what
// reaches a view. Repaints, the one call that comes with every move, are counted instead. OnRepaint runs while the
// refreshed surface holds what a screen would show, OnSurfaceChanged while the surface has its new size.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/toolkit/Form.h"
#include "platform/toolkit/FormView.h"

namespace testsupport {

// A form whose controls a test places itself.
class PlainForm : public toolkit::Form {
public:
    using Form::AddMenu;
    using Form::Form;
    using Form::Place;
    using Form::PlaceArray;
};

class RecordingView : public toolkit::FormView {
public:
    explicit RecordingView(toolkit::Form& form) : attachment_(form, *this) {}

    // The lines that start with `kind` ("show", "close", "label", "surface", "menu", "cursor", "cell", "announce"),
    // which are then forgotten.
    std::vector<std::string> Take(const std::string& kind) {
        std::vector<std::string> taken;
        std::erase_if(Journal, [&](const std::string& line) {
            if (line.rfind(kind, 0) != 0) return false;
            taken.push_back(line);
            return true;
        });
        return taken;
    }

    void ShowWindow() override { Journal.push_back("show"); }
    void CloseWindow() override { Journal.push_back("close"); }
    void LabelChanged(const toolkit::Label& label) override { Journal.push_back("label " + label.Caption()); }
    void SurfaceChanged(toolkit::PictureBox& surface) override {
        Journal.push_back("surface " + std::to_string(static_cast<int>(surface.Width())) + "x" +
                          std::to_string(static_cast<int>(surface.Height())) + (surface.Visible() ? "" : " hidden"));
        if (OnSurfaceChanged) OnSurfaceChanged(surface);
    }
    void RepaintSurface(toolkit::PictureBox& surface) override {
        ++Repaints;
        if (OnRepaint) OnRepaint(surface);
    }
    void MenuItemChanged(const toolkit::MenuItem& item) override {
        Journal.push_back("menu " + item.Caption() + (item.Checked() ? " checked" : "") +
                          (item.Enabled() ? "" : " disabled"));
    }
    void CursorChanged(toolkit::PictureBox& surface) override {
        const toolkit::CellTable& table = *surface.Table();
        Journal.push_back("cursor " + std::to_string(table.CursorRow()) + "," + std::to_string(table.CursorColumn()) +
                          (table.CursorVisible() ? "" : " hidden"));
    }
    void CellChanged(toolkit::PictureBox&, int row, int column) override {
        Journal.push_back("cell " + std::to_string(row) + "," + std::to_string(column));
    }
    void Announce(const std::string& sentence) override { Journal.push_back("announce " + sentence); }

    std::vector<std::string> Journal;
    int Repaints = 0;
    std::function<void(toolkit::PictureBox&)> OnRepaint;
    std::function<void(toolkit::PictureBox&)> OnSurfaceChanged;

private:
    toolkit::Form::Attachment attachment_;
};

}  // namespace testsupport
