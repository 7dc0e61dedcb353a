// Drives the raster layer with a stream of calls decoded from the input: surfaces
// created, resized, deleted and showing shared pixels, pens and brushes selected and
// deleted, blits, lines, ellipses and single pixels, all with wild arguments and stale
// handles. Beyond the sanitizers it checks what every call must leave behind: pixels that
// read back as written, blits that land where they were aimed, shared pixels never written,
// and no object outliving the run.
// Arguments are decoded into named values one after the other, so that an input
// means the same calls whatever order a compiler evaluates arguments in.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "platform/gdi/Gdi.h"

namespace {

// Surfaces the layer would accept but that would make a run crawl: every call on
// them touches megabytes. Sizes the layer refuses are still passed on.
constexpr std::int64_t kPixelBudget = std::int64_t{1} << 20;

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "gdi_fuzz: %s\n", what);
    std::abort();
}

void Expect(bool ok, const char* what) {
    if (!ok) Fail(what);
}

int WildInt(FuzzedDataProvider& in) {
    static constexpr int kEdges[] = {
        INT_MIN,     INT_MIN + 1, -65536, -32769,    -32768,        -2,        -1,
        0,           1,           2,      3,         129,           130,       32767,
        32768,       65535,       65536,  (1 << 18), (1 << 18) + 1, (1 << 20), (1 << 20) + 1,
        INT_MAX - 1, INT_MAX};
    switch (in.ConsumeIntegralInRange(0, 3)) {
        case 0:
        case 1:
            return in.ConsumeIntegralInRange(-40, 400);
        case 2:
            return kEdges[in.ConsumeIntegralInRange<std::size_t>(0, std::size(kEdges) - 1)];
        default:
            return in.ConsumeIntegral<int>();
    }
}

gdi::COLORREF Colour(FuzzedDataProvider& in) {
    static constexpr gdi::COLORREF kColours[] = {0x000000, 0xFFFFFF, 0x00FF00, 0x0000FF, 0xFF0000, 0xE0E0E0};
    if (in.ConsumeBool()) return kColours[in.ConsumeIntegralInRange<std::size_t>(0, std::size(kColours) - 1)];
    return in.ConsumeIntegral<gdi::COLORREF>();  // the top byte is junk on purpose
}

bool Affordable(int width, int height) {
    const bool refused = width < 0 || height < 0 || width > (1 << 20) || height > (1 << 20) ||
                         std::int64_t{width} * height > (std::int64_t{64} << 20);
    return refused || std::int64_t{width} * height <= kPixelBudget;
}

// Pixels a surface shows without owning them, and what they held when shared: no call may write them.
struct SharedPixels {
    std::shared_ptr<std::uint32_t[]> pixels;
    std::vector<std::uint32_t> original;
};

struct Session {
    std::vector<SharedPixels> shared;
    std::vector<gdi::HDC> dcs;
    std::vector<gdi::HGDIOBJ> objects;  // pens and brushes not yet deleted
    std::vector<gdi::HANDLE> stale;     // anything deleted, to be used again

    gdi::HANDLE Pick(FuzzedDataProvider& in, const std::vector<gdi::HANDLE>& from) const {
        if (!from.empty() && in.ConsumeIntegralInRange(0, 7) != 0)
            return from[in.ConsumeIntegralInRange<std::size_t>(0, from.size() - 1)];
        if (!stale.empty() && in.ConsumeBool())
            return stale[in.ConsumeIntegralInRange<std::size_t>(0, stale.size() - 1)];
        return in.ConsumeIntegral<gdi::HANDLE>();
    }
    gdi::HDC Dc(FuzzedDataProvider& in) const { return Pick(in, dcs); }
    gdi::HGDIOBJ Object(FuzzedDataProvider& in) const { return Pick(in, objects); }

    void Forget(std::vector<gdi::HANDLE>& from, gdi::HANDLE h) {
        for (std::size_t i = 0; i < from.size(); ++i) {
            if (from[i] == h) {
                from[i] = from.back();
                from.pop_back();
                stale.push_back(h);
                return;
            }
        }
    }
};

