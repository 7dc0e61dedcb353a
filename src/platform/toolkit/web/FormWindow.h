// Shows a toolkit Form in a web page: the client area as the raster layer composes it (Frame) on a canvas, each
// visible surface on a canvas of its own at the same place, labels as text, a menu bar, and the page's own dialog for
// questions. Input waits in the page in order and Run takes it one event at a time: a handler that asks a question
// is suspended until the answer comes, and no other handler can start meanwhile.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/toolkit/Frame.h"
#include "platform/toolkit/FrontEnd.h"
#include "platform/toolkit/web/Page.h"

namespace toolkit::web {

class FormWindow : public FrontEnd {
public:
    // The form must outlive the window.
    explicit FormWindow(Form& form);

    int Run() override;

    void ShowWindow() override;
    void LabelChanged(const Label& label) override;
    void SurfaceChanged(PictureBox& surface) override;
    void RepaintSurface(PictureBox& surface) override;
    void MenuItemChanged(const MenuItem& item) override;
    void CursorChanged(PictureBox& surface) override;
    void CellChanged(PictureBox& surface, int row, int column) override;
    void Announce(const std::string& sentence) override;

protected:
    void DestroyWindow() override;
    void EndEventLoop() override;

private:
    void AddMenuItems(const MenuItem& item, int parent);
    void Dispatch(const page::Event& event);
    std::function<void()> HandlerOf(const page::Event& event) const;
    PictureBox* SurfaceOf(int id) const;
    const MenuItem* MenuItemOf(int id) const;
    void Place(PictureBox& surface);
    void PlaceCells(PictureBox& surface);
    void Paint(PictureBox& surface);
    void Show(const gdi::SurfaceBits& composed, int id, const Rect& area);

    Frame frame_;
    std::vector<std::uint32_t> canvas_;
    bool shown_ = false;
    bool running_ = true;
};

}  // namespace toolkit::web
