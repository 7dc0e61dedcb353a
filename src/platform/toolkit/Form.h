// A top-level window: a fixed client area with a persistent image, the controls
// placed on it, a menu bar, and the load and unload events of its life.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/gdi/Gdi.h"
#include "platform/toolkit/FormView.h"
#include "platform/toolkit/Image.h"
#include "platform/toolkit/Label.h"
#include "platform/toolkit/Line.h"
#include "platform/toolkit/MenuItem.h"
#include "platform/toolkit/PictureBox.h"

namespace toolkit {

class Form {
public:
    struct Design {
        std::string Caption;
        int ClientWidth = 0;
        int ClientHeight = 0;
        bool Resizable = false;   // fixed single border
        bool MinButton = true;
        bool MaxButton = false;
        gdi::COLORREF BackColor = gdi::RGB(240, 240, 240);
    };

    explicit Form(const Design& design);
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    // While it lives, `view` hears of every change to the form and its controls. A form has one view at a time;
    // the form must outlive the attachment.
    class Attachment {
    public:
        Attachment(Form& form, FormView& view);  // throws std::logic_error while the form has a view already
        ~Attachment();
        Attachment(const Attachment&) = delete;
        Attachment& operator=(const Attachment&) = delete;

    private:
        Form& form_;
    };

    const Design& Properties() const { return design_; }

    // The persistent image behind the controls.
    gdi::HDC hDC() const;
    float ScaleWidth() const;
    float ScaleHeight() const;

    // Runs the load event once, then shows the window through the view. An exception
    // from the load event passes to the caller; the window stays hidden.
    void Show();
    bool Visible() const { return visible_; }

    // Every request to close (close box, system menu, a command) comes here; the
    // unload event may cancel it. Returns true when the window closed. A request
    // made while the unload event is still deciding is refused.
    bool RequestClose();
    bool Closed() const { return closed_; }

    // Tells the player, by ear, what just changed: a sentence that assistive tools speak at once.
    void Announce(const std::string& Sentence);

    // What the window shows, for front ends, in drawing order: the image, then the
    // lines, images and labels, then the picture surfaces on top.
    const std::vector<const Line*>& Lines() const { return lines_; }
    const std::vector<const Image*>& Images() const { return images_; }
    const std::vector<Label*>& Labels() const { return labels_; }
    std::vector<PictureBox*> Surfaces() const;
    const std::vector<std::unique_ptr<MenuItem>>& Menus() const { return menus_; }

protected:
    virtual void Form_Load() {}
    virtual void Form_Unload(std::int16_t& Cancel) { (void)Cancel; }

    void Place(const Line& line) { lines_.push_back(&line); }
    void Place(const Image& image) { images_.push_back(&image); }
    void Place(Label& label);
    void Place(PictureBox& surface);
    // Elements the array loads later take the link of its first element.
    template <typename Array>
    void PlaceArray(const Array& array) {
        array.ForEach([this](auto, PictureBox& surface) { surface.view_ = Link(); });
        surfaces_.push_back([&array] {
            std::vector<PictureBox*> all;
            array.ForEach([&all](auto, PictureBox& surface) { all.push_back(&surface); });
            return all;
        });
    }
    MenuItem& AddMenu(MenuItem::Design design);

private:
    ViewLink Link() const { return ViewLink(view_); }

    Design design_;
    FormView* view_ = nullptr;
    gdi::HDC hdc_ = 0;
    bool loaded_ = false;
    bool visible_ = false;
    bool closed_ = false;
    bool unloading_ = false;
    std::vector<const Line*> lines_;
    std::vector<const Image*> images_;
    std::vector<Label*> labels_;
    std::vector<std::function<std::vector<PictureBox*>()>> surfaces_;
    std::vector<std::unique_ptr<MenuItem>> menus_;
};

}  // namespace toolkit
