#include "platform/toolkit/qt/MenuStyle.h"

#include <QStyleOptionMenuItem>

#include "platform/toolkit/qt/ApplicationStyle.h"

namespace toolkit::qt {

// A style of the application's kind, made anew: the application keeps its own.
MenuStyle::MenuStyle(QObject* parent) : QProxyStyle(PlatformStyleName()) { setParent(parent); }

int MenuStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                         QStyleHintReturn* returnData) const {
    if (hint == SH_UnderlineShortcut) return 0;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}

void MenuStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                            const QWidget* widget) const {
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    if (element == CE_MenuItem && item != nullptr && !item->checked &&
        item->checkType != QStyleOptionMenuItem::NotCheckable) {
        QStyleOptionMenuItem plain(*item);
        plain.checkType = QStyleOptionMenuItem::NotCheckable;
        QProxyStyle::drawControl(element, &plain, painter, widget);
        return;
    }
    QProxyStyle::drawControl(element, option, painter, widget);
}

}  // namespace toolkit::qt
