#include "platform/toolkit/qt/Accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QAction>
#include <QFileInfo>
#include <QLabel>
#include <QPointer>
#include <QWidget>
#include <QWindow>
#include <map>
#include <set>
#include <vector>

namespace toolkit::qt {

namespace {

struct ExposedTable {
    CellTable* Table;
    HandlerRunner Run;
};

std::map<const QObject*, ExposedTable>& Exposed() {
    static std::map<const QObject*, ExposedTable> views;
    return views;
}

// A cell is no object of its own: it answers no object, or Qt would take it for that object's one accessible.
class CellAccessible : public QAccessibleInterface,
                       public QAccessibleTableCellInterface,
                       public QAccessibleActionInterface {
public:
    CellAccessible(QWidget& view, const ExposedTable& exposed, int row, int column)
        : view_(&view), exposed_(exposed), row_(row), column_(column) {}

    bool isValid() const override { return !view_.isNull(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return view_ ? view_->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(view_.data()); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }

    QString text(QAccessible::Text kind) const override {
        if (kind != QAccessible::Name || !view_) return {};
        return QString::fromStdString(exposed_.Table->CellName(row_, column_));
    }
    void setText(QAccessible::Text, const QString&) override {}

    QRect rect() const override {
        if (!view_) return {};
        const CellBox box = exposed_.Table->CellRect(row_, column_);
        return {view_->mapToGlobal(QPoint(box.Left, box.Top)), QSize(box.Width, box.Height)};
    }

    QAccessible::Role role() const override { return QAccessible::Cell; }

    QAccessible::State state() const override {
        QAccessible::State state;
        state.focusable = true;
        if (!view_ || !view_->isVisible()) state.invisible = true;
        state.focused = view_ && view_->hasFocus() && exposed_.Table->CursorRow() == row_ &&
                        exposed_.Table->CursorColumn() == column_;
        return state;
    }

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TableCellInterface) return static_cast<QAccessibleTableCellInterface*>(this);
        if (type == QAccessible::ActionInterface) return static_cast<QAccessibleActionInterface*>(this);
        return nullptr;
    }

    bool isSelected() const override { return false; }
    QList<QAccessibleInterface*> columnHeaderCells() const override { return {}; }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return column_; }
    int rowIndex() const override { return row_; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return parent(); }

    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& name) override {
        if (name != pressAction() || !view_) return;
        exposed_.Run([this] { exposed_.Table->PressCell(row_, column_); });
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    QPointer<QWidget> view_;
    ExposedTable exposed_;
    int row_;
    int column_;
};

class TableAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    TableAccessible(QWidget& view, ExposedTable exposed)
        : QAccessibleWidget(&view, QAccessible::Table),
          exposed_(std::move(exposed)),
          cells_(static_cast<std::size_t>(Rows() * Columns()), 0) {}

    // The cells go with the table, unless Qt's cache, ending, has taken them already.
    ~TableAccessible() override {
        for (const QAccessible::Id id : cells_)
            if (id != 0 && QAccessible::accessibleInterface(id) != nullptr) QAccessible::deleteAccessibleInterface(id);
    }

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TableInterface) return static_cast<QAccessibleTableInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    int childCount() const override { return Rows() * Columns(); }
    QAccessibleInterface* child(int index) const override {
        if (index < 0 || index >= childCount()) return nullptr;
        return cellAt(index / Columns(), index % Columns());
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        const auto* cell = child ? const_cast<QAccessibleInterface*>(child)->tableCellInterface() : nullptr;
        if (cell == nullptr || child->parent() != this) return -1;
        return cell->rowIndex() * Columns() + cell->columnIndex();
    }
    QAccessibleInterface* focusChild() const override {
        if (!widget()->hasFocus()) return nullptr;
        return cellAt(exposed_.Table->CursorRow(), exposed_.Table->CursorColumn());
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        for (int index = 0; index < childCount(); ++index)
            if (child(index)->rect().contains(x, y)) return child(index);
        return nullptr;
    }

    QAccessibleInterface* cellAt(int row, int column) const override {
        if (row < 0 || row >= Rows() || column < 0 || column >= Columns()) return nullptr;
        QAccessible::Id& id = cells_[static_cast<std::size_t>(row * Columns() + column)];
        if (id == 0)
            id = QAccessible::registerAccessibleInterface(new CellAccessible(*widget(), exposed_, row, column));
        return QAccessible::accessibleInterface(id);
    }
    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    int columnCount() const override { return Columns(); }
    int rowCount() const override { return Rows(); }
    QString columnDescription(int) const override { return {}; }
    QString rowDescription(int) const override { return {}; }
    int selectedCellCount() const override { return 0; }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    QList<QAccessibleInterface*> selectedCells() const override { return {}; }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent*) override {}