bool Inside(gdi::HDC dc, int x, int y) {
    const gdi::SurfaceBits bits = gdi::GetSurfaceBits(dc);
    return bits.pixels != nullptr && x >= 0 && y >= 0 && x < bits.width && y < bits.height;
}

// Every pixel the layer writes is opaque; a stray write of anything else shows here.
void CheckOpaque(gdi::HDC dc) {
    const gdi::SurfaceBits bits = gdi::GetSurfaceBits(dc);
    if (bits.pixels == nullptr) return;
    const std::size_t count = static_cast<std::size_t>(bits.width) * static_cast<std::size_t>(bits.height);
    const std::size_t step = count / 64 + 1;
    for (std::size_t i = 0; i < count; i += step) Expect((bits.pixels[i] >> 24) == 0xFF, "a pixel lost its opacity");
    if (count > 0) Expect((bits.pixels[count - 1] >> 24) == 0xFF, "the last pixel lost its opacity");
}

void CreateSurface(Session& s, FuzzedDataProvider& in) {
    const int width = WildInt(in), height = WildInt(in);
    if (!Affordable(width, height)) return;
    const gdi::COLORREF fill = Colour(in);
    const gdi::HDC dc = gdi::CreateSurfaceDC(width, height, fill);
    if (dc == 0) return;
    s.dcs.push_back(dc);
    const gdi::SurfaceBits bits = gdi::GetSurfaceBits(dc);
    Expect(bits.width == width && bits.height == height, "a new surface has another size than asked for");
    if (width > 0 && height > 0)
        Expect(gdi::GetPixel(dc, width - 1, height - 1) == (fill & 0xFFFFFFu), "a new surface is not filled");
}

void Resize(Session& s, FuzzedDataProvider& in) {
    const gdi::HDC dc = s.Dc(in);
    const int width = WildInt(in), height = WildInt(in);
    if (!Affordable(width, height)) return;
    const gdi::COLORREF before = gdi::GetPixel(dc, 0, 0);
    if (gdi::ResizeSurface(dc, width, height, Colour(in)) == gdi::FALSE) return;
    const gdi::SurfaceBits bits = gdi::GetSurfaceBits(dc);
    Expect(bits.width == width && bits.height == height, "a resized surface has another size than asked for");
    if (before != gdi::CLR_INVALID && width > 0 && height > 0)
        Expect(gdi::GetPixel(dc, 0, 0) == before, "resizing lost the top-left pixel");
}

void Blit(Session& s, FuzzedDataProvider& in) {
    static constexpr gdi::DWORD kRops[] = {gdi::SRCCOPY, gdi::SRCAND, gdi::SRCPAINT, gdi::SRCINVERT, 0x00550009};
    const gdi::HDC dst = s.Dc(in), src = s.Dc(in);
    const int x = WildInt(in), y = WildInt(in), cx = WildInt(in), cy = WildInt(in), x1 = WildInt(in), y1 = WildInt(in);
    const gdi::DWORD rop = in.ConsumeBool() ? kRops[in.ConsumeIntegralInRange<std::size_t>(0, std::size(kRops) - 1)]
                                            : in.ConsumeIntegral<gdi::DWORD>();
    const gdi::COLORREF from = gdi::GetPixel(src, x1, y1);
    const gdi::BOOL done = gdi::BitBlt(dst, x, y, cx, cy, src, x1, y1, rop);
    if (done != gdi::FALSE && rop == gdi::SRCCOPY && cx > 0 && cy > 0 && Inside(dst, x, y) && Inside(src, x1, y1))
        Expect(gdi::GetPixel(dst, x, y) == from, "a copied block does not start with the source's corner");
}

