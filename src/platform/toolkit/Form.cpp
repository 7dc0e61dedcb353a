#include "platform/toolkit/Form.h"

namespace toolkit {

Form::Form(const Design& design)
    : design_(design), hdc_(gdi::CreateSurfaceDC(design.ClientWidth, design.ClientHeight, design.BackColor)) {}

Form::~Form() { gdi::DeleteDC(hdc_); }

gdi::HDC Form::hDC() const { return hdc_; }
float Form::ScaleWidth() const { return static_cast<float>(design_.ClientWidth); }
float Form::ScaleHeight() const { return static_cast<float>(design_.ClientHeight); }

void Form::Show() {
    if (!loaded_) {
        loaded_ = true;
        Form_Load();
    }
    if (visible_ || closed_) return;
    visible_ = true;
    if (ShowWindow) ShowWindow();
}

bool Form::RequestClose() {
    if (closed_) return true;
    if (unloading_) return false;
    std::int16_t Cancel = 0;
    unloading_ = true;
    try {
        Form_Unload(Cancel);
    } catch (...) {
        unloading_ = false;
        throw;
    }
    unloading_ = false;
    if (Cancel != 0) return false;
    closed_ = true;
    visible_ = false;
    if (CloseWindow) CloseWindow();
    return true;
}

std::vector<PictureBox*> Form::Surfaces() const {
    std::vector<PictureBox*> all;
    for (const auto& surfaces : surfaces_)
        for (PictureBox* surface : surfaces()) all.push_back(surface);
    return all;
}

MenuItem& Form::AddMenu(MenuItem::Design design) {
    menus_.push_back(std::make_unique<MenuItem>(std::move(design)));
    return *menus_.back();
}

}  // namespace toolkit
