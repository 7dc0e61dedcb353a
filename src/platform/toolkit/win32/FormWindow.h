// Shows a toolkit Form as a fixed-size Win32 window: its menu bar with access keys and
// shortcuts, and one client area where the form's frame, its picture surfaces and its
// labels are drawn. Presses reach the surface under them, in the design's pixels; the
// arrow keys, Space and Return reach the surface that is a table of cells, whose
// cursor's focus frame is drawn over it. The window is
// aware of each monitor's DPI: the frame is scaled by whole pixels where the scale is
// a whole number and smoothly where it is not, and the labels' text is drawn at the
// screen's resolution.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/toolkit/Form.h"
#include "platform/toolkit/HandlerGuard.h"
#include "platform/toolkit/win32/Frame.h"
#include "platform/toolkit/win32/WindowsApi.h"

namespace toolkit::win32 {

class FormWindow {
public:
    // Creates the (hidden) window and takes over the form's ShowWindow and CloseWindow
    // hooks; the form must outlive the window. Throws std::runtime_error when Windows
    // refuses the window.
    explicit FormWindow(Form& form);
    ~FormWindow();
    FormWindow(const FormWindow&) = delete;
    FormWindow& operator=(const FormWindow&) = delete;

    // Runs model code for a message (a menu choice, a press, a close request). An exception that escapes a
    // handler may have left the model half updated: it is reported once, the message loop ends with status 1,
    // and no handler runs after it.
    void RunHandler(const std::function<void()>& handler) noexcept;
    bool Failed() const { return guard_.Failed(); }
    // How the program reports such an error. Unset, a critical box titled with the form's caption shows it.
    std::function<void(const std::string& What)> ReportFailure;

    // Dispatches messages until the window has closed (0) or a handler failed (1).
    int Run();

    HWND Handle() const { return hwnd_; }
    HACCEL Accelerators() const { return accelerators_; }
    // Client pixels per design pixel.
    double Scale() const { return dpi_ / 96.0; }

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void BuildMenus();
    void ShowForm();
    void FitToDpi(UINT dpi, const RECT* suggested);
    void Paint();
    void DrawLabels(HDC hdc);
    void Press(std::int16_t button, WPARAM keys, LPARAM at);
    bool KeyDown(WPARAM key);
    void Close();
    void Invalidate(const Rect& designArea);
    void Report(const std::string& what) const;

    Form& form_;
    Frame frame_;
    HandlerGuard guard_;
    HWND hwnd_ = nullptr;
    HMENU menuBar_ = nullptr;
    HACCEL accelerators_ = nullptr;
    std::vector<MenuItem*> commands_;  // a menu command's id is its index here plus FirstCommand
    std::vector<HFONT> fonts_;         // one per label, at the current DPI
    UINT dpi_ = 96;
    bool inClose_ = false;
};

// Dispatches the messages waiting for this thread, with the live window's shortcuts.
// A request to quit stays queued for the message loop.
void ProcessPendingMessages();

}  // namespace toolkit::win32
