// Starts the program on Linux and macOS: Qt, the toolkit's seams on Qt, then the
// program's only window.
#include <QApplication>
#include <optional>

#include "Program.h"
#include "platform/toolkit/qt/DisplayCheck.h"
#include "platform/toolkit/qt/Seams.h"

int main(int argc, char* argv[]) {
    std::optional<QApplication> application;
    {
        const toolkit::qt::DisplayCheck check(ProgramName);
        application.emplace(argc, argv);
    }
    // Lets the desktop match the window to the installed launcher (icon, name).
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.tessarin.Tessarin"));
    toolkit::qt::InstallSeams();
    return RunProgram();
}
