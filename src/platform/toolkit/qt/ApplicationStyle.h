// The application's style: the platform's own, except that the menu bar's overflow icon
// is fetched only when it is first drawn. Qt fetches that icon as each menu bar is made,
// and reading it searches and loads every image plug-in: at start-up, about 2 ms and
// 0.4 MB before the window can show, for a button a fixed window never shows.
#pragma once

#include <QProxyStyle>

namespace toolkit::qt {

class ApplicationStyle : public QProxyStyle {
public:
    ApplicationStyle();

    QIcon standardIcon(StandardPixmap icon, const QStyleOption* option, const QWidget* widget) const override;
};

// The name of the platform's style under any proxy, to make another of its kind.
QString PlatformStyleName();

}  // namespace toolkit::qt
