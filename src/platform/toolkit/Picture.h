// A decoded picture, as the picture loader hands it to surfaces and images.
#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <vector>

namespace toolkit {

struct Picture {
    int Width = 0;
    int Height = 0;
    // Row-major, Width × Height, 0xAARRGGBB. Alpha below 0xFF comes from a picture's
    // transparency (as in GIF files): there the surface's background shows through.
    std::vector<std::uint32_t> Pixels;
    // Set by a decoder that knows every alpha is 0xFF (as in JPEG files): the picture is then laid on a
    // surface as a plain copy.
    bool Opaque = false;
};

// A picture that cannot be loaded; what() names the file and the cause.
class PictureLoadError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Pictures are immutable once loaded and shared by whoever shows them.
using StdPicture = std::shared_ptr<const Picture>;

// Pictures beyond these bounds are refused before any pixel memory is taken, so a
// corrupt or hostile header cannot exhaust memory. A phone photo (48 megapixels at 8000 x
// 6000) passes. LoadPicture also holds all the pictures it handed out that are still alive
// to MaxPicturePixels together, so eight pictures cannot take eight times as much.
constexpr int MaxPictureSide = 8192;
constexpr std::int64_t MaxPicturePixels = std::int64_t{1} << 26;  // 64 Mi pixels, 256 MB

constexpr bool PictureSizeAllowed(std::int64_t width, std::int64_t height) {
    return width > 0 && height > 0 && width <= MaxPictureSide && height <= MaxPictureSide &&
           width * height <= MaxPicturePixels;
}

}  // namespace toolkit
