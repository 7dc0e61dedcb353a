#include "platform/toolkit/FrontEnd.h"

#include <cstdio>
#include <exception>

#include "platform/toolkit/Runtime.h"

namespace toolkit {

FrontEnd::FrontEnd(Form& form) : form_(form), attachment_(form, *this) {}

void FrontEnd::RunHandler(const std::function<void()>& handler) noexcept {
    if (failed_) return;
    try {
        handler();
    } catch (const std::exception& error) {
        Fail(error.what());
    } catch (...) {
        Fail("an unknown error");
    }
}

// Marked first, so that nothing the report's box lets through runs a handler on the damaged model. The report is
// best effort: the program ends whether or not it could be shown.
void FrontEnd::Fail(const std::string& what) noexcept {
    failed_ = true;
    try {
        if (ReportFailure) {
            ReportFailure(what);
        } else {
            std::fprintf(stderr, "%s: %s\n", App::EXEName().c_str(), what.c_str());
            MsgBox(what, vbOKOnly + vbCritical, form_.Properties().Caption);
        }
    } catch (...) {
    }
    EndEventLoop();
}

bool FrontEnd::CloseRequested() {
    if (form_.Closed()) return true;
    bool closed = false;
    closeRequested_ = true;
    RunHandler([this, &closed] { closed = form_.RequestClose(); });
    closeRequested_ = false;
    return closed;
}

void FrontEnd::CloseWindow() {
    if (!closeRequested_) DestroyWindow();
}

}  // namespace toolkit
