// A window's announcements as UI Automation notifications (UiaRaiseNotificationEvent, Windows 10 version 1709 and
// newer), which Narrator and NVDA speak at once, wherever the focus is in the program.
//
// The event needs an element to come from: a minimal provider on a child window of its own, one pixel, disabled and
// drawing nothing. The form window itself does not answer UI Automation, as screen readers read a window that does
// through UI Automation alone and would lose the form's Active Accessibility objects (its table and cells).
// UIAutomationCore is looked up at the first announcement, so start-up never loads it, and a system without the event
// (older Windows, Wine) simply reports that it took nothing.
#pragma once

#include <functional>
#include <string>

#include "platform/toolkit/win32/WindowsApi.h"

struct IRawElementProviderSimple;

namespace toolkit::win32 {

// Raises `sentence` as a notification of `provider`; false when nothing took it: the system has no notification event
// or no UI Automation client listens.
using NotificationRaiser = std::function<bool(IRawElementProviderSimple& provider, const std::wstring& sentence)>;

// Every window's notifications go through `raiser` from now on; an empty one restores UI Automation's own. A seam for
// tests: Wine has no notification event.
void SetNotificationRaiser(NotificationRaiser raiser);

class Notifications {
public:
    Notifications() = default;
    // The provider is disconnected; its window has gone with its owner.
    ~Notifications();
    Notifications(const Notifications&) = delete;
    Notifications& operator=(const Notifications&) = delete;

    // Raises the sentence from a child window of `owner`, made at the first sentence there is an event for; false when
    // nothing took it.
    bool Raise(HWND owner, const std::wstring& sentence);

private:
    IRawElementProviderSimple* provider_ = nullptr;
};

}  // namespace toolkit::win32
