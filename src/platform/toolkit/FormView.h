// What a front end shows of a form: the one interface between the toolkit's model and a platform's windows, as
// Platform (Platform.h) is for its other services. The form and its controls call it as they change, on the one
// user-interface thread, while the view is attached (Form::Attachment); each call asks the front end to show the
// change or act on it, and none may call back into the model.
//
// Input goes the other way, into the model's own events: a press to PictureBox::MouseDown, a menu choice to
// MenuItem::Choose, a key to the surface's CellTable, a close request to Form::RequestClose. A front end runs them
// through FrontEnd::RunHandler.
#pragma once

#include <string>

namespace toolkit {

class Label;
class MenuItem;
class PictureBox;

class FormView {
public:
    // The form's load event has run and the window must now show: the surfaces the load event made exist.
    virtual void ShowWindow() = 0;
    // The form closed for good (its unload event let it): the window goes.
    virtual void CloseWindow() = 0;

    // The label's caption changed.
    virtual void LabelChanged(const Label& label) = 0;
    // The surface's size or visibility changed.
    virtual void SurfaceChanged(PictureBox& surface) = 0;
    // The surface's image must reach the screen before the call returns (its Refresh).
    virtual void RepaintSurface(PictureBox& surface) = 0;
    // The item's caption, check mark or enabled state changed.
    virtual void MenuItemChanged(const MenuItem& item) = 0;

    // The keyboard cursor of the surface's cell table moved, showed or hid.
    virtual void CursorChanged(PictureBox& surface) = 0;
    // The name of a cell of the surface's table changed.
    virtual void CellChanged(PictureBox& surface, int row, int column) = 0;

    // A sentence for the player to hear at once, unasked, as a screen reader speaks it; nothing on the screen changes.
    virtual void Announce(const std::string& sentence) = 0;

protected:
    ~FormView() = default;
};

// How a control reaches its form's view: empty until the control is placed on a form, and while the form has no
// view attached.
class ViewLink {
public:
    ViewLink() = default;
    FormView* Get() const { return slot_ != nullptr ? *slot_ : nullptr; }

private:
    friend class Form;
    explicit ViewLink(FormView* const& slot) : slot_(&slot) {}

    FormView* const* slot_ = nullptr;
};

}  // namespace toolkit
