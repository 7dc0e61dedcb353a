// A platform a test installs for its own life, or a fixture's: each service the test gives it answers as the test
// says, and every other is left to the platform installed before it, so that a test says only what it changes and
// several of them stack (a scripted message box under a copy of the pictures). They must go in the opposite order.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "platform/toolkit/Platform.h"

namespace testsupport {

class TestPlatform : public toolkit::Platform {
public:
    std::function<std::int16_t(const std::string& prompt, std::int16_t buttons, const std::string& title)> Ask;
    std::function<toolkit::StdPicture(const toolkit::EncodedPicture& file)> Decode;
    std::function<void()> Events;
    std::optional<std::string> Path;     // App::Path
    std::optional<std::string> EXEName;  // App::EXEName

    std::int16_t MsgBox(const std::string& prompt, std::int16_t buttons, const std::string& title) override;
    toolkit::StdPicture DecodePicture(const toolkit::EncodedPicture& file) override;
    void DoEvents() override;
    std::string AppPath() override;
    std::string AppEXEName() override;

private:
    toolkit::Platform& previous_ = Installed();
    toolkit::Platform::Installation installation_{*this};
};

}  // namespace testsupport
