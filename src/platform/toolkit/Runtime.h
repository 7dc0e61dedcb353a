// The toolkit's free services: message boxes, the picture loader, the file test,
// the program's folder and one pass of pending events. Each reaches the platform
// through a seam that a front end fills and a test can replace.
#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>

#include "platform/toolkit/Picture.h"

namespace toolkit {

// Message box styles and answers.
constexpr std::int16_t vbYesNo = 4;
constexpr std::int16_t vbQuestion = 32;
constexpr std::int16_t vbYes = 6;
constexpr std::int16_t vbNo = 7;

using MsgBoxHandler = std::function<std::int16_t(const std::string& Prompt, std::int16_t Buttons,
                                                 const std::string& Title)>;
// Modal: returns the answer. Without a handler installed it fails loudly.
std::int16_t MsgBox(const std::string& Prompt, std::int16_t Buttons, const std::string& Title);
MsgBoxHandler SetMsgBoxHandler(MsgBoxHandler handler);  // returns the previous one

// A picture that cannot be loaded; what() names the file and the cause.
class PictureLoadError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Decodes a file (already a native path) into a picture, or throws PictureLoadError.
using PictureDecoder = std::function<StdPicture(const std::string& NativeFileName)>;
StdPicture LoadPicture(const std::string& FileName);
PictureDecoder SetPictureDecoder(PictureDecoder decoder);

// The program's paths are written with '\' as in "\Bilder\cross.gif"; this maps
// them to the platform's separator.
std::string NativePath(const std::string& PathName);

// The file's name when PathName is an ordinary, visible file; "" otherwise.
std::string Dir(const std::string& PathName);

namespace App {
// The program's folder, without a trailing separator.
std::string Path();
void Path(const std::string& vNewValue);
}  // namespace App

// Lets the front end process pending events once.
void DoEvents();
std::function<void()> SetDoEventsHandler(std::function<void()> handler);

}  // namespace toolkit
