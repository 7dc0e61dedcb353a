// What every front end does alike, around the one interface it implements: while it lives it is its form's view,
// it runs the model's event handlers under one guard and reports the first that fails, and it holds the close
// handshake between the window system and the form's unload event. A front end adds what is native: its window,
// input mapped to the model's events, its event loop.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/toolkit/Form.h"
#include "platform/toolkit/FormView.h"

namespace toolkit {

class FrontEnd : public FormView {
public:
    // Attaches itself to `form` as its view; the form must outlive it.
    explicit FrontEnd(Form& form);
    virtual ~FrontEnd() = default;
    FrontEnd(const FrontEnd&) = delete;
    FrontEnd& operator=(const FrontEnd&) = delete;

    // Dispatches events until the window has closed (0) or a handler failed (1).
    virtual int Run() = 0;

    // Runs model code for a native event (a menu choice, a press, a key, a close request). An exception must not
    // pass through the platform's event loop, and one that escapes a handler is a programming error that may have
    // left the model half updated: it is reported once, the event loop ends with status 1, and no handler runs
    // after it.
    void RunHandler(const std::function<void()>& handler) noexcept;
    bool Failed() const { return failed_; }
    // How the program reports such an error, best effort. Unset, the line "<program>: <what>" goes to standard
    // error and a critical box titled with the form's caption shows the error.
    std::function<void(const std::string& What)> ReportFailure;

    // The form closed: the native window goes, unless the window system is closing it already.
    void CloseWindow() final;

protected:
    Form& TheForm() const { return form_; }

    // The window system asks to close the window (its close box, the system menu). The form's unload event
    // decides; true when the native window may close now.
    bool CloseRequested();

    virtual void DestroyWindow() = 0;
    // Ends the event loop with status 1, once a handler has failed.
    virtual void EndEventLoop() = 0;

private:
    void Fail(const std::string& what) noexcept;

    Form& form_;
    Form::Attachment attachment_;
    bool failed_ = false;
    bool closeRequested_ = false;
};

// The program's window: the front end linked into the program, showing `form`, hidden until the form shows.
// Each front end defines it.
std::unique_ptr<FrontEnd> OpenWindow(Form& form);

}  // namespace toolkit
