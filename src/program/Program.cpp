#include "Program.h"

#include <cstdio>
#include <exception>
#include <memory>
#include <string>

#include "platform/toolkit/FrontEnd.h"
#include "platform/toolkit/Runtime.h"
#include "state/Texts.h"
#include "window/Game.h"

namespace {

// Standard error first: it reaches a log even where no box can be shown. Plain stdio keeps the stream library's
// start-up out of the program.
void ShowFailure(const std::string& what) {
    std::fprintf(stderr, "%s: %s\n", ProgramName, what.c_str());
    std::fflush(stderr);
    toolkit::MsgBox(what, toolkit::vbOKOnly + toolkit::vbCritical, Texts::Title);
}

}  // namespace

int RunProgram() {
    try {
        Game game;
        const std::unique_ptr<toolkit::FrontEnd> window = toolkit::OpenWindow(game);
        window->ReportFailure = ShowFailure;
        game.Show();
        // Start-up lets pending events through, and a handler may have failed there, before any event loop ran.
        if (window->Failed()) return 1;
        return game.Closed() ? 0 : window->Run();
    } catch (const std::exception& error) {
        ShowFailure(error.what());
        return 1;
    }
}
