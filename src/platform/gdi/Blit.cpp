// Copies between surfaces: BitBlt's raster operations and the colour-keyed blit.
#include <algorithm>
#include <cstdint>
#include <type_traits>
#include <vector>

#include "platform/gdi/Gdi.h"
#include "platform/gdi/Objects.h"

namespace gdi {

using detail::Dc;
using detail::Table;

namespace {

// One axis of a blit in 64 bits, so that x + cx cannot overflow.
struct Span {
    std::int64_t dst;
    std::int64_t src;
    std::int64_t length;
};

// Cuts a 1:1 span to the part that lies on both the destination and the source.
Span ClipSpan(std::int64_t dst, std::int64_t src, std::int64_t length, int dstSize, int srcSize) {
    if (length < 0) {  // a negative extent counts back from the pixel at the origin, on both sides
        dst += length + 1;
        src += length + 1;
        length = -length;
    }
    const std::int64_t shift = std::max({std::int64_t{0}, -dst, -src});
    dst += shift;
    src += shift;
    length -= shift;
    length = std::min({length, dstSize - dst, srcSize - src});
    return Span{dst, src, std::max<std::int64_t>(length, 0)};
}

// Row y of an image `width` pixels wide.
template <typename Pixel>
Pixel* Row(Pixel* bits, int width, std::int64_t y) {
    return bits + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
}

struct Copy {
    std::uint32_t operator()(std::uint32_t, std::uint32_t s) const { return s; }
};

// The destination is made its own before the source is read, so that a surface blitted onto itself reads what it
// writes to.
template <typename Op>
void BlitRows(Dc& dst, const Span& xs, const Span& ys, const Dc& src, Op op) {
    std::uint32_t* const to0 = OwnBits(dst);
    const std::uint32_t* const from0 = Bits(src);
    const bool same = &dst == &src;
    std::vector<std::uint32_t> line(same ? static_cast<std::size_t>(xs.length) : 0);
    // Same surface, rows overlapping downwards: go bottom-up so no row is read after it was written.
    const bool upwards = same && ys.dst > ys.src;
    for (std::int64_t i = 0; i < ys.length; ++i) {
        const std::int64_t r = upwards ? ys.length - 1 - i : i;
        const std::uint32_t* from = Row(from0, src.width, ys.src + r) + xs.src;
        if (same) {
            std::copy(from, from + xs.length, line.begin());
            from = line.data();
        }
        std::uint32_t* to = Row(to0, dst.width, ys.dst + r) + xs.dst;
        if constexpr (std::is_same_v<Op, Copy>)
            std::copy(from, from + xs.length, to);  // the library's vector copy, not a loop left scalar
        else
            for (std::int64_t k = 0; k < xs.length; ++k) to[k] = op(to[k], from[k]);
    }
}

}  // namespace

BOOL BitBlt(HDC hdc, int x, int y, int cx, int cy, HDC hdcSrc, int x1, int y1, DWORD rop) {
    Dc* dst = Table().FindDc(hdc);
    Dc* src = Table().FindDc(hdcSrc);
    if (dst == nullptr || src == nullptr) return FALSE;
    const Span xs = ClipSpan(x, x1, cx, dst->width, src->width);
    const Span ys = ClipSpan(y, y1, cy, dst->height, src->height);
    const bool empty = xs.length == 0 || ys.length == 0;
    switch (rop) {
        case SRCCOPY:
            if (!empty) BlitRows(*dst, xs, ys, *src, Copy{});
            return TRUE;
        case SRCAND:
            if (!empty) BlitRows(*dst, xs, ys, *src, [](std::uint32_t d, std::uint32_t s) { return d & s; });
            return TRUE;
        case SRCPAINT:
            if (!empty) BlitRows(*dst, xs, ys, *src, [](std::uint32_t d, std::uint32_t s) { return d | s; });
            return TRUE;
        case SRCINVERT:
            if (!empty)
                BlitRows(*dst, xs, ys, *src, [](std::uint32_t d, std::uint32_t s) { return (d ^ s) | 0xFF000000u; });
            return TRUE;
        default:
            return FALSE;
    }
}

namespace {

// The source index under the centre of destination pixel i of n; a centre on a
// boundary between two source pixels takes the earlier one.
std::int64_t Nearest(std::int64_t i, std::int64_t n, std::int64_t srcN) { return ((2 * i + 1) * srcN - 1) / (2 * n); }

void ScaledKeyBlit(Dc& dst, std::int64_t dx, std::int64_t dy, std::int64_t dw, std::int64_t dh, const Dc& src,
                   std::int64_t sx, std::int64_t sy, std::int64_t sw, std::int64_t sh, std::uint32_t key) {
    const std::int64_t i0 = std::max<std::int64_t>(0, -dx), i1 = std::min<std::int64_t>(dw, dst.width - dx);
    const std::int64_t j0 = std::max<std::int64_t>(0, -dy), j1 = std::min<std::int64_t>(dh, dst.height - dy);
    if (i0 >= i1 || j0 >= j1) return;  // nothing lands on the surface, which may have no pixels at all
    std::uint32_t* const to0 = OwnBits(dst);
    const std::uint32_t* const from0 = Bits(src);
    for (std::int64_t j = j0; j < j1; ++j) {
        const std::int64_t v = sy + Nearest(j, dh, sh);
        if (v < 0 || v >= src.height) continue;
        const std::uint32_t* from = Row(from0, src.width, v);
        std::uint32_t* row = Row(to0, dst.width, dy + j);  // indexed from the row's start: dx may lie left of it
        for (std::int64_t i = i0; i < i1; ++i) {
            const std::int64_t u = sx + Nearest(i, dw, sw);
            if (u < 0 || u >= src.width) continue;
            const std::uint32_t p = from[u];
            if ((p & 0x00FFFFFFu) != key) row[dx + i] = p;
        }
    }
}

}  // namespace

// Copies every source pixel but those exactly of the key colour. A larger
// destination repeats source pixels as GDI's stretching does. A smaller one is
// refused: GDI would merge the dropped pixels into their neighbours by AND,
// which the board never needs.
BOOL GdiTransparentBlt(HDC hdcDest, int xoriginDest, int yoriginDest, int wDest, int hDest, HDC hdcSrc, int xoriginSrc,
                       int yoriginSrc, int wSrc, int hSrc, UINT crTransparent) {
    Dc* dst = Table().FindDc(hdcDest);
    Dc* src = Table().FindDc(hdcSrc);
    if (dst == nullptr || src == nullptr || wDest < 0 || hDest < 0 || wSrc < 0 || hSrc < 0) return FALSE;
    const std::uint32_t key = ToPixel(crTransparent) & 0x00FFFFFFu;
    if (wDest < wSrc || hDest < hSrc) return FALSE;
    if (wDest == 0 || hDest == 0 || wSrc == 0 || hSrc == 0) return TRUE;
    if (wDest == wSrc && hDest == hSrc) {
        const Span xs = ClipSpan(xoriginDest, xoriginSrc, wDest, dst->width, src->width);
        const Span ys = ClipSpan(yoriginDest, yoriginSrc, hDest, dst->height, src->height);
        if (xs.length > 0 && ys.length > 0)
            BlitRows(*dst, xs, ys, *src,
                     [key](std::uint32_t d, std::uint32_t s) { return (s & 0x00FFFFFFu) == key ? d : s; });
        return TRUE;
    }
    ScaledKeyBlit(*dst, xoriginDest, yoriginDest, wDest, hDest, *src, xoriginSrc, yoriginSrc, wSrc, hSrc, key);
    return TRUE;
}

}  // namespace gdi
