#include "platform/toolkit/DefaultPlatform.h"

#include <stdexcept>

#include "platform/toolkit/Bitmap.h"
#include "platform/toolkit/Files.h"

namespace toolkit {

std::int16_t DefaultPlatform::MsgBox(const std::string& prompt, std::int16_t, const std::string&) {
    throw std::logic_error("no platform installed to ask: " + prompt);
}

StdPicture DefaultPlatform::DecodePicture(const EncodedPicture& file) { return LoadBitmapResource(file.Data); }

std::string DefaultPlatform::AppPath() { return files::ProgramFolder(); }

std::string DefaultPlatform::AppEXEName() { return files::ProgramName(); }

}  // namespace toolkit
