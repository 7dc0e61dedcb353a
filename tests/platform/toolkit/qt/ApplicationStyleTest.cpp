// Alone in its program, so that nothing before it has loaded an image plug-in.
#include <QMenuBar>
#include <QToolButton>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/toolkit/qt/ApplicationStyle.h"
#include "support/QtTestApplication.h"

namespace {

bool ImagePluginLoaded() {
    std::ifstream maps("/proc/self/maps");
    const std::string text((std::istreambuf_iterator<char>(maps)), std::istreambuf_iterator<char>());
    return text.find("/imageformats/") != std::string::npos;
}

TEST(ApplicationStyleTest, AMenuBarLoadsNoImagePluginYetItsOverflowButtonHasItsIcon) {
    if (!std::ifstream("/proc/self/maps")) GTEST_SKIP() << "needs /proc to see the loaded libraries";
    QApplication::setStyle(new toolkit::qt::ApplicationStyle);
    QMenuBar bar;
    bar.addMenu(QStringLiteral("File"));
    EXPECT_FALSE(ImagePluginLoaded());
    const auto* overflow = bar.findChild<QToolButton*>();
    ASSERT_NE(overflow, nullptr);
    EXPECT_FALSE(overflow->icon().pixmap(16, 16).isNull());
}

}  // namespace
