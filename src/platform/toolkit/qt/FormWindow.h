// Shows a toolkit Form as a fixed-size Qt window: its menu bar, a canvas with the
// form's persistent image and its lines, images and labels, and one child widget
// per visible picture surface. Everything is laid out in logical pixels, so a
// high-density screen scales the whole window evenly.
#pragma once

#include <QWidget>
#include <functional>
#include <map>
#include <string>

#include "platform/toolkit/Form.h"
#include "platform/toolkit/HandlerGuard.h"

class QMenuBar;

namespace toolkit::qt {

class FormWindow : public QWidget {
public:
    // Takes over the form's ShowWindow and CloseWindow hooks; the form must outlive the window.
    explicit FormWindow(Form& form);
    ~FormWindow() override;

    // Runs model code for a Qt event (a menu choice, a press, a close request). An exception must not pass
    // through Qt's event loop, and one that escapes a handler is a programming error that may have left the
    // model half updated: it is reported once, the application's event loops end with status 1, and no
    // handler runs after it.
    void RunHandler(const std::function<void()>& handler) noexcept;
    bool Failed() const { return guard_.Failed(); }
    // How the program reports such an error. Unset, the line "<application name>: <what>" goes to standard
    // error and a critical box titled with the form's caption shows the error.
    std::function<void(const std::string& What)> ReportFailure;

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
    void BindTable(QWidget& view, CellTable& table);
    void Report(const std::string& what) const;

    Form& form_;
    HandlerGuard guard_;
    QMenuBar* menuBar_ = nullptr;
    QWidget* canvas_ = nullptr;
    std::map<const PictureBox*, QWidget*> surfaces_;
    bool inCloseEvent_ = false;
};

}  // namespace toolkit::qt
