#pragma once

// Just enough of the GIF, JPEG and BMP formats to check the pictures the game ships with, without a toolkit.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

namespace pictures {

struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    bool operator==(const Rgb&) const = default;
};

struct Size {
    int width = 0;
    int height = 0;
    bool operator==(const Size&) const = default;
};

// Pixels in rows from the top, left to right.
struct Raster {
    Size size;
    std::vector<Rgb> pixels;
    const Rgb& at(int x, int y) const { return pixels[static_cast<std::size_t>(y * size.width + x)]; }
};

std::vector<std::uint8_t> readBytes(const std::filesystem::path& path);

// The GIF logical screen size, or nothing when the bytes are not a GIF.
std::optional<Size> gifScreenSize(const std::vector<std::uint8_t>& bytes);

// The first image of a GIF, decoded; nothing when the stream is malformed.
std::optional<Raster> decodeGif(const std::vector<std::uint8_t>& bytes);

// The frame size from a JPEG's start-of-frame segment; nothing when there is none before the scan.
std::optional<Size> jpegFrameSize(const std::vector<std::uint8_t>& bytes);

struct Bitmap {
    std::uint32_t fileSize = 0;  // as the file header states it
    std::uint32_t pixelOffset = 0;
    std::uint32_t infoSize = 0;
    std::uint16_t bitsPerPixel = 0;
    std::uint32_t compression = 0;
    Raster raster;
};

// An uncompressed 24-bit BMP; nothing for anything else or for a file too short for its pixels.
std::optional<Bitmap> decodeBmp24(const std::vector<std::uint8_t>& bytes);

}  // namespace pictures
