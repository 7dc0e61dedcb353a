// Starts the program: its only window, shown through the Qt front end. The program
// ends when that window closes. A failure during start-up is reported in a message
// box and ends the program without showing the window.
#include <QApplication>
#include <optional>

#include "Program.h"
#include "platform/toolkit/qt/DisplayCheck.h"
#include "platform/toolkit/qt/Seams.h"

int main(int argc, char* argv[]) {
    std::optional<QApplication> application;
    {
        const toolkit::qt::DisplayCheck check("tessarin");
        application.emplace(argc, argv);
    }
    // Lets the desktop match the window to the installed launcher (icon, name).
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.tessarin.Tessarin"));
    toolkit::qt::InstallSeams();
    return RunProgram();
}