void TransparentBlit(Session& s, FuzzedDataProvider& in) {
    const gdi::HDC dst = s.Dc(in), src = s.Dc(in);
    const int x = WildInt(in), y = WildInt(in), w = WildInt(in), h = WildInt(in);
    const int x1 = WildInt(in), y1 = WildInt(in);
    const bool sameSize = in.ConsumeBool();
    const int w1 = sameSize ? w : WildInt(in), h1 = sameSize ? h : WildInt(in);
    const gdi::COLORREF key = Colour(in);
    const gdi::COLORREF from = gdi::GetPixel(src, x1, y1), under = gdi::GetPixel(dst, x, y);
    const gdi::BOOL done = gdi::GdiTransparentBlt(dst, x, y, w, h, src, x1, y1, w1, h1, key);
    if (done == gdi::FALSE || !sameSize || w <= 0 || h <= 0 || !Inside(dst, x, y) || !Inside(src, x1, y1)) return;
    const gdi::COLORREF expected = from == (key & 0xFFFFFFu) ? under : from;
    Expect(gdi::GetPixel(dst, x, y) == expected, "a keyed copy did not honour the key colour at its corner");
}

void NewPen(Session& s, FuzzedDataProvider& in) {
    const int style = in.ConsumeBool() ? in.ConsumeIntegralInRange(0, 6) : in.ConsumeIntegral<int>();
    const int width = WildInt(in);
    const gdi::HPEN pen = gdi::CreatePen(style, width, Colour(in));
    if (pen != 0) s.objects.push_back(pen);
}

void NewBrush(Session& s, FuzzedDataProvider& in) {
    const gdi::HBRUSH brush = gdi::CreateSolidBrush(Colour(in));
    if (brush != 0) s.objects.push_back(brush);
}

void Select(Session& s, FuzzedDataProvider& in) {
    const gdi::HDC dc = s.Dc(in);
    gdi::HGDIOBJ object = s.Object(in);
    if (in.ConsumeIntegralInRange(0, 5) == 0) object = gdi::GetStockObject(in.ConsumeIntegralInRange(-1, 9));
    gdi::SelectObject(dc, object);
}

void DeleteObject(Session& s, FuzzedDataProvider& in) {
    const gdi::HGDIOBJ object = s.Object(in);
    const bool ours = std::find(s.objects.begin(), s.objects.end(), object) != s.objects.end();
    const gdi::BOOL done = gdi::DeleteObject(object);
    if (ours) {
        Expect(done != gdi::FALSE, "deleting a live pen or brush failed");
        s.Forget(s.objects, object);
    }
}

void DeleteSurface(Session& s, FuzzedDataProvider& in) {
    const gdi::HDC dc = s.Dc(in);
    const bool ours = std::find(s.dcs.begin(), s.dcs.end(), dc) != s.dcs.end();
    const gdi::BOOL done = gdi::DeleteDC(dc);
    Expect(done != gdi::FALSE || !ours, "deleting a live device context failed");
    if (!ours) return;
    s.Forget(s.dcs, dc);
    Expect(gdi::GetPixel(dc, 0, 0) == gdi::CLR_INVALID, "a deleted device context still answers");
}

void Pixel(Session& s, FuzzedDataProvider& in) {
    const gdi::HDC dc = s.Dc(in);
    const int x = WildInt(in), y = WildInt(in);
    const gdi::COLORREF colour = Colour(in);
    const gdi::COLORREF set = gdi::SetPixel(dc, x, y, colour);
    if (Inside(dc, x, y)) {
        Expect(set == (colour & 0xFFFFFFu), "SetPixel reported another colour");
        Expect(gdi::GetPixel(dc, x, y) == (colour & 0xFFFFFFu), "a pixel does not read back as written");
    } else {
        Expect(set == gdi::CLR_INVALID, "SetPixel outside the surface claimed success");
    }
}

