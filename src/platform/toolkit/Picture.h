// A decoded picture, as the picture loader hands it to surfaces and images.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace toolkit {

struct Picture {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint32_t> Pixels;  // row-major, 0xFFRRGGBB, Width × Height
};

// Pictures are immutable once loaded and shared by whoever shows them.
using StdPicture = std::shared_ptr<const Picture>;

}  // namespace toolkit
