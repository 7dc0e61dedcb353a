// The four frame-corner pictures that the program carries inside itself, as
// 24-bit bitmap file images (13 × 13 pixels each).
#pragma once

#include <cstdint>
#include <span>

namespace resources {

extern const std::span<const std::uint8_t> Image5Bitmap;  // top-left corner
extern const std::span<const std::uint8_t> Image6Bitmap;  // top-right corner
extern const std::span<const std::uint8_t> Image7Bitmap;  // bottom-right corner
extern const std::span<const std::uint8_t> Image8Bitmap;  // bottom-left corner

}  // namespace resources
