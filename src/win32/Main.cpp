// Starts the program on Windows: its only window, shown through the Win32 front end.
// The program ends when that window closes. A failure during start-up is reported in
// a message box (and on standard error, where there is one) and ends the program
// with status 1 without showing the window.
#include <cstdio>
#include <exception>
#include <string>

#include "platform/toolkit/Runtime.h"
#include "platform/toolkit/win32/FormWindow.h"
#include "platform/toolkit/win32/Seams.h"
#include "platform/toolkit/win32/WicDecoder.h"
#include "window/Game.h"

namespace {

void ReportFailure(const std::string& what) {
    std::fprintf(stderr, "tessarin: %s\n", what.c_str());
    std::fflush(stderr);
    toolkit::MsgBox(what, toolkit::vbOKOnly + toolkit::vbCritical, "Tessarin");
}

int RunProgram() {
    try {
        // The window's pictures share WIC's factories rather than each looking them up.
        const toolkit::win32::PictureCodecs codecs;
        Game game;
        toolkit::win32::FormWindow window(game);
        window.ReportFailure = ReportFailure;
        game.Show();
        // Start-up lets pending messages through, and a handler may have failed there, before the loop ran.
        if (window.Failed()) return 1;
        return game.Closed() ? 0 : window.Run();
    } catch (const std::exception& error) {
        ReportFailure(error.what());
        return 1;
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // The manifest asks for per-monitor awareness already; this covers a copy started without it.
    SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    toolkit::win32::InstallSeams();
    const int status = RunProgram();
    if (SUCCEEDED(com)) CoUninitialize();
    return status;
}
