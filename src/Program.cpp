#include "Program.h"

#include <QApplication>
#include <cstdio>
#include <exception>
#include <string>

#include "platform/toolkit/Runtime.h"
#include "platform/toolkit/qt/FormWindow.h"
#include "state/Texts.h"
#include "window/Game.h"

namespace {

// Standard error first: it reaches a log even where no box can be shown. Plain stdio keeps the stream
// library's start-up out of the program.
void ShowFailure(const std::string& what) {
    std::fprintf(stderr, "tessarin: %s\n", what.c_str());
    toolkit::MsgBox(what, toolkit::vbOKOnly + toolkit::vbCritical, Texts::Title);
}

}  // namespace

int RunProgram() {
    try {
        Game game;
        toolkit::qt::FormWindow window(game);
        window.ReportFailure = ShowFailure;
        game.Show();
        // Start-up lets pending events through, and a handler may have failed there, before any event loop ran.
        if (window.Failed()) return 1;
        return game.Closed() ? 0 : QApplication::exec();
    } catch (const std::exception& error) {
        ShowFailure(error.what());
        return 1;
    }
}
