#include "platform/toolkit/web/WebPlatform.h"

#include <memory>

#include "platform/toolkit/web/Page.h"

namespace toolkit::web {

std::int16_t WebPlatform::MsgBox(const std::string& Prompt, std::int16_t Buttons, const std::string& Title) {
    if ((Buttons & 0x7) == vbYesNo) return page::Ask(Title, Prompt) ? vbYes : vbNo;
    page::ReportError(Title, Prompt);
    return vbOK;
}

StdPicture WebPlatform::DecodePicture(const EncodedPicture& File) {
    const page::DecodedSize size = page::DecodedPictureSize(File.NativeFileName);
    if (!size.Error.empty()) throw PictureLoadError(size.Error);
    if (!PictureSizeAllowed(size.Width, size.Height))
        throw PictureLoadError("picture size " + std::to_string(size.Width) + " x " + std::to_string(size.Height) +
                               " is out of range");
    auto picture = std::make_shared<Picture>();
    picture->Width = size.Width;
    picture->Height = size.Height;
    picture->Pixels.resize(static_cast<std::size_t>(size.Width) * static_cast<std::size_t>(size.Height));
    page::TakeDecodedPicture(File.NativeFileName, picture->Pixels.data());
    picture->Opaque = true;
    for (const std::uint32_t pixel : picture->Pixels) {
        if ((pixel >> 24) != 0xFF) {
            picture->Opaque = false;
            break;
        }
    }
    return picture;
}

}  // namespace toolkit::web
