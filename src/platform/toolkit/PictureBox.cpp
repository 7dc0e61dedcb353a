#include "platform/toolkit/PictureBox.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>
#include <utility>

namespace toolkit {

namespace {

int CheckedSide(double value, const char* what) {
    const double side = std::nearbyint(value);
    if (!(side >= 0 && side <= PictureBox::MaxSide))
        throw std::out_of_range(std::string("picture surface ") + what + " out of range: " + std::to_string(value));
    return static_cast<int>(side);
}

std::string SizeText(int width, int height) { return std::to_string(width) + " x " + std::to_string(height); }

// An opaque picture's pixels are the surface's image as they are, where they fill it whole.
bool ShownAsItIs(const Picture& picture) {
    return picture.Opaque && !picture.Pixels.empty() &&
           picture.Pixels.size() == static_cast<std::size_t>(picture.Width) * static_cast<std::size_t>(picture.Height);
}

}  // namespace

PictureBox::PictureBox(const Design& design) : design_(design) {
    design_.Width = CheckedSide(design.Width, "width");
    design_.Height = CheckedSide(design.Height, "height");
    if (design_.AutoSize && design_.Picture) {
        design_.Width = design_.Picture->Width;
        design_.Height = design_.Picture->Height;
    }
    CreateSurface();
}

PictureBox::~PictureBox() {
    Table(nullptr);
    DestroySurface();
}

PictureBox::Design PictureBox::CurrentDesign() const { return design_; }

gdi::HDC PictureBox::hDC() const { return hdc_; }
float PictureBox::ScaleWidth() const { return static_cast<float>(design_.Width); }
float PictureBox::ScaleHeight() const { return static_cast<float>(design_.Height); }
float PictureBox::Width() const { return static_cast<float>(design_.Width); }
float PictureBox::Height() const { return static_cast<float>(design_.Height); }
int PictureBox::Left() const { return design_.Left; }
int PictureBox::Top() const { return design_.Top; }

void PictureBox::Width(float vNewValue) { Resize(CheckedSide(vNewValue, "width"), design_.Height); }
void PictureBox::Height(float vNewValue) { Resize(design_.Width, CheckedSide(vNewValue, "height")); }

const StdPicture& PictureBox::Picture() const { return design_.Picture; }

void PictureBox::Picture(StdPicture vNewValue) {
    const bool resize = design_.AutoSize && vNewValue;
    if (resize && ShownAsItIs(*vNewValue)) {
        ShowAsItIs(vNewValue);
        design_.Picture = std::move(vNewValue);
        return;
    }
    if (resize) Resize(vNewValue->Width, vNewValue->Height);
    design_.Picture = std::move(vNewValue);
    Erase();
}

bool PictureBox::AutoSize() const { return design_.AutoSize; }
bool PictureBox::AutoRedraw() const { return design_.AutoRedraw; }

void PictureBox::AutoRedraw(bool vNewValue) {
    if (vNewValue == design_.AutoRedraw) return;
    design_.AutoRedraw = vNewValue;
    DestroySurface();
    CreateSurface();
}

gdi::COLORREF PictureBox::BackColor() const { return design_.BackColor; }

void PictureBox::BackColor(gdi::COLORREF vNewValue) {
    design_.BackColor = vNewValue;
    Erase();
}

gdi::COLORREF PictureBox::ForeColor() const { return design_.ForeColor; }
bool PictureBox::Visible() const { return design_.Visible; }

void PictureBox::Visible(bool vNewValue) {
    if (vNewValue == design_.Visible) return;
    design_.Visible = vNewValue;
    NotifyChanged();
}

void PictureBox::Cls() { Erase(); }

void PictureBox::Refresh() {
    if (FormView* view = view_.Get()) view->RepaintSurface(*this);
}

void PictureBox::Table(CellTable* vNewValue) {
    if (table_ != nullptr) table_->surface_ = nullptr;
    table_ = vNewValue;
    if (table_ != nullptr) table_->surface_ = this;
}

void PictureBox::TakeImageOf(const PictureBox& Source) {
    const bool resized = Source.design_.Width != design_.Width || Source.design_.Height != design_.Height;
    gdi::CopySurface(hdc_, Source.hdc_);
    design_.Width = Source.design_.Width;
    design_.Height = Source.design_.Height;
    if (resized) NotifyChanged();
}

gdi::HDC PictureBox::Paint() noexcept {
    if (!design_.AutoRedraw) Erase();
    return hdc_;
}

void PictureBox::CreateSurface() {
    hdc_ = gdi::CreateSurfaceDC(design_.Width, design_.Height, design_.BackColor);
    if (hdc_ == 0)
        throw std::length_error("picture surface " + SizeText(design_.Width, design_.Height) + " cannot be made");
    gdi::SelectObject(hdc_, gdi::CreatePen(gdi::PS_SOLID, 1, design_.ForeColor));
    Erase(Blank::Yes);
}

// The pen and brush still selected go with the surface, whoever selected them: drawing code may leave its last
// ones there (as the board's shapes do) and has no surface left to take them back from.
void PictureBox::DestroySurface() {
    if (hdc_ == 0) return;
    gdi::DeleteObject(gdi::SelectObject(hdc_, gdi::GetStockObject(gdi::BLACK_PEN)));
    gdi::DeleteObject(gdi::SelectObject(hdc_, gdi::GetStockObject(gdi::WHITE_BRUSH)));
    gdi::DeleteDC(hdc_);
    hdc_ = 0;
}

// One pass over the image: the picture over the BackColor where it lies, the BackColor elsewhere. A surface
// that holds nothing but its BackColor (a new one) only needs the picture laid on.
void PictureBox::Erase(Blank state) {
    const StdPicture& picture = design_.Picture;
    if (!picture) {
        if (state == Blank::No) gdi::FillSurface(hdc_, design_.BackColor);
        return;
    }
    if (ShownAsItIs(*picture) && picture->Width == design_.Width && picture->Height == design_.Height) {
        ShowAsItIs(picture);
        return;
    }
    const gdi::SurfaceBits bits = gdi::GetSurfaceBits(hdc_);
    if (bits.pixels == nullptr) return;
    const std::uint32_t background = gdi::ToPixel(design_.BackColor);
    const int width = std::min(bits.width, picture->Width);
    const int height = std::min(bits.height, picture->Height);
    for (int y = 0; y < bits.height; ++y) {
        std::uint32_t* row = bits.pixels + static_cast<std::size_t>(y) * bits.width;
        int x = 0;
        if (y < height) {
            const std::uint32_t* src = picture->Pixels.data() + static_cast<std::size_t>(y) * picture->Width;
            if (picture->Opaque) {
                std::copy_n(src, width, row);
                x = width;
            }
            for (; x < width; ++x) row[x] = gdi::BlendPixel(background, src[x]);
        }
        if (state == Blank::No) gdi::FillPixels(row + x, static_cast<std::size_t>(bits.width - x), background);
    }
}

void PictureBox::Resize(int width, int height) {
    if (width == design_.Width && height == design_.Height) return;
    if (!gdi::ResizeSurface(hdc_, width, height, design_.BackColor))
        throw std::length_error("picture surface cannot be resized to " + SizeText(width, height));
    design_.Width = width;
    design_.Height = height;
    NotifyChanged();
}

// The surface shows the opaque picture's own pixels at the picture's size: no copy, and no fill of a surface that
// the picture covers whole anyway.
void PictureBox::ShowAsItIs(const StdPicture& picture) {
    const int width = picture->Width, height = picture->Height;
    if (!gdi::SharePixels(hdc_, std::shared_ptr<const std::uint32_t[]>(picture, picture->Pixels.data()), width, height))
        throw std::length_error("picture surface cannot be resized to " + SizeText(width, height));
    if (width == design_.Width && height == design_.Height) return;
    design_.Width = width;
    design_.Height = height;
    NotifyChanged();
}

void PictureBox::NotifyChanged() {
    if (FormView* view = view_.Get()) view->SurfaceChanged(*this);
}

}  // namespace toolkit
