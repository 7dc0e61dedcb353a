// The raster layer's types, constants and pixel words: what its calls and its internals both speak.
#pragma once

#include <cstddef>
#include <cstdint>

namespace gdi {

using BOOL = int;
using DWORD = std::uint32_t;
using UINT = std::uint32_t;
using COLORREF = std::uint32_t;  // 0x00BBGGRR

// Every handle is a signed 32-bit number from one table; 0 is never valid.
using HANDLE = std::int32_t;
using HDC = HANDLE;
using HGDIOBJ = HANDLE;
using HPEN = HGDIOBJ;
using HBRUSH = HGDIOBJ;

constexpr BOOL TRUE = 1;
constexpr BOOL FALSE = 0;
constexpr HGDIOBJ HGDI_ERROR = -1;
constexpr COLORREF CLR_INVALID = 0xFFFFFFFFu;

constexpr COLORREF RGB(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return static_cast<COLORREF>(r) | (static_cast<COLORREF>(g) << 8) | (static_cast<COLORREF>(b) << 16);
}
constexpr std::uint8_t GetRValue(COLORREF c) { return static_cast<std::uint8_t>(c); }
constexpr std::uint8_t GetGValue(COLORREF c) { return static_cast<std::uint8_t>(c >> 8); }
constexpr std::uint8_t GetBValue(COLORREF c) { return static_cast<std::uint8_t>(c >> 16); }

// Raster operations.
constexpr DWORD SRCCOPY = 0x00CC0020;
constexpr DWORD SRCAND = 0x008800C6;
constexpr DWORD SRCPAINT = 0x00EE0086;
constexpr DWORD SRCINVERT = 0x00660046;

// Pen styles.
constexpr int PS_SOLID = 0;
constexpr int PS_NULL = 5;

// Stock objects: shared, never counted as alive, and DeleteObject leaves them be.
constexpr int WHITE_BRUSH = 0;
constexpr int LTGRAY_BRUSH = 1;
constexpr int GRAY_BRUSH = 2;
constexpr int DKGRAY_BRUSH = 3;
constexpr int BLACK_BRUSH = 4;
constexpr int NULL_BRUSH = 5;
constexpr int WHITE_PEN = 6;
constexpr int BLACK_PEN = 7;
constexpr int NULL_PEN = 8;

struct POINT {
    std::int32_t x;
    std::int32_t y;
};

// Pixel layout conversions between COLORREF and the surface's own words.
constexpr std::uint32_t ToPixel(COLORREF c) {
    return 0xFF000000u | (static_cast<std::uint32_t>(GetRValue(c)) << 16) |
           (static_cast<std::uint32_t>(GetGValue(c)) << 8) | GetBValue(c);
}
constexpr COLORREF FromPixel(std::uint32_t p) {
    return RGB(static_cast<std::uint8_t>(p >> 16), static_cast<std::uint8_t>(p >> 8), static_cast<std::uint8_t>(p));
}

// A picture's pixel (0xAARRGGBB, straight alpha) laid over a surface's by its alpha: what lies beneath shows through
// where the picture is transparent. The result is opaque, as every surface pixel is. Inline, as it runs per pixel.
constexpr std::uint32_t BlendPixel(std::uint32_t under, std::uint32_t over) {
    const std::uint32_t alpha = over >> 24;
    if (alpha == 0xFF) return over;
    if (alpha == 0) return under | 0xFF000000u;
    std::uint32_t result = 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8) {
        const std::uint32_t a = (over >> shift) & 0xFF;
        const std::uint32_t b = (under >> shift) & 0xFF;
        result |= ((a * alpha + b * (255 - alpha) + 127) / 255) << shift;
    }
    return result;
}

// Sets `count` pixels from `first` on. Much faster than a plain loop, which the compilers' usual optimisation
// levels leave one pixel at a time.
void FillPixels(std::uint32_t* first, std::size_t count, std::uint32_t pixel);

}  // namespace gdi
