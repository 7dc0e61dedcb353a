// Starts the program on Linux and macOS: Qt, its style and accessibility, the toolkit's
// platform on Qt, then the program's only window.
#include <QApplication>
#include <optional>

#include "Program.h"
#include "platform/toolkit/qt/Accessibility.h"
#include "platform/toolkit/qt/ApplicationStyle.h"
#include "platform/toolkit/qt/DisplayCheck.h"
#include "platform/toolkit/qt/QtPlatform.h"

int main(int argc, char* argv[]) {
    std::optional<QApplication> application;
    {
        const toolkit::qt::DisplayCheck check(ProgramName);
        application.emplace(argc, argv);
    }
    // Lets the desktop match the window to the installed launcher (icon, name).
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.tessarin.Tessarin"));
    QApplication::setStyle(new toolkit::qt::ApplicationStyle);
    toolkit::qt::InstallAccessibility();
    toolkit::qt::QtPlatform platform;
    const toolkit::Platform::Installation installed(platform);
    return RunProgram();
}
