#include "platform/toolkit/qt/LateKeys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWindow>

namespace toolkit::qt {

namespace {

bool IsModifier(int key) {
    switch (key) {
        case Qt::Key_Alt:
        case Qt::Key_AltGr:
        case Qt::Key_Control:
        case Qt::Key_Meta:
        case Qt::Key_Shift:
            return true;
        default:
            return false;
    }
}

class LateModifierFilter : public QObject {
public:
    explicit LateModifierFilter(QWindow& window) : QObject(&window) { window.installEventFilter(this); }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        return event->type() == QEvent::KeyPress && QApplication::activePopupWidget() != nullptr &&
               IsModifier(static_cast<const QKeyEvent*>(event)->key());
    }
};

}  // namespace

void IgnoreLateModifiers(QWindow& window) { new LateModifierFilter(window); }

}  // namespace toolkit::qt
