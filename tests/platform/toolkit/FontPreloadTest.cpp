// The program reads the font configuration ahead while it builds its application object;
// this is that order, without a window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontDatabase>

#include "platform/toolkit/qt/FontPreload.h"

namespace {

TEST(FontPreload, LeavesFontsReadyForTheApplicationBuiltMeanwhile) {
    toolkit::qt::FontPreload fonts;
    int argc = 1;
    char name[] = "tessarin-test";
    char* argv[] = {name, nullptr};
    const QApplication application(argc, argv);
    fonts.Wait();
    fonts.Wait();  // a second wait has nothing left to wait for
    EXPECT_TRUE(QFontDatabase::hasFamily(QStringLiteral("DejaVu Sans")));
    EXPECT_FALSE(QFontDatabase::families().isEmpty());

    // A program that fails before its first font ends without a wait: the reader is joined, not abandoned.
    // (The application outlives it here, as in the program, and takes the configuration down with it.)
    { const toolkit::qt::FontPreload unwaited; }
}

}  // namespace
