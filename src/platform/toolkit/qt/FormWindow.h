// Shows a toolkit Form as a fixed-size Qt window: its menu bar, a canvas with the
// form's persistent image and its lines, images and labels, and one child widget
// per visible picture surface. Everything is laid out in logical pixels, so a
// high-density screen scales the whole window evenly.
#pragma once

#include <QWidget>
#include <map>

#include "platform/toolkit/FrontEnd.h"
#include "platform/toolkit/qt/Accessibility.h"

class QAction;
class QLabel;
class QMenuBar;

namespace toolkit::qt {

class FormWindow : public QWidget, public FrontEnd {
public:
    // The form must outlive the window.
    explicit FormWindow(Form& form);

    int Run() override;

    QMenuBar* MenuBar() const { return menuBar_; }
    QWidget* Canvas() const { return canvas_; }
    // The widget that shows `surface`, or null while it has none.
    QWidget* SurfaceWidget(const PictureBox& surface) const;

    void ShowWindow() override;
    void LabelChanged(const Label& label) override;
    void SurfaceChanged(PictureBox& surface) override;
    void RepaintSurface(PictureBox& surface) override;
    void MenuItemChanged(const MenuItem& item) override;
    void CursorChanged(PictureBox& surface) override;
    void CellChanged(PictureBox& surface, int row, int column) override;
    void Announce(const std::string& sentence) override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void DestroyWindow() override { close(); }
    void EndEventLoop() override;

private:
    void AddMenuItem(QWidget& parent, const MenuItem& item);
    void AddCommand(QWidget& parent, const MenuItem& item);
    void SyncMenuItem(const MenuItem& item, bool announce);

    // First: the window reads as a frame from the first question on.
    WindowAccessibility accessibility_{*this};
    QMenuBar* menuBar_ = nullptr;
    QWidget* canvas_ = nullptr;
    bool shown_ = false;
    std::map<const PictureBox*, QWidget*> surfaces_;
    std::map<const Label*, QLabel*> labels_;
    std::map<const MenuItem*, QAction*> actions_;
};

}  // namespace toolkit::qt
