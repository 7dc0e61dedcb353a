// How a front end runs the model's event handlers. An exception must not pass through
// the platform's event loop, and one that escapes a handler is a programming error that
// may have left the model half updated: it is reported once, the event loop ends with
// status 1, and no handler runs after it.
#pragma once

#include <functional>
#include <string>

namespace toolkit {

class HandlerGuard {
public:
    // `report` tells the user, best effort; `quit` then ends the front end's event loop with status 1.
    HandlerGuard(std::function<void(const std::string& What)> report, std::function<void()> quit);

    void Run(const std::function<void()>& handler) noexcept;
    bool Failed() const { return failed_; }

private:
    void Fail(const std::string& what) noexcept;

    std::function<void(const std::string& What)> report_;
    std::function<void()> quit_;
    bool failed_ = false;
};

}  // namespace toolkit
