// Connects the toolkit's seams to Windows: message boxes, the picture decoder (WIC),
// one pass of pending messages and the program's folder.
#pragma once

#include <cstdint>
#include <string>

namespace toolkit::win32 {

void InstallSeams();

// The message box handler InstallSeams installs: a Windows message box owned by the
// active window, answering as MsgBoxAnswer.
std::int16_t ShowMessageBox(const std::string& prompt, std::int16_t buttons, const std::string& title);

// MsgBox's answer for what MessageBoxW returned (the same numbers), but a box closed
// any other way than by a button (Escape, the close box) answers No where it offers
// No, and OK otherwise.
std::int16_t MsgBoxAnswer(int answer, std::int16_t buttons);

// The folder of the running executable, in UTF-8, without a trailing separator.
std::string ExecutableFolder();

}  // namespace toolkit::win32
