// Starts the program: its only window, shown through the Qt front end. The program
// ends when that window closes. A failure during start-up is reported in a message
// box and ends the program without showing the window.
#include <QApplication>
#include <string>
#include <vector>

#include "Program.h"
#include "platform/toolkit/PicturePrefetch.h"
#include "platform/toolkit/Runtime.h"
#include "platform/toolkit/qt/FontPreload.h"
#include "platform/toolkit/qt/Seams.h"
#include "window/Game.h"

namespace {

std::vector<std::string> WindowPictures() {
    std::vector<std::string> files;
    for (const char* file : Game::PictureFiles()) files.push_back(toolkit::NativePath(toolkit::App::Path() + file));
    return files;
}

}  // namespace

int main(int argc, char* argv[]) {
    // The font configuration is read on the other core while the application is built; the window is the first
    // to use a font.
    toolkit::qt::FontPreload fonts;
    QApplication application(argc, argv);
    // Lets the desktop match the window to the installed launcher (icon, name).
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.tessarin.Tessarin"));
    toolkit::qt::InstallSeams();
    // The window's start-up keeps one core busy and leaves the other idle: its pictures are decoded there meanwhile.
    // Not before the application exists, whose construction resets the plug-in paths the decoders are found by.
    const toolkit::PicturePrefetch prefetch(WindowPictures(), toolkit::qt::DecodePicture);
    fonts.Wait();
    return RunProgram();
}
