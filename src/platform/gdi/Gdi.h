// A raster layer with the calls, handles and pixel rules of the Windows graphics
// device interface, in plain C++. The board and the window draw through it by
// GDI's own names; the toolkit creates the surfaces the device contexts address.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/gdi/Basics.h"

namespace gdi {

// Drawing calls, with GDI's meanings. A call on an unknown or deleted handle
// fails (FALSE, 0 or HGDI_ERROR as GDI reports it) and changes nothing.
// Every call clips to its destination surface, blits also to their source.
//  - DeleteObject on a pen or brush still selected into a device context
//    succeeds and the handle is dead at once, but the object keeps drawing there
//    until it is deselected or the device context deleted, and is freed then.
//    DeleteObject on a stock object succeeds and does nothing; on a device
//    context it fails (that is DeleteDC's work).
//  - BitBlt knows SRCCOPY, SRCAND, SRCPAINT and SRCINVERT; a negative extent
//    counts back from the origin pixel on both surfaces.
//  - GdiTransparentBlt copies all but the pixels exactly of the key colour; a
//    larger destination repeats source pixels as GDI's stretching does, a
//    smaller one or a negative size is refused (FALSE).
//  - Pens are PS_SOLID or PS_NULL (CreatePen fails for other styles); width 0
//    or 1 draws GDI's 1-pixel line, wider pens GDI's round-ended wide line.
//    LineTo and Ellipse refuse (FALSE) pens wider than 65536 pixels and Ellipse
//    boxes wider or taller than 262144 pixels, and Ellipse a pen wider than 1
//    whose width times the box's perimeter exceeds 2^25.
BOOL BitBlt(HDC hdc, int x, int y, int cx, int cy, HDC hdcSrc, int x1, int y1, DWORD rop);
BOOL GdiTransparentBlt(HDC hdcDest, int xoriginDest, int yoriginDest, int wDest, int hDest, HDC hdcSrc, int xoriginSrc,
                       int yoriginSrc, int wSrc, int hSrc, UINT crTransparent);
HGDIOBJ GetStockObject(int i);
HPEN CreatePen(int iStyle, int cWidth, COLORREF color);
HBRUSH CreateSolidBrush(COLORREF color);
HGDIOBJ SelectObject(HDC hdc, HGDIOBJ h);
BOOL DeleteObject(HGDIOBJ ho);
BOOL MoveToEx(HDC hdc, int x, int y, POINT* lppt);
BOOL LineTo(HDC hdc, int x, int y);
BOOL Ellipse(HDC hdc, int left, int top, int right, int bottom);
COLORREF GetPixel(HDC hdc, int x, int y);
COLORREF SetPixel(HDC hdc, int x, int y, COLORREF color);

// Surfaces. Each device context owns one surface of 32-bit pixels in the layout
// 0xFFRRGGBB (what a QImage of Format_RGB32 reads without conversion). A new
// device context starts with a black 1-pixel pen, a white brush and the current
// position (0, 0), as a memory device context in GDI does.
// Sizes may be 0; negative ones, a side over 2^20 or more than 64 Mi pixels are refused (0, FALSE).
HDC CreateSurfaceDC(int width, int height, COLORREF fill);
BOOL DeleteDC(HDC hdc);
// New size; the pixels that stay inside keep their colour, new ones take `fill`.
BOOL ResizeSurface(HDC hdc, int width, int height, COLORREF fill);
BOOL FillSurface(HDC hdc, COLORREF fill);

// A surface can show pixels that it shares with their owner instead of holding its own: `pixels`, `width` ×
// `height` of them row by row, become its image at that size, kept alive by the pointer and never written. The
// first call that draws on the surface copies them into pixels of its own; FillSurface and ResizeSurface let them
// go. So a picture shown as it is costs no second copy.
BOOL SharePixels(HDC hdc, std::shared_ptr<const std::uint32_t[]> pixels, int width, int height);
// `hdc` takes the size and the image of `hdcSrc`, as a resize and a SRCCOPY of it whole would; pixels that the
// source shares are shared by both.
BOOL CopySurface(HDC hdc, HDC hdcSrc);

struct SurfaceBits {
    std::uint32_t* pixels = nullptr;  // row-major, `width` pixels a row; null for a bad handle
    int width = 0;
    int height = 0;
};
// For drawing on the pixels directly, so a surface sharing its pixels gets its own first.
SurfaceBits GetSurfaceBits(HDC hdc);

// How many device contexts, pens and brushes are alive (stock objects excluded).
std::size_t LiveObjectCount();
// How many pixels the surfaces hold of their own: shared ones are not counted.
std::size_t OwnPixelCount();

}  // namespace gdi
