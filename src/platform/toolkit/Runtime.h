// The toolkit's free services: message boxes, the picture loader, the file test,
// the program's folder and one pass of pending events. Those that need the system
// reach the installed platform (Platform.h), which a front end installs and a test
// can replace.
#pragma once

#include <cstdint>
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

// Modal: returns the answer. Without a platform installed it throws std::logic_error,
// so a question can never be answered silently.
std::int16_t MsgBox(const std::string& Prompt, std::int16_t Buttons, const std::string& Title);

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

// The picture in the file, decoded by the installed platform (Platform::DecodePicture;
// without one, 24-bit bitmaps are read). A failure throws PictureLoadError naming the
// file and the cause. LoadPicture refuses a picture that would take the pictures it
// loaded, as long as any holder keeps them, past MaxPicturePixels together.
StdPicture LoadPicture(const std::string& FileName);

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
// The program's file name without its extension: "tessarin".
std::string EXEName();
}  // namespace App

// Lets the platform process pending events once; without one installed there are none.
void DoEvents();

}  // namespace toolkit
