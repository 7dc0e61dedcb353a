#include "platform/toolkit/Bitmap.h"

#include <string>

namespace toolkit {

namespace {

constexpr std::size_t FileHeaderSize = 14;
constexpr std::size_t InfoHeaderMinSize = 40;
constexpr std::uint32_t BiRgb = 0;

std::uint32_t ReadU32(std::span<const std::uint8_t> d, std::size_t at) {
    return d[at] | (std::uint32_t{d[at + 1]} << 8) | (std::uint32_t{d[at + 2]} << 16) | (std::uint32_t{d[at + 3]} << 24);
}

std::uint16_t ReadU16(std::span<const std::uint8_t> d, std::size_t at) {
    return static_cast<std::uint16_t>(d[at] | (d[at + 1] << 8));
}

[[noreturn]] void Fail(const std::string& cause) { throw PictureLoadError(cause); }

}  // namespace

StdPicture LoadBitmapResource(std::span<const std::uint8_t> Data) {
    if (Data.size() < FileHeaderSize + InfoHeaderMinSize) Fail("not a bitmap: too short for its headers");
    if (Data[0] != 'B' || Data[1] != 'M') Fail("not a bitmap: no 'BM' signature");
    const std::uint32_t pixelOffset = ReadU32(Data, 10);
    const std::uint32_t infoSize = ReadU32(Data, FileHeaderSize);
    if (infoSize < InfoHeaderMinSize || FileHeaderSize + infoSize > Data.size()) Fail("unsupported bitmap header");
    const auto width = static_cast<std::int32_t>(ReadU32(Data, 18));
    const auto rawHeight = static_cast<std::int32_t>(ReadU32(Data, 22));
    if (ReadU16(Data, 26) != 1) Fail("bitmap has more than one plane");
    if (ReadU16(Data, 28) != 24) Fail("only 24-bit bitmaps are read");
    if (ReadU32(Data, 30) != BiRgb) Fail("compressed bitmaps are not read");

    const bool bottomUp = rawHeight > 0;
    const std::int64_t height = bottomUp ? std::int64_t{rawHeight} : -std::int64_t{rawHeight};
    if (!PictureSizeAllowed(width, height))
        Fail("picture size " + std::to_string(width) + " x " + std::to_string(height) + " is out of range");

    const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
    const std::size_t rows = static_cast<std::size_t>(height);
    if (pixelOffset > Data.size() || (Data.size() - pixelOffset) / stride < rows) Fail("bitmap data is truncated");

    auto picture = std::make_shared<Picture>();
    picture->Width = width;
    picture->Height = static_cast<int>(height);
    picture->Opaque = true;
    picture->Pixels.resize(static_cast<std::size_t>(width) * rows);
    for (std::size_t y = 0; y < rows; ++y) {
        const std::size_t fileRow = bottomUp ? rows - 1 - y : y;
        const std::uint8_t* src = Data.data() + pixelOffset + fileRow * stride;
        std::uint32_t* dst = picture->Pixels.data() + y * static_cast<std::size_t>(width);
        for (int x = 0; x < width; ++x, src += 3)
            dst[x] = 0xFF000000u | (std::uint32_t{src[2]} << 16) | (std::uint32_t{src[1]} << 8) | src[0];
    }
    return picture;
}

}  // namespace toolkit