// A surface shows new opaque pixels, or another surface's image.
void Share(Session& s, FuzzedDataProvider& in) {
    const gdi::HDC dc = s.Dc(in);
    if (in.ConsumeBool()) {
        gdi::CopySurface(dc, s.Dc(in));
        return;
    }
    const int width = in.ConsumeIntegralInRange(0, 40), height = in.ConsumeIntegralInRange(0, 40);
    std::vector<std::uint32_t> original(static_cast<std::size_t>(width * height) + 1);
    for (std::uint32_t& pixel : original) pixel = 0xFF000000u | (in.ConsumeIntegral<std::uint32_t>() & 0xFFFFFFu);
    std::shared_ptr<std::uint32_t[]> pixels(new std::uint32_t[original.size()]);
    std::copy(original.begin(), original.end(), pixels.get());
    // Read back through GetPixel, which leaves them shared; Inside would take the surface's pixels for drawing.
    if (gdi::SharePixels(dc, pixels, width, height) != gdi::FALSE && width > 0 && height > 0)
        Expect(gdi::GetPixel(dc, width - 1, height - 1) == gdi::FromPixel(original[original.size() - 2]),
               "a surface does not show the pixels it shares");
    s.shared.push_back(SharedPixels{std::move(pixels), std::move(original)});
}

void Step(Session& s, FuzzedDataProvider& in) {
    switch (in.ConsumeIntegralInRange(0, 16)) {
        case 0:
            CreateSurface(s, in);
            break;
        case 1:
            DeleteSurface(s, in);
            break;
        case 2:
            Resize(s, in);
            break;
        case 3: {
            const gdi::HDC dc = s.Dc(in);
            const gdi::COLORREF fill = Colour(in);
            if (gdi::FillSurface(dc, fill) != gdi::FALSE && Inside(dc, 0, 0))
                Expect(gdi::GetPixel(dc, 0, 0) == (fill & 0xFFFFFFu), "a filled surface does not read back");
            break;
        }
        case 4:
            NewPen(s, in);
            break;
        case 5:
            NewBrush(s, in);
            break;
        case 6:
            Select(s, in);
            break;
        case 7:
            DeleteObject(s, in);
            break;
        case 8:
            Blit(s, in);
            break;
        case 9:
            TransparentBlit(s, in);
            break;
        case 10: {
            const gdi::HDC dc = s.Dc(in);
            const int x = WildInt(in), y = WildInt(in);
            gdi::POINT previous{};
            gdi::MoveToEx(dc, x, y, in.ConsumeBool() ? &previous : nullptr);
            break;
        }
        case 11: {
            const gdi::HDC dc = s.Dc(in);
            const int x = WildInt(in), y = WildInt(in);
            gdi::LineTo(dc, x, y);
            break;
        }
        case 12: {
            const gdi::HDC dc = s.Dc(in);
            const int left = WildInt(in), top = WildInt(in), right = WildInt(in), bottom = WildInt(in);
            gdi::Ellipse(dc, left, top, right, bottom);
            break;
        }
        case 13:
            Pixel(s, in);
            break;
        case 14:
            CheckOpaque(s.Dc(in));
            break;
        case 15:
            Share(s, in);
            break;
        default: {
            const gdi::HDC dc = s.Dc(in);
            const int x0 = in.ConsumeIntegralInRange(-20, 300), y0 = in.ConsumeIntegralInRange(-20, 300);
            const int x1 = in.ConsumeIntegralInRange(-20, 300), y1 = in.ConsumeIntegralInRange(-20, 300);
            gdi::MoveToEx(dc, x0, y0, nullptr);
            gdi::LineTo(dc, x1, y1);
            break;
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::size_t start = gdi::LiveObjectCount();
    FuzzedDataProvider in(data, size);
    Session s;
    while (in.remaining_bytes() > 0) Step(s, in);
    for (const gdi::HDC dc : s.dcs) CheckOpaque(dc);
    for (const SharedPixels& each : s.shared)
        Expect(std::equal(each.original.begin(), each.original.end(), each.pixels.get()),
               "a call wrote to pixels a surface only shares");

    // Pens and brushes first: those still selected somewhere go with their surface.
    for (const gdi::HGDIOBJ object : s.objects)
        Expect(gdi::DeleteObject(object) != gdi::FALSE, "a final delete failed");
    for (const gdi::HDC dc : s.dcs) Expect(gdi::DeleteDC(dc) != gdi::FALSE, "a final DeleteDC failed");
    if (gdi::LiveObjectCount() != start) {
        std::fprintf(stderr, "gdi_fuzz: %zu objects alive after the run, %zu before\n", gdi::LiveObjectCount(), start);
        std::abort();
    }
    return 0;
}
