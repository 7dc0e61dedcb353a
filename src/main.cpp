// Starts the program: its only window, shown through the Qt front end. The program
// ends when that window closes. A failure during start-up is reported in a message
// box and ends the program without showing the window.
#include <QApplication>
#include <exception>

#include "platform/toolkit/Runtime.h"
#include "platform/toolkit/qt/FormWindow.h"
#include "platform/toolkit/qt/Seams.h"
#include "window/Game.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    toolkit::qt::InstallSeams();
    try {
        Game game;
        toolkit::qt::FormWindow window(game);
        game.Show();
        return game.Closed() ? 0 : application.exec();
    } catch (const std::exception& error) {
        toolkit::MsgBox(error.what(), toolkit::vbOKOnly + toolkit::vbCritical, "Tessarin");
        return 1;
    }
}
