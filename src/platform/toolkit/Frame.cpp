#include "platform/toolkit/Frame.h"

#include <algorithm>
#include <cstdint>
#include <optional>

namespace toolkit {

namespace {

void DrawImage(const gdi::SurfaceBits& target, const Image& image) {
    if (!image.Picture) return;
    const Picture& picture = *image.Picture;
    const int right = std::min({image.Left + image.Width, image.Left + picture.Width, target.width});
    const int bottom = std::min({image.Top + image.Height, image.Top + picture.Height, target.height});
    for (int y = std::max(image.Top, 0); y < bottom; ++y) {
        for (int x = std::max(image.Left, 0); x < right; ++x) {
            std::uint32_t& pixel = target.pixels[static_cast<std::size_t>(y) * target.width + x];
            pixel = gdi::BlendPixel(
                pixel, picture.Pixels[static_cast<std::size_t>(y - image.Top) * picture.Width + (x - image.Left)]);
        }
    }
}

void DrawLine(gdi::HDC hdc, const Line& line) {
    const gdi::HPEN pen = gdi::CreatePen(gdi::PS_SOLID, line.BorderWidth, line.BorderColor);
    const gdi::HGDIOBJ previous = gdi::SelectObject(hdc, pen);
    gdi::MoveToEx(hdc, line.X1, line.Y1, nullptr);
    gdi::LineTo(hdc, line.X2, line.Y2);
    gdi::SelectObject(hdc, previous);
    gdi::DeleteObject(pen);
}

// What the surface's image does not cover (all of it, when the image could not be made) shows its BackColor.
void DrawSurface(gdi::HDC hdc, PictureBox& surface) {
    const Rect area = SurfaceRect(surface);
    const gdi::HDC image = surface.Paint();
    const gdi::SurfaceBits bits = gdi::GetSurfaceBits(image);
    if (bits.width < area.Right - area.Left || bits.height < area.Bottom - area.Top) {
        const gdi::SurfaceBits target = gdi::GetSurfaceBits(hdc);
        const int left = std::max(area.Left, 0);
        const int right = std::min(area.Right, target.width);
        for (int y = std::max(area.Top, 0); right > left && y < std::min(area.Bottom, target.height); ++y)
            gdi::FillPixels(target.pixels + static_cast<std::size_t>(y) * target.width + left,
                            static_cast<std::size_t>(right - left), gdi::ToPixel(surface.BackColor()));
    }
    gdi::BitBlt(hdc, area.Left, area.Top, std::min(bits.width, area.Right - area.Left),
                std::min(bits.height, area.Bottom - area.Top), image, 0, 0, gdi::SRCCOPY);
}

// The keyboard cursor's frame, over the surface's image and never in it: a band of FrameWidth pixels along the
// cell's edges, white with black dashes, as the other front end draws it.
void DrawFocusFrame(const gdi::SurfaceBits& target, const Rect& surface, const CellBox& cell) {
    constexpr int FrameWidth = 3;
    constexpr int DashLength = 4;
    if (cell.Width <= 2 * FrameWidth || cell.Height <= 2 * FrameWidth) return;
    const int left = surface.Left + cell.Left;
    const int top = surface.Top + cell.Top;
    const int right = std::min({left + cell.Width, surface.Right, target.width});
    const int bottom = std::min({top + cell.Height, surface.Bottom, target.height});
    for (int y = std::max({top, surface.Top, 0}); y < bottom; ++y) {
        const bool acrossBand = y < top + FrameWidth || y >= top + cell.Height - FrameWidth;
        for (int x = std::max({left, surface.Left, 0}); x < right; ++x) {
            const bool downBand = x < left + FrameWidth || x >= left + cell.Width - FrameWidth;
            if (!acrossBand && !downBand) continue;
            const bool dash = (acrossBand && (x - left) % (2 * DashLength) < DashLength) ||
                              (downBand && (y - top) % (2 * DashLength) < DashLength);
            target.pixels[static_cast<std::size_t>(y) * target.width + x] = dash ? 0xFF000000u : 0xFFFFFFFFu;
        }
    }
}

}  // namespace

Rect SurfaceRect(const PictureBox& surface) {
    return Rect{surface.Left(), surface.Top(), surface.Left() + static_cast<int>(surface.Width()),
                surface.Top() + static_cast<int>(surface.Height())};
}

Frame::Frame(const Form& form) : form_(form) {}

Frame::~Frame() { gdi::DeleteDC(hdc_); }

// The surface is made at the first paint, once the window shows, rather than among the start's own work.
gdi::SurfaceBits Frame::Compose(const Rect& dirty) {
    if (hdc_ == 0)
        hdc_ = gdi::CreateSurfaceDC(form_.Properties().ClientWidth, form_.Properties().ClientHeight,
                                    form_.Properties().BackColor);
    const gdi::SurfaceBits target = gdi::GetSurfaceBits(hdc_);
    gdi::BitBlt(hdc_, 0, 0, target.width, target.height, form_.hDC(), 0, 0, gdi::SRCCOPY);
    for (const Line* line : form_.Lines()) DrawLine(hdc_, *line);
    for (const Image* image : form_.Images()) DrawImage(target, *image);
    for (PictureBox* surface : form_.Surfaces()) {
        if (!surface->Visible() || !SurfaceRect(*surface).Intersects(dirty)) continue;
        DrawSurface(hdc_, *surface);
        if (surface->Table() == nullptr) continue;
        if (const std::optional<CellBox> cell = surface->Table()->FocusFrame())
            DrawFocusFrame(target, SurfaceRect(*surface), *cell);
    }
    return target;
}

PictureBox* Frame::SurfaceAt(double x, double y) const {
    const std::vector<PictureBox*> surfaces = form_.Surfaces();
    for (auto it = surfaces.rbegin(); it != surfaces.rend(); ++it)
        if ((*it)->Visible() && SurfaceRect(**it).Contains(x, y)) return *it;
    return nullptr;
}

}  // namespace toolkit
