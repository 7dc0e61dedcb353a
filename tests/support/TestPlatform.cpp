#include "support/TestPlatform.h"

namespace testsupport {

std::int16_t TestPlatform::MsgBox(const std::string& prompt, std::int16_t buttons, const std::string& title) {
    return Ask ? Ask(prompt, buttons, title) : previous_.MsgBox(prompt, buttons, title);
}

toolkit::StdPicture TestPlatform::DecodePicture(const toolkit::EncodedPicture& file) {
    return Decode ? Decode(file) : previous_.DecodePicture(file);
}

void TestPlatform::DoEvents() {
    if (Events)
        Events();
    else
        previous_.DoEvents();
}

std::string TestPlatform::AppPath() { return Path ? *Path : previous_.AppPath(); }

std::string TestPlatform::AppEXEName() { return EXEName ? *EXEName : previous_.AppEXEName(); }

}  // namespace testsupport
