#include "platform/toolkit/web/WebPlatform.h"

#include <array>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/toolkit/web/Page.h"

namespace toolkit::web {

// The boxes the program shows: Yes and No, or OK alone, with the critical icon for an error. Escape gives the last
// answer, No or OK, so that leaving a question never counts as Yes.
std::int16_t WebPlatform::MsgBox(const std::string& prompt, std::int16_t buttons, const std::string& title) {
    static constexpr std::array<const char*, 2> YesNo{"Yes", "No"};
    static constexpr std::array<const char*, 1> Ok{"OK"};
    const bool question = (buttons & 0x7) == vbYesNo;
    const std::span<const char* const> answers = question ? std::span<const char* const>(YesNo) : Ok;
    const int answer = page::Ask(page::Box{title, prompt, answers, (buttons & 0x70) == vbCritical});
    if (!question) return vbOK;
    return answer == 0 ? vbYes : vbNo;
}

StdPicture WebPlatform::DecodePicture(const EncodedPicture& file) {
    const std::vector<std::uint8_t> read =
        file.Data.empty() ? ReadPictureFile(file.NativeFileName) : std::vector<std::uint8_t>();
    const page::DecodedSize size =
        page::DecodedPictureSize(file.NativeFileName, file.Data.empty() ? std::span(read) : file.Data);
    if (!size.Error.empty()) throw PictureLoadError(size.Error);
    if (!PictureSizeAllowed(size.Width, size.Height))
        throw PictureLoadError("picture size " + std::to_string(size.Width) + " x " + std::to_string(size.Height) +
                               " is out of range");
    auto picture = std::make_shared<Picture>();
    picture->Width = size.Width;
    picture->Height = size.Height;
    // Taken first and then copied in one go: a vector of the size would be cleared a pixel at a time.
    const std::size_t count = static_cast<std::size_t>(size.Width) * static_cast<std::size_t>(size.Height);
    const std::unique_ptr<std::uint32_t[]> taken(new std::uint32_t[count]);
    page::TakeDecodedPicture(file.NativeFileName, std::span(taken.get(), count));
    picture->Pixels.assign(taken.get(), taken.get() + count);
    picture->Opaque = true;
    for (std::uint32_t& pixel : picture->Pixels) {
        pixel = page::CanvasPixel(pixel);
        picture->Opaque = picture->Opaque && (pixel >> 24) == 0xFF;
    }
    return picture;
}

}  // namespace toolkit::web
