// The application's style for the menu bar and its menus, with two changes that keep
// the menus looking as the model's plain check marks do: an item that is checkable
// but unchecked is drawn without an empty indicator, and access keys are never
// underlined (they work all the same).
#pragma once

#include <QProxyStyle>

namespace toolkit::qt {

class MenuStyle : public QProxyStyle {
public:
    explicit MenuStyle(QObject* parent);

    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override;
};

}  // namespace toolkit::qt
