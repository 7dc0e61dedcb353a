// What assistive tools read of a form window, beyond what Qt's own widgets tell them:
// the window as a frame, its status line as a status bar, a picture surface that is a
// table of cells as a table whose cells are named and pressed through the model, the
// events that announce a change in either, and the window's announcements, spoken
// through a notification that nothing draws. Every event is skipped while no
// assistive tool listens.
#pragma once

#include <functional>

#include "platform/toolkit/CellTable.h"

#include <string>

class QAction;
class QLabel;
class QWidget;

namespace toolkit::qt {

// Runs a model call the way the window runs its event handlers.
using HandlerRunner = std::function<void(const std::function<void()>& Handler)>;

// Once per application, before the first window model is built; later calls do nothing.
void InstallAccessibility();

// While it lives, `window` reads as a frame named by its title, whose last child speaks the window's announcements.
// The window holds it for its whole life, made before anything asks about the window: assistive tools keep the
// first answer they get.
class WindowAccessibility {
public:
    explicit WindowAccessibility(QWidget& window);
    ~WindowAccessibility();
    WindowAccessibility(const WindowAccessibility&) = delete;
    WindowAccessibility& operator=(const WindowAccessibility&) = delete;

    // Assistive tools speak `sentence` at once, unasked.
    void Announce(const std::string& sentence);

private:
    QWidget& window_;
};

// From now until `view` is destroyed, it reads as the table of `table`'s cells. The table must outlive the view.
void ExposeTable(QWidget& view, CellTable& table, HandlerRunner run);

// From now until `label` is destroyed, it reads as its window's status line, named by its text.
void ExposeStatusLine(QLabel& label);

// The cell's name changed.
void AnnounceCellName(QWidget& view, int row, int column);
// The cursor moved: its cell takes the focus, if the view has it.
void AnnounceCursor(QWidget& view);
// The action's check mark changed; `menu` holds the action.
void AnnounceChecked(QWidget& menu, QAction& action);

}  // namespace toolkit::qt