private:
    int Rows() const { return exposed_.Table->Rows(); }
    int Columns() const { return exposed_.Table->Columns(); }

    ExposedTable exposed_;
    mutable std::vector<QAccessible::Id> cells_;
};

std::set<const QObject*>& Windows() {
    static std::set<const QObject*> windows;
    return windows;
}

std::set<const QObject*>& StatusLines() {
    static std::set<const QObject*> labels;
    return labels;
}

// The status line is text that a screen reader's status-bar command finds.
class StatusAccessible : public QAccessibleWidget {
public:
    explicit StatusAccessible(QLabel& label) : QAccessibleWidget(&label, QAccessible::StatusBar) {}

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Name) return static_cast<QLabel*>(widget())->text();
        return QAccessibleWidget::text(kind);
    }
};

// Stands for the window's last announcement, as a notification that exists for assistive tools alone: shown again
// for each announcement, it is spoken at once, wherever the focus is. It is no object of its own and covers nothing.
class NotificationAccessible : public QAccessibleInterface {
public:
    explicit NotificationAccessible(QWidget& window) : window_(&window) {}

    bool isValid() const override { return !window_.isNull(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return window_ ? window_->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(window_.data()); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text kind) const override { return kind == QAccessible::Name ? sentence_ : QString(); }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override { return {}; }
    QAccessible::Role role() const override { return QAccessible::Notification; }
    QAccessible::State state() const override { return {}; }

    void Say(const QString& sentence) { sentence_ = sentence; }

private:
    QPointer<QWidget> window_;
    QString sentence_;
};

// The form's window is a frame named by its caption (a plain top-level widget would read as a filler), with its
// notification as its last child.
class WindowAccessible : public QAccessibleWidget {
public:
    explicit WindowAccessible(QWidget& window)
        : QAccessibleWidget(&window, QAccessible::Window),
          notification_(QAccessible::registerAccessibleInterface(new NotificationAccessible(window))) {}

    // The notification goes with the window, unless Qt's cache, ending, has taken it already.
    ~WindowAccessible() override {
        if (QAccessible::accessibleInterface(notification_) != nullptr)
            QAccessible::deleteAccessibleInterface(notification_);
    }

    int childCount() const override { return QAccessibleWidget::childCount() + 1; }
    QAccessibleInterface* child(int index) const override {
        if (index == QAccessibleWidget::childCount()) return Notification();
        return QAccessibleWidget::child(index);
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        if (child != nullptr && child == Notification()) return QAccessibleWidget::childCount();
        return QAccessibleWidget::indexOfChild(child);
    }

