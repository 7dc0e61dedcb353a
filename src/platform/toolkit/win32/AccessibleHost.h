// What a window's accessibility needs of the window it serves. The window implements it and owns its accessibility
// (Accessibility.h), which knows the window through this alone: the window includes its accessibility, never the
// other way round.
#pragma once

#include <functional>

#include "platform/toolkit/win32/WindowsApi.h"

namespace toolkit::win32 {

class AccessibleHost {
public:
    // The native window; null once it has gone.
    virtual HWND Handle() const = 0;
    // Client pixels per design pixel.
    virtual double Scale() const = 0;
    // Runs what a screen reader asked of the model as the window runs its own input, under the same guard.
    virtual void RunAction(const std::function<void()>& action) = 0;

protected:
    ~AccessibleHost() = default;
};

}  // namespace toolkit::win32
