// What screen readers find in a form window through Active Accessibility (MSAA), which every Windows screen reader
// reads from its own process: WM_GETOBJECT(OBJID_CLIENT) answers with the window's client object, named by the
// caption, whose children are the surface that is a table of cells (a table of cells named by the model, each played
// by its default action "Press" as a press at its centre, the keyboard cursor's cell focused), the status line (a
// status bar named by its text) and the window's last announcement. Other object ids are left to Windows.
//
// The events follow the model: the focus moves with the cursor, a cell's name and the status text report their
// changes, and each announcement is raised as a UI Automation notification where Windows offers one, else as the
// announcement object's live-region change, which NVDA speaks.
//
// The objects a client holds read the window through a link that ends with it: after the window has gone they answer
// CO_E_OBJNOTCONNECTED.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/toolkit/Form.h"
#include "platform/toolkit/win32/AccessibleHost.h"
#include "platform/toolkit/win32/Notifications.h"
#include "platform/toolkit/win32/WindowsApi.h"

namespace toolkit::win32 {

class AccessibleTree;

class AccessibleWindow {
public:
    // Both must outlive it.
    AccessibleWindow(AccessibleHost& window, const Form& form);
    ~AccessibleWindow();
    AccessibleWindow(const AccessibleWindow&) = delete;
    AccessibleWindow& operator=(const AccessibleWindow&) = delete;

    // The answer to a window message that concerns assistive tools, or nothing for the window to handle it.
    std::optional<LRESULT> Handle(UINT message, WPARAM wParam, LPARAM lParam);

    void CursorChanged(const PictureBox& surface);
    void CellChanged(const PictureBox& surface, int row, int column);
    void LabelChanged(const Label& label);
    void Announce(const std::string& sentence);

private:
    void FocusCursor();

    AccessibleHost& window_;
    std::shared_ptr<AccessibleTree> tree_;
    Notifications notifications_;
    int cursorRow_ = -1;
    int cursorColumn_ = -1;
};

}  // namespace toolkit::win32
