// JPEG files through libjpeg-turbo's TurboJPEG interface, straight into the toolkit's
// 0xAARRGGBB words.
#include <turbojpeg.h>

#include <bit>
#include <memory>
#include <string>
#include <vector>

#include "platform/toolkit/decoders/PictureDecoders.h"

namespace toolkit {

namespace {

struct Destroyer {
    void operator()(void* handle) const { tjDestroy(handle); }
};
using Decompressor = std::unique_ptr<void, Destroyer>;

// The byte order that makes a 32-bit word 0xAARRGGBB.
constexpr int WordFormat = std::endian::native == std::endian::little ? TJPF_BGRA : TJPF_ARGB;

[[noreturn]] void Fail(void* handle) { throw PictureLoadError(std::string("JPEG: ") + tjGetErrorStr2(handle)); }

// Decodes into `pixels` (Width × Height words, or bytes per channel for CMYK). A warning (such as extra bytes
// between segments) leaves a complete picture, as the reference decoder accepts it; the file's structure was
// checked before. Progressive files are held to a sane number of scans.
void Decompress(void* handle, std::span<const std::uint8_t> data, void* pixels, int width, int height, int format) {
    if (tjDecompress2(handle, data.data(), static_cast<unsigned long>(data.size()), static_cast<unsigned char*>(pixels),
                      width, 0, height, format, TJFLAG_LIMITSCANS) != 0 &&
        tjGetErrorCode(handle) != TJERR_WARNING)
        Fail(handle);
}

// Adobe's CMYK files store the inks inverted, so each channel times K is the colour.
void CmykToWords(const std::vector<std::uint8_t>& cmyk, std::vector<std::uint32_t>& words) {
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::uint32_t c = cmyk[4 * i], m = cmyk[4 * i + 1], y = cmyk[4 * i + 2], k = cmyk[4 * i + 3];
        words[i] = 0xFF000000u | ((k * c / 255) << 16) | ((k * m / 255) << 8) | (k * y / 255);
    }
}

}  // namespace

StdPicture DecodeJpeg(std::span<const std::uint8_t> data) {
    const Decompressor handle(tjInitDecompress());
    if (!handle) throw PictureLoadError(std::string("JPEG: ") + tjGetErrorStr2(nullptr));
    int width = 0, height = 0, subsampling = 0, colorspace = 0;
    if (tjDecompressHeader3(handle.get(), data.data(), static_cast<unsigned long>(data.size()), &width, &height,
                            &subsampling, &colorspace) != 0)
        Fail(handle.get());
    // A stream that ends inside its headers reads as an image of no size.
    if (width <= 0 || height <= 0) throw PictureLoadError("JPEG: the file ends before its image header");
    if (!PictureSizeAllowed(width, height))
        throw PictureLoadError("picture size " + std::to_string(width) + " x " + std::to_string(height) +
                               " is out of range");
    auto picture = std::make_shared<Picture>();
    picture->Width = width;
    picture->Height = height;
    picture->Opaque = true;
    picture->Pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    if (colorspace == TJCS_CMYK || colorspace == TJCS_YCCK) {
        std::vector<std::uint8_t> cmyk(picture->Pixels.size() * 4);
        Decompress(handle.get(), data, cmyk.data(), width, height, TJPF_CMYK);
        CmykToWords(cmyk, picture->Pixels);
    } else {
        Decompress(handle.get(), data, picture->Pixels.data(), width, height, WordFormat);
    }
    return picture;
}

}  // namespace toolkit
