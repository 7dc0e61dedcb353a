// The toolkit's free services: message boxes, the picture loader, the file test,
// the program's folder and one pass of pending events. Each reaches the platform
// through a seam that a front end fills and a test can replace.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "platform/toolkit/Picture.h"

namespace toolkit {

// Message box styles and answers.
constexpr std::int16_t vbOKOnly = 0;
constexpr std::int16_t vbYesNo = 4;
constexpr std::int16_t vbCritical = 16;
constexpr std::int16_t vbQuestion = 32;
constexpr std::int16_t vbOK = 1;
constexpr std::int16_t vbYes = 6;
constexpr std::int16_t vbNo = 7;

using MsgBoxHandler = std::function<std::int16_t(const std::string& Prompt, std::int16_t Buttons,
                                                 const std::string& Title)>;
// Modal: returns the answer. Without a handler installed it throws std::logic_error,
// so a question can never be answered silently.
std::int16_t MsgBox(const std::string& Prompt, std::int16_t Buttons, const std::string& Title);
MsgBoxHandler SetMsgBoxHandler(MsgBoxHandler handler);  // returns the previous one

// A picture file as the loader hands it to a decoder: its name and its whole contents,
// read once. A decoder that only wants the name takes it as a string. Data left empty
// (as when a caller names a file directly) means the decoder reads the file itself.
struct EncodedPicture {
    EncodedPicture(std::string NativeFileName, std::span<const std::uint8_t> Data = {})
        : NativeFileName(std::move(NativeFileName)), Data(Data) {}
    operator const std::string&() const { return NativeFileName; }

    std::string NativeFileName;
    std::span<const std::uint8_t> Data;
};

// Decodes an existing, non-empty file (already a native path) into a picture. It
// throws (PictureLoadError or any std::exception) with the cause alone; LoadPicture
// adds the file's name. Pictures beyond PictureSizeAllowed must be refused before
// their pixels are allocated. Without a decoder installed, 24-bit bitmaps are read.
// LoadPicture refuses a picture that would take the pictures it loaded, as long as any
// holder keeps them, past MaxPicturePixels together.
using PictureDecoder = std::function<StdPicture(const EncodedPicture& File)>;
StdPicture LoadPicture(const std::string& FileName);
PictureDecoder SetPictureDecoder(PictureDecoder decoder);  // returns the previous one

// The program's paths are written with '\' as in "\Bilder\cross.gif"; this maps
// them to the platform's separator.
std::string NativePath(const std::string& PathName);

// The file's name when PathName is an ordinary, visible file; "" otherwise
// (missing, a folder, a hidden file, or behind a folder it cannot enter). No wildcards.
std::string Dir(const std::string& PathName);

// The whole file, as LoadPicture reads it; PictureLoadError when it cannot be read, is
// larger than any allowed picture could be, or is no regular file (a pipe or a device,
// which is never opened, as that could block).
std::vector<std::uint8_t> ReadPictureFile(const std::string& NativeFileName);

namespace App {
// The program's folder, without a trailing separator.
std::string Path();
void Path(const std::string& vNewValue);
// The program's file name without its extension: "tessarin".
std::string EXEName();
void EXEName(const std::string& vNewValue);
}  // namespace App

// Lets the front end process pending events once; without a handler there are none.
void DoEvents();
std::function<void()> SetDoEventsHandler(std::function<void()> handler);

}  // namespace toolkit
