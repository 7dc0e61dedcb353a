// Objects, device contexts and their surfaces, and single pixels.
#include <algorithm>
#include <cstdlib>
#include <limits>
#include <vector>

#include "platform/gdi/Gdi.h"
#include "platform/gdi/Objects.h"
#include "platform/gdi/Raster.h"

namespace gdi {

using detail::Dc;
using detail::Kind;
using detail::Table;

namespace {

// Far beyond any window, small enough that a surface always fits in memory.
constexpr std::int64_t kMaxSurfacePixels = std::int64_t{64} * 1024 * 1024;
constexpr int kMaxSurfaceSide = 1 << 20;

bool SaneSize(int width, int height) {
    if (width < 0 || height < 0 || width > kMaxSurfaceSide || height > kMaxSurfaceSide) return false;
    return std::int64_t{width} * height <= kMaxSurfacePixels;
}

std::size_t PixelCount(int width, int height) {
    return static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
}

}  // namespace

HGDIOBJ GetStockObject(int i) { return Table().Stock(i); }

HPEN CreatePen(int iStyle, int cWidth, COLORREF color) {
    if (iStyle != PS_SOLID && iStyle != PS_NULL) return 0;  // dashes and frames are not drawn here
    const int width = cWidth == std::numeric_limits<int>::min() ? std::numeric_limits<int>::max() : std::abs(cWidth);
    return Table().AddPen(detail::Pen{iStyle, width == 0 ? 1 : width, color & 0x00FFFFFFu});
}

HBRUSH CreateSolidBrush(COLORREF color) { return Table().AddBrush(detail::Brush{false, color & 0x00FFFFFFu}); }

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ h) {
    Dc* dc = Table().FindDc(hdc);
    if (dc == nullptr) return 0;
    switch (Table().KindOf(h)) {
        case Kind::Pen:
            return Table().Select(dc->pen, h);
        case Kind::Brush:
            return Table().Select(dc->brush, h);
        default:
            return 0;
    }
}

BOOL DeleteObject(HGDIOBJ ho) { return Table().Delete(ho); }

std::size_t LiveObjectCount() { return Table().LiveCount(); }

HDC CreateSurfaceDC(int width, int height, COLORREF fill) {
    if (!SaneSize(width, height)) return 0;
    auto dc = std::make_unique<Dc>();
    dc->width = width;
    dc->height = height;
    dc->pixels.resize(PixelCount(width, height));
    FillPixels(dc->pixels.data(), dc->pixels.size(), ToPixel(fill));
    return Table().AddDc(std::move(dc));
}

BOOL DeleteDC(HDC hdc) { return Table().DeleteDc(hdc); }

// Kept pixels are copied and new ones filled, each in one pass over the new image. An image of its own that keeps
// its width keeps its rows where they are and only gains or loses some at the bottom.
BOOL ResizeSurface(HDC hdc, int width, int height, COLORREF fill) {
    Dc* dc = Table().FindDc(hdc);
    if (dc == nullptr || !SaneSize(width, height)) return FALSE;
    if (width == dc->width && height == dc->height) return TRUE;
    const std::uint32_t pixel = ToPixel(fill);
    if (width == dc->width && !dc->shared) {
        const std::size_t size = PixelCount(width, height);
        const std::size_t kept = std::min(dc->pixels.size(), size);
        if (size > dc->pixels.capacity() || dc->pixels.capacity() / 2 > size) {
            // New storage, the kept rows copied in one go: the vector itself would move them a pixel at a time.
            detail::Pixels pixels(size);
            std::copy_n(dc->pixels.data(), kept, pixels.data());
            dc->pixels = std::move(pixels);
        } else {
            dc->pixels.resize(size);
        }
        FillPixels(dc->pixels.data() + kept, size - kept, pixel);
    } else {
        detail::Pixels pixels(PixelCount(width, height));
        const int keepW = std::min(width, dc->width);
        const int keepH = std::min(height, dc->height);
        for (int y = 0; y < keepH; ++y) {
            const auto* from = detail::Bits(*dc) + PixelCount(dc->width, y);
            std::uint32_t* to = pixels.data() + PixelCount(width, y);
            std::copy(from, from + keepW, to);
            FillPixels(to + keepW, static_cast<std::size_t>(width - keepW), pixel);
        }
        const std::size_t kept = PixelCount(width, std::max(keepH, 0));
        FillPixels(pixels.data() + kept, pixels.size() - kept, pixel);
        dc->pixels = std::move(pixels);
        dc->shared.reset();
    }
    dc->width = width;
    dc->height = height;
    return TRUE;
}

// Shared pixels are let go rather than copied: every pixel is overwritten.
BOOL FillSurface(HDC hdc, COLORREF fill) {
    Dc* dc = Table().FindDc(hdc);
    if (dc == nullptr) return FALSE;
    if (dc->shared) {
        dc->pixels = detail::Pixels(PixelCount(dc->width, dc->height));
        dc->shared.reset();
    }
    FillPixels(dc->pixels.data(), dc->pixels.size(), ToPixel(fill));
    return TRUE;
}

BOOL SharePixels(HDC hdc, std::shared_ptr<const std::uint32_t[]> pixels, int width, int height) {
    Dc* dc = Table().FindDc(hdc);
    if (dc == nullptr || !pixels || !SaneSize(width, height)) return FALSE;
    detail::Pixels().swap(dc->pixels);
    dc->shared = std::move(pixels);
    dc->width = width;
    dc->height = height;
    return TRUE;
}

BOOL CopySurface(HDC hdc, HDC hdcSrc) {
    Dc* dst = Table().FindDc(hdc);
    const Dc* src = Table().FindDc(hdcSrc);
    if (dst == nullptr || src == nullptr) return FALSE;
    if (dst == src) return TRUE;
    if (src->shared) {
        detail::Pixels().swap(dst->pixels);
        dst->shared = src->shared;
    } else {
        dst->pixels = src->pixels;
        dst->shared.reset();
    }
    dst->width = src->width;
    dst->height = src->height;
    return TRUE;
}

SurfaceBits GetSurfaceBits(HDC hdc) {
    Dc* dc = Table().FindDc(hdc);
    if (dc == nullptr) return {};
    return SurfaceBits{detail::OwnBits(*dc), dc->width, dc->height};
}

std::size_t OwnPixelCount() { return Table().OwnPixelCount(); }

COLORREF GetPixel(HDC hdc, int x, int y) {
    const Dc* dc = Table().FindDc(hdc);
    if (dc == nullptr || x < 0 || y < 0 || x >= dc->width || y >= dc->height) return CLR_INVALID;
    return FromPixel(detail::Bits(*dc)[PixelCount(dc->width, y) + static_cast<std::size_t>(x)]);
}

COLORREF SetPixel(HDC hdc, int x, int y, COLORREF color) {
    Dc* dc = Table().FindDc(hdc);
    if (dc == nullptr || x < 0 || y < 0 || x >= dc->width || y >= dc->height) return CLR_INVALID;
    detail::Plot(*dc, x, y, ToPixel(color));
    return color & 0x00FFFFFFu;
}

BOOL MoveToEx(HDC hdc, int x, int y, POINT* lppt) {
    Dc* dc = Table().FindDc(hdc);
    if (dc == nullptr) return FALSE;
    if (lppt != nullptr) *lppt = dc->position;
    dc->position = POINT{x, y};
    return TRUE;
}

}  // namespace gdi
