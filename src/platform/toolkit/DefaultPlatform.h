// The toolkit's platform while no front end has installed one: a process without a window system, as the model's
// tests and the benchmarks run.
#pragma once

#include <cstdint>
#include <string>

#include "platform/toolkit/Platform.h"

namespace toolkit {

class DefaultPlatform : public Platform {
public:
    // Nobody can answer: throws std::logic_error, so that a question is never answered silently.
    std::int16_t MsgBox(const std::string& prompt, std::int16_t buttons, const std::string& title) override;
    // 24-bit uncompressed bitmaps only.
    StdPicture DecodePicture(const EncodedPicture& file) override;
    // No window system, so nothing is pending.
    void DoEvents() override {}
    // The executable's folder and name where the system tells them (Linux); elsewhere the current folder and "".
    std::string AppPath() override;
    std::string AppEXEName() override;
};

}  // namespace toolkit
