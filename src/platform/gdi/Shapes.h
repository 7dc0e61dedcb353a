// Pixel coverage of the shapes the wide pen and the ellipse are built from, with
// GDI's own rounding, so that every pixel lands where GDI puts it. Internal.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/gdi/Objects.h"

namespace gdi::detail {

__extension__ using Wide = __int128;

// Wider pens are refused rather than rasterised for seconds.
constexpr int kMaxPenWidth = 1 << 16;

struct Point64 {
    std::int64_t x;
    std::int64_t y;
};

// Row y covers [x0, x1).
struct RowSpan {
    std::int64_t y;
    std::int64_t x0;
    std::int64_t x1;
};

// The region of a rectangle with elliptic corners of ew x eh inside [left, right) x [top, bottom),
// row by row (an ellipse when the corners are as large as the box).
std::vector<RowSpan> RoundRectSpans(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom,
                                    std::int64_t ew, std::int64_t eh);

void PaintSpans(Dc& dc, const std::vector<RowSpan>& spans, std::int64_t dx, std::int64_t dy, std::uint32_t pixel);

// Fills a polygon by the alternate rule: a pixel is in when its top-left corner
// point lies inside, or on a left or top edge.
void PaintPolygon(Dc& dc, const Point64* points, int count, std::uint32_t pixel);

// A 1-pixel line from a to b without b itself.
void PaintCosmeticLine(Dc& dc, Point64 a, Point64 b, std::uint32_t pixel);

// A pen of `width` pixels with round ends and round joins along a polyline,
// closed back to its start when `closed`.
void PaintWidePolyline(Dc& dc, const std::vector<Point64>& points, bool closed, int width, std::uint32_t pixel);

}  // namespace gdi::detail