    NotificationAccessible* Notification() const {
        return static_cast<NotificationAccessible*>(QAccessible::accessibleInterface(notification_));
    }

private:
    QAccessible::Id notification_;
};

QAccessibleInterface* Factory(const QString&, QObject* object) {
    if (Windows().count(object) != 0) return new WindowAccessible(*static_cast<QWidget*>(object));
    if (StatusLines().count(object) != 0) return new StatusAccessible(*static_cast<QLabel*>(object));
    const auto it = Exposed().find(object);
    if (it != Exposed().end()) return new TableAccessible(*static_cast<QWidget*>(object), it->second);
    return nullptr;
}

QAccessibleInterface* CellOf(QWidget& view, int row, int column) {
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(&view);
    return table && table->tableInterface() ? table->tableInterface()->cellAt(row, column) : nullptr;
}

// A session bus is named in the environment, or listens at the per-user address that libdbus and sd-bus look
// for when none is named. Elsewhere (a bare X session, ssh -X) asking for the bus makes libdbus launch one.
bool SessionBusExists() {
    if (!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS")) return true;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QFileInfo(runtime + QStringLiteral("/bus")).exists();
}

}  // namespace

void InstallAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(Factory);
        // Where no session bus runs, the first part of Qt that asks for one (this bridge, the global menu's
        // check) would make libdbus launch a bus, and that bus outlives the program. An address of a transport
        // libdbus does not know makes it find none instead; no screen reader can listen without a bus anyway.
        if (!SessionBusExists()) qputenv("DBUS_SESSION_BUS_ADDRESS", "disabled:");
        // Asking starts Qt's bridge to assistive tools here, at one point of start-up, not at whichever widget
        // first changes.
        (void)QAccessible::isActive();
        return true;
    }();
    (void)installed;
}

void ExposeTable(QWidget& view, CellTable& table, HandlerRunner run) {
    Exposed()[&view] = ExposedTable{&table, std::move(run)};
    QObject::connect(&view, &QObject::destroyed, [key = static_cast<const QObject*>(&view)] { Exposed().erase(key); });
}

void ExposeStatusLine(QLabel& label) {
    StatusLines().insert(&label);
    QObject::connect(&label, &QObject::destroyed,
                     [key = static_cast<const QObject*>(&label)] { StatusLines().erase(key); });
}

WindowAccessibility::WindowAccessibility(QWidget& window) : window_(window) { Windows().insert(&window); }

WindowAccessibility::~WindowAccessibility() { Windows().erase(&window_); }

// Hidden and shown again, so that a sentence equal to the last one is spoken too.
void WindowAccessibility::Announce(const std::string& sentence) {
    if (!QAccessible::isActive()) return;
    auto* frame = dynamic_cast<WindowAccessible*>(QAccessible::queryAccessibleInterface(&window_));
    NotificationAccessible* notification = frame != nullptr ? frame->Notification() : nullptr;
    if (notification == nullptr) return;
    notification->Say(QString::fromStdString(sentence));
    QAccessibleEvent hidden(notification, QAccessible::ObjectHide);
    QAccessible::updateAccessibility(&hidden);
    QAccessibleEvent shown(notification, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
}

void AnnounceCellName(QWidget& view, int row, int column) {
    if (!QAccessible::isActive()) return;
    if (QAccessibleInterface* cell = CellOf(view, row, column)) {
        QAccessibleEvent event(cell, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
}

void AnnounceCursor(QWidget& view) {
    if (!QAccessible::isActive() || !view.hasFocus()) return;
    const auto it = Exposed().find(&view);
    if (it == Exposed().end()) return;
    if (QAccessibleInterface* cell = CellOf(view, it->second.Table->CursorRow(), it->second.Table->CursorColumn())) {
        QAccessibleEvent event(cell, QAccessible::Focus);
        QAccessible::updateAccessibility(&event);
    }
}

// Qt's menu items are accessibles its menu makes on demand, found through the menu.
void AnnounceChecked(QWidget& menu, QAction& action) {
    if (!QAccessible::isActive()) return;
    QAccessibleInterface* items = QAccessible::queryAccessibleInterface(&menu);
    for (int index = 0; items != nullptr && index < items->childCount(); ++index) {
        QAccessibleInterface* item = items->child(index);
        if (item == nullptr || item->object() != &action) continue;
        QAccessible::State changed;
        changed.checked = true;
        QAccessibleStateChangeEvent event(item, changed);
        QAccessible::updateAccessibility(&event);
        return;
    }
}

}  // namespace toolkit::qt
