// Clipped pixel writes shared by the drawing calls. Internal to the raster layer.
#pragma once

#include <algorithm>
#include <cstdint>

#include "platform/gdi/Objects.h"

namespace gdi::detail {

// Fills [x0, x1) of row y, whatever part of it lies on the surface.
inline void FillSpan(Dc& dc, std::int64_t y, std::int64_t x0, std::int64_t x1, std::uint32_t pixel) {
    if (y < 0 || y >= dc.height) return;
    x0 = std::max<std::int64_t>(x0, 0);
    x1 = std::min<std::int64_t>(x1, dc.width);
    if (x0 >= x1) return;
    std::uint32_t* row = OwnBits(dc) + static_cast<std::size_t>(y) * static_cast<std::size_t>(dc.width);
    FillPixels(row + x0, static_cast<std::size_t>(x1 - x0), pixel);
}

inline void Plot(Dc& dc, std::int64_t x, std::int64_t y, std::uint32_t pixel) {
    if (x < 0 || y < 0 || x >= dc.width || y >= dc.height) return;
    OwnBits(dc)[static_cast<std::size_t>(y) * static_cast<std::size_t>(dc.width) + static_cast<std::size_t>(x)] = pixel;
}

}  // namespace gdi::detail
