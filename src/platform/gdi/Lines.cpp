// LineTo and the pens behind it: the 1-pixel line and the wide pen.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "platform/gdi/Gdi.h"
#include "platform/gdi/Objects.h"
#include "platform/gdi/Raster.h"
#include "platform/gdi/Shapes.h"

namespace gdi::detail {

namespace {

Wide CeilDiv(Wide a, Wide b) {  // b > 0
    const Wide q = a / b;
    return q * b < a ? q + 1 : q;
}

// Octants counted clockwise from +x, as GDI numbers them; lines in octants 3,
// 5, 6 and 8 step sideways at an exact half, the others only past it. So a
// line and its reverse cover the same pixels.
int Octant(std::int64_t dx, std::int64_t dy) {
    if (dy > 0) {
        if (dx > 0) return dx > dy ? 1 : 2;
        return -dx > dy ? 4 : 3;
    }
    if (dx < 0) return -dx > -dy ? 5 : 6;
    return dx > -dy ? 8 : 7;
}

// The Bresenham walk along the major axis, k = 0 .. major-1: the minor offset
// at step k in closed form, so that the walk can start where the surface begins.
struct Walk {
    std::int64_t major;
    std::int64_t minor;
    int bias;

    std::int64_t OffsetAt(std::int64_t k) const {
        return static_cast<std::int64_t>(CeilDiv(Wide{2} * minor * k + bias - major, Wide{2} * major));
    }
    // The first k in [lo, hi] whose offset reaches `target` (hi + 1 if none).
    std::int64_t FirstReaching(std::int64_t lo, std::int64_t hi, std::int64_t target) const {
        while (lo <= hi) {
            const std::int64_t mid = lo + (hi - lo) / 2;
            if (OffsetAt(mid) >= target)
                hi = mid - 1;
            else
                lo = mid + 1;
        }
        return lo;
    }
};

// The k for which start + step * k lies in [0, size).
void StepsInside(std::int64_t start, int step, std::int64_t size, std::int64_t& lo, std::int64_t& hi) {
    if (step > 0) {
        lo = std::max(lo, -start);
        hi = std::min(hi, size - 1 - start);
    } else {
        lo = std::max(lo, start - (size - 1));
        hi = std::min(hi, start);
    }
}

// Narrows the steps [lo, hi] to those whose pixel lies on the surface; false if none does.
bool ClipWalk(const Walk& walk, std::int64_t majorStart, int majorStep, std::int64_t majorSize, std::int64_t minorStart,
              int minorStep, std::int64_t minorSize, std::int64_t& lo, std::int64_t& hi) {
    StepsInside(majorStart, majorStep, majorSize, lo, hi);
    std::int64_t offLo = std::numeric_limits<std::int64_t>::min(), offHi = std::numeric_limits<std::int64_t>::max();
    StepsInside(minorStart, minorStep, minorSize, offLo, offHi);
    if (lo > hi || offLo > offHi) return false;
    lo = walk.FirstReaching(lo, hi, offLo);
    hi = walk.FirstReaching(lo, hi, offHi + 1) - 1;
    return lo <= hi;
}

}  // namespace

void PaintCosmeticLine(Dc& dc, Point64 a, Point64 b, std::uint32_t pixel) {
    const std::int64_t dx = b.x - a.x, dy = b.y - a.y;
    if (dx == 0 && dy == 0) return;
    const int octant = Octant(dx, dy);
    const bool xMajor = std::abs(dx) > std::abs(dy);
    const Walk walk{xMajor ? std::abs(dx) : std::abs(dy), xMajor ? std::abs(dy) : std::abs(dx),
                    (octant == 3 || octant == 5 || octant == 6 || octant == 8) ? 1 : 0};
    const int stepX = dx > 0 ? 1 : -1, stepY = dy > 0 ? 1 : -1;
    const int majorStep = xMajor ? stepX : stepY, minorStep = xMajor ? stepY : stepX;
    const std::int64_t majorStart = xMajor ? a.x : a.y, minorStart = xMajor ? a.y : a.x;
    const std::int64_t majorSize = xMajor ? dc.width : dc.height, minorSize = xMajor ? dc.height : dc.width;

    std::int64_t lo = 0, hi = walk.major - 1;
    const bool inside = std::min(a.x, b.x) >= 0 && std::min(a.y, b.y) >= 0 && std::max(a.x, b.x) < dc.width &&
                        std::max(a.y, b.y) < dc.height;
    if (!inside && !ClipWalk(walk, majorStart, majorStep, majorSize, minorStart, minorStep, minorSize, lo, hi)) return;
    std::int64_t offset = lo == 0 ? 0 : walk.OffsetAt(lo);
    // The error term itself stays small; its parts need not when the walk starts far out.
    std::int64_t err =
        static_cast<std::int64_t>(Wide{2} * walk.minor * (lo + 1) - walk.major - Wide{2} * walk.major * offset);
    for (std::int64_t k = lo; k <= hi; ++k) {
        const std::int64_t p = majorStart + majorStep * k, q = minorStart + minorStep * offset;
        if (xMajor)
            Plot(dc, p, q, pixel);
        else
            Plot(dc, q, p, pixel);
        if (err + walk.bias > 0) {
            ++offset;
            err += 2 * (walk.minor - walk.major);
        } else {
            err += 2 * walk.minor;
        }
    }
}

namespace {

// GDI's rounding of the pen's half widths: halves away from zero.
std::int64_t RoundHalfUp(double v) { return static_cast<std::int64_t>(v + 0.5); }

// The body of one wide segment, without its ends: a band `width` pixels across,
// the odd pixel of an even width on the -x/-y side.
void PaintWideSegment(Dc& dc, Point64 a, Point64 b, int width, std::uint32_t pixel) {
    const std::int64_t dx = b.x - a.x, dy = b.y - a.y;
    if (dx == 0 && dy == 0) return;
    if (dy == 0) {
        const std::int64_t top = a.y - width / 2;
        for (std::int64_t y = std::max<std::int64_t>(top, 0); y < std::min<std::int64_t>(top + width, dc.height); ++y)
            FillSpan(dc, y, std::min(a.x, b.x), std::max(a.x, b.x), pixel);
        return;
    }
    if (dx == 0) {
        const std::int64_t left = a.x - width / 2;
        const std::int64_t y0 = std::max<std::int64_t>(std::min(a.y, b.y), 0);
        const std::int64_t y1 = std::min<std::int64_t>(std::max(a.y, b.y), dc.height);
        for (std::int64_t y = y0; y < y1; ++y) FillSpan(dc, y, left, left + width, pixel);
        return;
    }
    const double length = std::hypot(static_cast<double>(dx), static_cast<double>(dy));
    const double widthX = width * static_cast<double>(std::abs(dy)) / length;
    const double widthY = width * static_cast<double>(std::abs(dx)) / length;
    Point64 narrow{RoundHalfUp(widthX / 2), RoundHalfUp(widthY / 2)};
    Point64 wide{RoundHalfUp((widthX + 1) / 2), RoundHalfUp((widthY + 1) / 2)};
    if (dx < 0) {
        wide.y = -wide.y;
        narrow.y = -narrow.y;
    }
    if (dy < 0) {
        std::swap(narrow, wide);
        wide.x = -wide.x;
        narrow.x = -narrow.x;
    }
    const Point64 quad[4] = {{a.x - narrow.x, a.y + narrow.y},
                             {a.x + wide.x, a.y - wide.y},
                             {b.x + wide.x, b.y - wide.y},
                             {b.x - narrow.x, b.y + narrow.y}};
    PaintPolygon(dc, quad, 4, pixel);
}

}  // namespace

void PaintWidePolyline(Dc& dc, const std::vector<Point64>& points, bool closed, int width, std::uint32_t pixel) {
    if (points.empty()) return;
    const std::vector<RowSpan> dot =
        RoundRectSpans(-(width / 2), -(width / 2), (width + 1) / 2 + 1, (width + 1) / 2 + 1, width + 1, width + 1);
    const std::size_t n = points.size();
    const std::size_t segments = closed ? n : n - 1;
    for (std::size_t i = 0; i < segments; ++i) PaintWideSegment(dc, points[i], points[(i + 1) % n], width, pixel);
    if (closed) {
        for (const Point64& p : points) PaintSpans(dc, dot, p.x, p.y, pixel);
    } else {
        PaintSpans(dc, dot, points.front().x, points.front().y, pixel);
        PaintSpans(dc, dot, points.back().x, points.back().y, pixel);
    }
}

}  // namespace gdi::detail

namespace gdi {

BOOL LineTo(HDC hdc, int x, int y) {
    detail::Dc* dc = detail::Table().FindDc(hdc);
    if (dc == nullptr) return FALSE;
    const detail::Pen& pen = detail::Table().SelectedPen(*dc);
    if (pen.width > detail::kMaxPenWidth) return FALSE;
    const detail::Point64 from{dc->position.x, dc->position.y}, to{x, y};
    dc->position = POINT{x, y};
    if (pen.style == PS_NULL) return TRUE;
    if (pen.width <= 1)
        detail::PaintCosmeticLine(*dc, from, to, ToPixel(pen.color));
    else
        detail::PaintWidePolyline(*dc, {from, to}, false, pen.width, ToPixel(pen.color));
    return TRUE;
}

}  // namespace gdi
