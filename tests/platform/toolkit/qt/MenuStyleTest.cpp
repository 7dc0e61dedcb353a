#include <gtest/gtest.h>

#include <QAction>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QProxyStyle>
#include <utility>

#include "platform/toolkit/qt/MenuStyle.h"
#include "support/QtTestApplication.h"

namespace {

// A menu bar with one menu: "Computer", then "Human" checked, as the window shows them.
std::pair<QImage, QImage> Render(QStyle& style, const QString& title, bool computerCheckable) {
    QMenuBar bar;
    QMenu menu(title);
    bar.setStyle(&style);
    menu.setStyle(&style);
    menu.addAction("Computer")->setCheckable(computerCheckable);
    QAction* human = menu.addAction("Human");
    human->setCheckable(true);
    human->setChecked(true);
    bar.addMenu(&menu);
    bar.adjustSize();
    menu.adjustSize();
    return {bar.grab().toImage(), menu.grab().toImage()};
}

TEST(MenuStyleTest, AnUncheckedChoiceShowsNoIndicatorAndTheAccessKeyNoUnderline) {
    toolkit::qt::MenuStyle style(nullptr);
    EXPECT_EQ(Render(style, "&File", true), Render(style, "File", false));

    // Without it, both would show.
    QProxyStyle plain(style.baseStyle()->name());
    const auto [plainBar, plainMenu] = Render(plain, "&File", true);
    const auto [bar, menu] = Render(plain, "File", false);
    EXPECT_NE(plainBar, bar);
    EXPECT_NE(plainMenu, menu);
}

}  // namespace
