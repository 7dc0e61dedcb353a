// Builds bitmap file images for the picture-loading tests, and reads their load errors.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/toolkit/Runtime.h"

namespace testing_files {

inline void Put32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// A 24-bit bottom-up bitmap whose pixel (x, y) is RGB(10 x, 10 y, 99); `declaredWidth`
// and `declaredHeight` override the header only, to build lying files.
inline std::vector<std::uint8_t> Bitmap24(int width, int height, std::int32_t declaredWidth = 0,
                                          std::int32_t declaredHeight = 0) {
    const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
    std::vector<std::uint8_t> out(54 + stride * height, 0);
    out[0] = 'B';
    out[1] = 'M';
    Put32(out, 2, static_cast<std::uint32_t>(out.size()));
    Put32(out, 10, 54);
    Put32(out, 14, 40);
    Put32(out, 18, static_cast<std::uint32_t>(declaredWidth ? declaredWidth : width));
    Put32(out, 22, static_cast<std::uint32_t>(declaredHeight ? declaredHeight : height));
    out[26] = 1;
    out[28] = 24;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            std::uint8_t* p = out.data() + 54 + (height - 1 - y) * stride + x * 3;
            p[0] = 99;
            p[1] = static_cast<std::uint8_t>(10 * y);
            p[2] = static_cast<std::uint8_t>(10 * x);
        }
    return out;
}

// The message of the error LoadPicture raises for `file`, or "" when it loads.
inline std::string LoadError(const std::string& file) {
    try {
        toolkit::LoadPicture(file);
    } catch (const toolkit::PictureLoadError& e) {
        return e.what();
    }
    return "";
}

}  // namespace testing_files
