// The toolkit's platform on Windows: its message boxes, WIC for pictures, one pass of the thread's pending messages,
// and the program's folder and name from the running module.
#pragma once

#include <cstdint>
#include <string>

#include "platform/toolkit/Platform.h"

namespace toolkit::win32 {

class Win32Platform : public Platform {
public:
    Win32Platform();

    // A Windows message box owned by the active window, answering as MsgBoxAnswer.
    std::int16_t MsgBox(const std::string& prompt, std::int16_t buttons, const std::string& title) override;
    StdPicture DecodePicture(const EncodedPicture& file) override;
    void DoEvents() override;
    std::string AppPath() override { return folder_; }
    std::string AppEXEName() override { return name_; }

private:
    std::string folder_;
    std::string name_;
};

// MsgBox's answer for what MessageBoxW returned (the same numbers), but a box closed
// any other way than by a button (Escape, the close box) answers No where it offers
// No, and OK otherwise.
std::int16_t MsgBoxAnswer(int answer, std::int16_t buttons);

// The folder of the running executable, in UTF-8, without a trailing separator.
std::string ExecutableFolder();

}  // namespace toolkit::win32
