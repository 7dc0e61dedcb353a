#include "Program.h"

#include <QApplication>
#include <cstdio>
#include <exception>

#include "platform/toolkit/Runtime.h"
#include "platform/toolkit/qt/FormWindow.h"
#include "window/Game.h"

int RunProgram() {
    try {
        Game game;
        toolkit::qt::FormWindow window(game);
        game.Show();
        return game.Closed() ? 0 : QApplication::exec();
    } catch (const std::exception& error) {
        // Standard error first: it reaches a log even where no box can be shown. Plain stdio keeps the
        // stream library's start-up out of the program.
        std::fprintf(stderr, "tessarin: %s\n", error.what());
        toolkit::MsgBox(error.what(), toolkit::vbOKOnly + toolkit::vbCritical, "Tessarin");
        return 1;
    }
}
