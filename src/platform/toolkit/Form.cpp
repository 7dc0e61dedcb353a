#include "platform/toolkit/Form.h"

#include <stdexcept>

namespace toolkit {

Form::Form(const Design& design)
    : design_(design), hdc_(gdi::CreateSurfaceDC(design.ClientWidth, design.ClientHeight, design.BackColor)) {}

Form::~Form() { gdi::DeleteDC(hdc_); }

Form::Attachment::Attachment(Form& form, FormView& view) : form_(form) {
    if (form.view_ != nullptr) throw std::logic_error("the form " + form.design_.Caption + " has a view already");
    form.view_ = &view;
}

Form::Attachment::~Attachment() { form_.view_ = nullptr; }

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
    if (view_ != nullptr) view_->ShowWindow();
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
    if (view_ != nullptr) view_->CloseWindow();
    return true;
}

void Form::Announce(const std::string& Sentence) {
    if (view_ != nullptr) view_->Announce(Sentence);
}

void Form::Place(Label& label) {
    label.view_ = Link();
    labels_.push_back(&label);
}

void Form::Place(PictureBox& surface) {
    surface.view_ = Link();
    surfaces_.push_back([&surface] { return std::vector<PictureBox*>{&surface}; });
}

std::vector<PictureBox*> Form::Surfaces() const {
    std::vector<PictureBox*> all;
    for (const auto& surfaces : surfaces_)
        for (PictureBox* surface : surfaces()) all.push_back(surface);
    return all;
}

MenuItem& Form::AddMenu(MenuItem::Design design) {
    menus_.push_back(std::make_unique<MenuItem>(std::move(design)));
    menus_.back()->view_ = Link();
    return *menus_.back();
}

}  // namespace toolkit
