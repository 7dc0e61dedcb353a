#include "platform/toolkit/HandlerGuard.h"

#include <exception>
#include <utility>

namespace toolkit {

HandlerGuard::HandlerGuard(std::function<void(const std::string& What)> report, std::function<void()> quit)
    : report_(std::move(report)), quit_(std::move(quit)) {}

void HandlerGuard::Run(const std::function<void()>& handler) noexcept {
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
void HandlerGuard::Fail(const std::string& what) noexcept {
    failed_ = true;
    try {
        report_(what);
    } catch (...) {
    }
    quit_();
}

}  // namespace toolkit
