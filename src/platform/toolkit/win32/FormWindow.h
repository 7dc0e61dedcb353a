// Shows a toolkit Form as a fixed-size Win32 window: its menu bar with access keys and
// shortcuts, and one client area where the form's frame, its picture surfaces and its
// labels are drawn. Presses reach the surface under them, in the design's pixels; the
// arrow keys, Space and Return reach the surface that is a table of cells, whose
// cursor's focus frame is drawn over it. The window is
// aware of each monitor's DPI: the frame is scaled by whole pixels where the scale is
// a whole number and smoothly where it is not, and the labels' text is drawn at the
// screen's resolution. Screen readers read and play it through Active Accessibility
// (Accessibility.h).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/toolkit/FrontEnd.h"
#include "platform/toolkit/win32/Accessibility.h"
#include "platform/toolkit/Frame.h"
#include "platform/toolkit/win32/WindowsApi.h"

namespace toolkit::win32 {

class FormWindow : public FrontEnd, public AccessibleHost {
public:
    // Creates the (hidden) window; the form must outlive it. Throws std::runtime_error when Windows refuses the
    // window.
    explicit FormWindow(Form& form);
    ~FormWindow() override;

    int Run() override;

    HWND Handle() const override { return hwnd_; }
    HACCEL Accelerators() const { return accelerators_; }
    double Scale() const override { return dpi_ / 96.0; }
    void RunAction(const std::function<void()>& action) override { RunHandler(action); }

    // The frame is composed from the model at each paint, so a change needs only the area it shows in painted again.
    void ShowWindow() override;
    void LabelChanged(const Label& label) override;
    void SurfaceChanged(PictureBox&) override { InvalidateAll(); }
    void RepaintSurface(PictureBox& surface) override;
    void MenuItemChanged(const MenuItem& item) override;
    void CursorChanged(PictureBox& surface) override;
    void CellChanged(PictureBox& surface, int row, int column) override {
        accessible_.CellChanged(surface, row, column);
    }
    void Announce(const std::string& sentence) override { accessible_.Announce(sentence); }

protected:
    void DestroyWindow() override;
    void EndEventLoop() override;

private:
    // A menu item where Windows shows it; a command's id is its index in menuItems_ plus FirstCommand.
    struct MenuEntry {
        const MenuItem* Item;
        HMENU Menu;
        UINT Position;
    };

    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void BuildMenus();
    void FitToDpi(UINT dpi, const RECT* suggested);
    void Paint();
    void DrawLabels(HDC hdc);
    void Press(std::int16_t button, WPARAM keys, LPARAM at);
    bool KeyDown(WPARAM key);
    // Nothing is marked for painting before the window first shows, which paints it whole: marking a hidden window
    // costs a call into the window system each time.
    void InvalidateAll();
    void Invalidate(const Rect& designArea);

    Frame frame_;
    HWND hwnd_ = nullptr;
    HMENU menuBar_ = nullptr;
    HACCEL accelerators_ = nullptr;
    std::vector<MenuEntry> menuItems_;
    std::vector<HFONT> fonts_;  // one per label, at the current DPI
    UINT dpi_ = 96;
    bool shown_ = false;
    AccessibleWindow accessible_;
};

// Dispatches the messages waiting for this thread, with the live window's shortcuts.
// A request to quit stays queued for the message loop.
void ProcessPendingMessages();

}  // namespace toolkit::win32
