// Ellipse: the brush fills the region of the box, the pen then traces the
// midpoint outline over it.
#include <algorithm>

#include "platform/gdi/Gdi.h"
#include "platform/gdi/Objects.h"
#include "platform/gdi/Raster.h"
#include "platform/gdi/Shapes.h"

namespace gdi {

namespace {

using detail::Dc;
using detail::Point64;

// Boxes larger than this are refused: their outline alone would take seconds.
constexpr std::int64_t kMaxBoxSide = std::int64_t{1} << 18;
// A wide pen stamps a round end of its own width at every outline point, so the
// work grows with the outline times the width; beyond this it would take minutes.
constexpr std::int64_t kMaxWideOutlineWork = std::int64_t{1} << 25;

bool WideOutlineTooCostly(std::int64_t w, std::int64_t h, int penWidth) {
    return penWidth > 1 && 2 * (w + h) * penWidth > kMaxWideOutlineWork;
}

// One quadrant of the midpoint ellipse for a w x h box, from the middle of the
// right side up to the top, as offsets from the box's corner (y counted upwards).
std::vector<Point64> QuadrantPoints(std::int64_t w, std::int64_t h) {
    std::vector<Point64> points;
    const std::int64_t a = w - 1, b = h - 1;
    const std::int64_t asq = 8 * a * a, bsq = 8 * b * b;
    std::int64_t dx = 4 * b * b * (1 - a);
    std::int64_t dy = 4 * a * a * (1 + (b % 2));
    std::int64_t err = dx + dy + a * a * (b % 2);
    Point64 p{a, h / 2};
    while (p.x >= w / 2) {
        const std::int64_t e2 = 2 * err;
        points.push_back(p);
        if (e2 >= dx) {
            --p.x;
            dx += bsq;
            err += dx;
        }
        if (e2 <= dy) {
            ++p.y;
            dy += asq;
            err += dy;
        }
    }
    return points;
}

// The closed outline, counter-clockwise from the middle of the right side.
std::vector<Point64> OutlinePoints(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom) {
    const std::int64_t w = right - left, h = bottom - top;
    std::vector<Point64> points = QuadrantPoints(w, h);
    for (Point64& p : points) p = Point64{left + p.x, top + h - 1 - p.y};
    const std::size_t count = points.size();
    // Mirror left, then down; an odd side shares its middle point instead of repeating it.
    std::size_t end = 2 * count - (w % 2 != 0 ? 2 : 1);
    points.resize(end + 1);
    for (std::size_t i = 0; i < count; ++i) points[end - i] = Point64{left + right - 1 - points[i].x, points[i].y};
    const std::size_t half = points.size();
    end = 2 * half - (h % 2 != 0 ? 2 : 1);
    points.resize(end + 1);
    for (std::size_t i = 0; i < half; ++i) points[end - i] = Point64{points[i].x, top + bottom - 1 - points[i].y};
    return points;
}

void TracePolyline(Dc& dc, const std::vector<Point64>& points, const detail::Pen& pen) {
    const std::uint32_t pixel = ToPixel(pen.color);
    if (pen.width > 1) {
        detail::PaintWidePolyline(dc, points, true, pen.width, pixel);
        return;
    }
    for (std::size_t i = 0; i < points.size(); ++i)
        detail::PaintCosmeticLine(dc, points[i], points[(i + 1) % points.size()], pixel);
}

// Boxes two pixels thin or less are drawn as rectangles, as GDI does.
void ThinBox(Dc& dc, std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom,
             const detail::Pen& pen, const detail::Brush& brush) {
    --right;
    --bottom;
    const bool hasPen = pen.style != PS_NULL;
    if (!brush.hollow) {
        // A wide pen's outline is painted over the whole box; a thin or null pen
        // leaves its own inset, GDI's (width + 1) / 2 before and width / 2 after.
        const std::int64_t w = !hasPen ? 0 : pen.width > 1 ? 0 : 1;
        const std::int64_t x0 = left + (w + 1) / 2, x1 = right - w / 2;
        const std::int64_t y0 = top + (w + 1) / 2, y1 = bottom - w / 2;
        for (std::int64_t y = std::max<std::int64_t>(y0, 0); y < std::min<std::int64_t>(y1, dc.height); ++y)
            detail::FillSpan(dc, y, x0, x1, ToPixel(brush.color));
    }
    if (hasPen) TracePolyline(dc, {{right, top}, {left, top}, {left, bottom}, {right, bottom}}, pen);
}

}  // namespace

BOOL Ellipse(HDC hdc, int left, int top, int right, int bottom) {
    Dc* dc = detail::Table().FindDc(hdc);
    if (dc == nullptr) return FALSE;
    const std::int64_t l = std::min(left, right), r = std::max(left, right);
    const std::int64_t t = std::min(top, bottom), b = std::max(top, bottom);
    if (l == r || t == b) return TRUE;
    const detail::Pen& pen = detail::Table().SelectedPen(*dc);
    const detail::Brush& brush = detail::Table().SelectedBrush(*dc);
    if (r - l > kMaxBoxSide || b - t > kMaxBoxSide || pen.width > detail::kMaxPenWidth) return FALSE;
    if (pen.style != PS_NULL && WideOutlineTooCostly(r - l, b - t, pen.width)) return FALSE;
    if (r - l <= 2 || b - t <= 2) {
        ThinBox(*dc, l, t, r, b, pen, brush);
        return TRUE;
    }
    if (!brush.hollow)
        detail::PaintSpans(*dc, detail::RoundRectSpans(l, t, r + 1, b + 1, r - l, b - t), 0, 0, ToPixel(brush.color));
    if (pen.style != PS_NULL) TracePolyline(*dc, OutlinePoints(l, t, r, b), pen);
    return TRUE;
}

}  // namespace gdi
