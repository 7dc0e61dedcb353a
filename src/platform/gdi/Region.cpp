// Row coverage of round-cornered rectangles and polygons, the two region shapes
// that wide pens and ellipses are made of.
#include <algorithm>
#include <cmath>

#include "platform/gdi/Raster.h"
#include "platform/gdi/Shapes.h"

namespace gdi::detail {

namespace {

Wide CeilDiv(Wide a, Wide b) {  // b > 0
    const Wide q = a / b;
    return q * b < a ? q + 1 : q;
}

}  // namespace

// Right and bottom are exclusive, the corners follow a midpoint ellipse that is
// symmetric about the box's middle row and column.
std::vector<RowSpan> RoundRectSpans(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom,
                                    std::int64_t ew, std::int64_t eh) {
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
    --right;
    --bottom;
    ew = std::min(right - left, ew < 0 ? -ew : ew);
    eh = std::min(bottom - top, eh < 0 ? -eh : eh);
    std::vector<RowSpan> rows;
    if (ew < 2 || eh < 2) {
        for (std::int64_t y = top; y < bottom; ++y) rows.push_back(RowSpan{y, left, right});
        return rows;
    }
    // Rows the midpoint walk never reaches (far narrower than tall boxes) stay empty.
    rows.resize(static_cast<std::size_t>(eh) + 1, RowSpan{0, left, left});
    rows[static_cast<std::size_t>(eh / 2)] = RowSpan{0, left, right};
    const Wide a = ew - 1, b = eh - 1;
    const Wide asq = 8 * a * a, bsq = 8 * b * b;
    Wide dx = 4 * b * b * (1 - a);
    Wide dy = 4 * a * a * (1 + (b % 2));
    Wide err = dx + dy + a * a * (b % 2);
    std::int64_t x = 0;
    std::size_t y = static_cast<std::size_t>(eh / 2);
    while (x <= ew / 2) {
        const Wide e2 = 2 * err;
        if (e2 >= dx) {
            ++x;
            dx += bsq;
            err += dx;
        }
        if (e2 <= dy) {
            ++y;
            dy += asq;
            err += dy;
            if (y < rows.size()) rows[y] = RowSpan{0, left + x, right - x};
        }
    }
    rows.resize(static_cast<std::size_t>(eh));
    const auto half = static_cast<std::size_t>(eh / 2);
    for (std::size_t i = 0; i < half; ++i) {
        rows[i].x0 = rows[static_cast<std::size_t>(b) - i].x0;
        rows[i].x1 = rows[static_cast<std::size_t>(b) - i].x1;
        rows[i].y = top + static_cast<std::int64_t>(i);
    }
    for (std::size_t i = half; i < rows.size(); ++i) rows[i].y = bottom - eh + static_cast<std::int64_t>(i);
    // The middle row reaches up to the top when the corners leave straight sides.
    for (std::int64_t y2 = top + eh / 2; y2 < rows[half].y; ++y2)
        rows.push_back(RowSpan{y2, rows[half].x0, rows[half].x1});
    return rows;
}

void PaintSpans(Dc& dc, const std::vector<RowSpan>& spans, std::int64_t dx, std::int64_t dy, std::uint32_t pixel) {
    for (const RowSpan& s : spans) FillSpan(dc, s.y + dy, s.x0 + dx, s.x1 + dx, pixel);
}

// Each edge covers the rows from its upper end up to, not including, its lower
// end; in a row it stands at the first whole x at or right of its exact crossing.
void PaintPolygon(Dc& dc, const Point64* points, int count, std::uint32_t pixel) {
    if (count < 3) return;
    std::int64_t yMin = points[0].y, yMax = points[0].y;
    for (int i = 1; i < count; ++i) {
        yMin = std::min(yMin, points[i].y);
        yMax = std::max(yMax, points[i].y);
    }
    yMin = std::max<std::int64_t>(yMin, 0);
    yMax = std::min<std::int64_t>(yMax, dc.height);
    std::vector<std::int64_t> xs;
    for (std::int64_t y = yMin; y < yMax; ++y) {
        xs.clear();
        for (int i = 0; i < count; ++i) {
            Point64 p = points[i], q = points[(i + 1) % count];
            if (p.y == q.y) continue;
            if (p.y > q.y) std::swap(p, q);
            if (y < p.y || y >= q.y) continue;
            const Wide num = static_cast<Wide>(y - p.y) * (q.x - p.x);
            xs.push_back(p.x + static_cast<std::int64_t>(CeilDiv(num, q.y - p.y)));
        }
        std::sort(xs.begin(), xs.end());
        for (std::size_t i = 0; i + 1 < xs.size(); i += 2) FillSpan(dc, y, xs[i], xs[i + 1], pixel);
    }
}

}  // namespace gdi::detail
