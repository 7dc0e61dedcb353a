// Shows a toolkit Form as a fixed-size Qt window: its menu bar, a canvas with the
// form's persistent image and its lines, images and labels, and one child widget
// per visible picture surface. Everything is laid out in logical pixels, so a
// high-density screen scales the whole window evenly.
#pragma once

#include <QWidget>
#include <map>

#include "platform/toolkit/Form.h"

class QMenuBar;

namespace toolkit::qt {

class FormWindow : public QWidget {
public:
    // Takes over the form's ShowWindow and CloseWindow hooks; the form must outlive the window.
    explicit FormWindow(Form& form);
    ~FormWindow() override;

    QMenuBar* MenuBar() const { return menuBar_; }
    QWidget* Canvas() const { return canvas_; }
    // The widget that shows `surface`, or null while it has none.
    QWidget* SurfaceWidget(const PictureBox& surface) const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildMenus();
    void ShowForm();
    void SyncSurface(PictureBox& surface);

    Form& form_;
    QMenuBar* menuBar_ = nullptr;
    QWidget* canvas_ = nullptr;
    std::map<const PictureBox*, QWidget*> surfaces_;
    bool inCloseEvent_ = false;
};

}  // namespace toolkit::qt
