// The yardstick for the Windows program's start-up: the least a Win32 program needs to show a window like the
// game's, a fixed-size window with the game's menu bar (and its Ctrl+N shortcut) above a 454 x 486 client area,
// aware of each monitor's DPI, with the same manifest and icon. It imports only user32, kernel32 and the C runtime.
//
//   bare_window_win32.exe [--com | --wic | --decode PICTURE...]
//
// The options add, before the window is made, one use of a system component the game makes at start, so that its
// own cost can be told from the game's: --com sets up COM for the thread as the game does, --wic also creates the
// imaging component's factory, --decode also decodes each picture file named through it to 32-bit pixels, in turn,
// with the calls the game makes (all of the game's pictures: the system's whole share of its start). COM is loaded
// by name when asked for, so that the bare window alone does not load it.
#ifndef UNICODE
#define UNICODE
#endif
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>
#include <objbase.h>
#include <wincodec.h>

#include <cstring>
#include <cwchar>
#include <vector>

namespace {

constexpr int ClientWidth = 454;
constexpr int ClientHeight = 486;
constexpr int ProgramIcon = 1;
constexpr DWORD Style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN | WS_MINIMIZEBOX;
constexpr WORD NewGame = 100;
constexpr WORD Exit = 106;

using CoInitializeExFn = HRESULT(WINAPI*)(void*, DWORD);
using CoCreateInstanceFn = HRESULT(WINAPI*)(REFCLSID, IUnknown*, DWORD, REFIID, void**);
using CoGetClassObjectFn = HRESULT(WINAPI*)(REFCLSID, DWORD, COSERVERINFO*, REFIID, void**);

// GetProcAddress's result as the function it is, through the cast the compiler accepts for any function.
template <typename Function>
Function Export(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

// Releases a COM interface when it goes out of scope.
template <typename Interface>
struct Held {
    Interface* p = nullptr;
    ~Held() {
        if (p != nullptr) p->Release();
    }
};

std::vector<BYTE> ReadFile(const wchar_t* name) {
    std::vector<BYTE> bytes;
    const HANDLE file = CreateFileW(name, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return bytes;
    LARGE_INTEGER size{};
    DWORD read = 0;
    if (GetFileSizeEx(file, &size) && size.QuadPart < (1 << 26)) {
        bytes.resize(static_cast<std::size_t>(size.QuadPart));
        if (!::ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) read = 0;
    }
    CloseHandle(file);
    bytes.resize(read);
    return bytes;
}

// The imaging factory and GIF's and JPEG's decoders' class factories, each found once, as the game keeps them.
struct Codecs {
    CoGetClassObjectFn findClass = nullptr;
    IWICImagingFactory* factory = nullptr;
    Held<IClassFactory> decoders[2];
};

// GIF's and JPEG's decoders by class, as the game makes them; other formats through the factory's search.
bool MakeDecoder(Codecs& codecs, const std::vector<BYTE>& bytes, IWICStream* stream, IWICBitmapDecoder** decoder) {
    const bool gif = bytes.size() >= 6 &&
                     (std::memcmp(bytes.data(), "GIF87a", 6) == 0 || std::memcmp(bytes.data(), "GIF89a", 6) == 0);
    const bool jpeg = bytes.size() >= 3 && std::memcmp(bytes.data(), "\xFF\xD8\xFF", 3) == 0;
    if (!gif && !jpeg)
        return SUCCEEDED(
            codecs.factory->CreateDecoderFromStream(stream, nullptr, WICDecodeMetadataCacheOnDemand, decoder));
    Held<IClassFactory>& made = codecs.decoders[gif ? 0 : 1];
    if (made.p == nullptr &&
        FAILED(codecs.findClass(gif ? CLSID_WICGifDecoder : CLSID_WICJpegDecoder, CLSCTX_INPROC_SERVER, nullptr,
                                IID_IClassFactory, reinterpret_cast<void**>(&made.p))))
        return false;
    return SUCCEEDED(made.p->CreateInstance(nullptr, IID_IWICBitmapDecoder, reinterpret_cast<void**>(decoder))) &&
           SUCCEEDED((*decoder)->Initialize(stream, WICDecodeMetadataCacheOnDemand));
}

// From memory, as the game reads its pictures; false when any step fails.
bool DecodeWithWic(Codecs& codecs, const wchar_t* name) {
    IWICImagingFactory* factory = codecs.factory;
    std::vector<BYTE> bytes = ReadFile(name);
    Held<IWICStream> stream;
    Held<IWICBitmapDecoder> decoder;
    Held<IWICBitmapFrameDecode> frame;
    Held<IWICFormatConverter> converter;
    UINT width = 0;
    UINT height = 0;
    if (bytes.empty() || FAILED(factory->CreateStream(&stream.p)) ||
        FAILED(stream.p->InitializeFromMemory(bytes.data(), static_cast<DWORD>(bytes.size()))) ||
        !MakeDecoder(codecs, bytes, stream.p, &decoder.p) || FAILED(decoder.p->GetFrame(0, &frame.p)) ||
        FAILED(frame.p->GetSize(&width, &height)) || FAILED(factory->CreateFormatConverter(&converter.p)) ||
        FAILED(converter.p->Initialize(frame.p, GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone, nullptr, 0,
                                       WICBitmapPaletteTypeCustom)))
        return false;
    std::vector<BYTE> pixels(static_cast<std::size_t>(width) * height * 4);
    return SUCCEEDED(converter.p->CopyPixels(nullptr, width * 4, static_cast<UINT>(pixels.size()), pixels.data()));
}

// What the options ask for, in the order the game does it; false when a step fails.
bool UseComponents(int argc, wchar_t** argv) {
    if (argc < 2) return true;
    const bool wic = std::wcscmp(argv[1], L"--wic") == 0;
    const bool decode = std::wcscmp(argv[1], L"--decode") == 0 && argc >= 3;
    if (!wic && !decode && std::wcscmp(argv[1], L"--com") != 0) return false;
    const HMODULE ole = LoadLibraryW(L"ole32.dll");
    if (ole == nullptr) return false;
    const auto initialize = Export<CoInitializeExFn>(ole, "CoInitializeEx");
    const auto create = Export<CoCreateInstanceFn>(ole, "CoCreateInstance");
    Codecs codecs;
    codecs.findClass = Export<CoGetClassObjectFn>(ole, "CoGetClassObject");
    if (initialize == nullptr || create == nullptr || codecs.findClass == nullptr ||
        FAILED(initialize(nullptr, COINIT_APARTMENTTHREADED)))
        return false;
    if (!wic && !decode) return true;
    Held<IWICImagingFactory> factory;
    if (FAILED(create(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                      reinterpret_cast<void**>(&factory.p))))
        return false;
    codecs.factory = factory.p;
    for (int i = 2; decode && i < argc; ++i)
        if (!DecodeWithWic(codecs, argv[i])) return false;
    return true;
}

// The game's menu bar: File with New game (Ctrl+N), Who begin and Player 2 with two choices each, and Exit.
HMENU GameMenu() {
    const HMENU begin = CreatePopupMenu();
    AppendMenuW(begin, MF_STRING | MF_CHECKED, 101, L"Player1");
    AppendMenuW(begin, MF_STRING, 102, L"Player2");
    const HMENU player2 = CreatePopupMenu();
    AppendMenuW(player2, MF_STRING, 103, L"Computer");
    AppendMenuW(player2, MF_STRING | MF_CHECKED, 104, L"Human");
    const HMENU file = CreatePopupMenu();
    AppendMenuW(file, MF_STRING, NewGame, L"New game\tCtrl+N");
    AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(file, MF_POPUP, reinterpret_cast<UINT_PTR>(begin), L"Who begin");
    AppendMenuW(file, MF_POPUP, reinterpret_cast<UINT_PTR>(player2), L"Player 2");
    AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(file, MF_STRING, Exit, L"Exit");
    const HMENU bar = CreateMenu();
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&File");
    return bar;
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (LOWORD(wParam) == Exit) DestroyWindow(hwnd);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

HWND CreateBareWindow(HINSTANCE instance) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(ProgramIcon));
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = L"BareWindow";
    if (RegisterClassExW(&windowClass) == 0) return nullptr;
    const HWND hwnd = CreateWindowExW(0, windowClass.lpszClassName, L"Bare window", Style, CW_USEDEFAULT, CW_USEDEFAULT,
                                      CW_USEDEFAULT, CW_USEDEFAULT, nullptr, GameMenu(), instance, nullptr);
    if (hwnd == nullptr) return nullptr;
    const int dpi = static_cast<int>(GetDpiForWindow(hwnd));
    RECT frame{0, 0, MulDiv(ClientWidth, dpi, 96), MulDiv(ClientHeight, dpi, 96)};
    AdjustWindowRectExForDpi(&frame, Style, TRUE, 0, static_cast<UINT>(dpi));
    SetWindowPos(hwnd, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
    return hwnd;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    if (!UseComponents(__argc, __wargv)) return 2;
    const HWND hwnd = CreateBareWindow(instance);
    if (hwnd == nullptr) return 1;
    ACCEL shortcut{FVIRTKEY | FCONTROL, 'N', NewGame};
    const HACCEL accelerators = CreateAcceleratorTableW(&shortcut, 1);
    ShowWindow(hwnd, SW_SHOW);
    UpdateWindow(hwnd);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (TranslateAcceleratorW(hwnd, accelerators, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    DestroyAcceleratorTable(accelerators);
    return static_cast<int>(message.wParam);
}
