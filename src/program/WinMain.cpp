// Starts the program on Windows: DPI awareness, COM for the imaging component, the
// toolkit's platform on Windows, then the program's only window.
#include "Program.h"
#include "platform/toolkit/win32/WicDecoder.h"
#include "platform/toolkit/win32/Win32Platform.h"
#include "platform/toolkit/win32/WindowsApi.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // The manifest asks for per-monitor awareness already; this covers a copy started without it.
    SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    toolkit::win32::Win32Platform platform;
    const toolkit::Platform::Installation installed(platform);
    int status = 0;
    {
        // The window's pictures share WIC's factories rather than each looking them up.
        const toolkit::win32::PictureCodecs codecs;
        status = RunProgram();
    }
    if (SUCCEEDED(com)) CoUninitialize();
    return status;
}
