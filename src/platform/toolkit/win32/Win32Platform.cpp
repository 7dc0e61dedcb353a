#include "platform/toolkit/win32/Win32Platform.h"

#include <vector>

#include "platform/toolkit/Runtime.h"
#include "platform/toolkit/win32/FormWindow.h"
#include "platform/toolkit/win32/Text.h"
#include "platform/toolkit/win32/WicDecoder.h"
#include "platform/toolkit/win32/WindowsApi.h"

namespace toolkit::win32 {

// Windows reports a box left without a button (Escape, the close box) as IDCANCEL, though no Cancel is offered.
std::int16_t MsgBoxAnswer(int answer, std::int16_t buttons) {
    if (answer == IDCANCEL) return (buttons & 0x7) == vbYesNo ? vbNo : vbOK;
    return static_cast<std::int16_t>(answer);
}

namespace {

// Long paths are not cut short: the buffer grows until the whole name fits.
std::wstring ExecutableFile() {
    std::vector<wchar_t> name(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
        if (length == 0) return {};
        if (length < name.size()) return std::wstring(name.data(), length);
        name.resize(name.size() * 2);
    }
}

std::string ExecutableName() {
    const std::wstring file = ExecutableFile();
    const std::wstring name = file.substr(file.find_last_of(L"\\/") + 1);
    return Utf8(name.substr(0, name.rfind(L'.')));
}

}  // namespace

std::string ExecutableFolder() {
    const std::wstring path = ExecutableFile();
    const std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? "." : Utf8(path.substr(0, slash));
}

Win32Platform::Win32Platform() : folder_(ExecutableFolder()), name_(ExecutableName()) {}

std::int16_t Win32Platform::MsgBox(const std::string& prompt, std::int16_t buttons, const std::string& title) {
    const int answer = MessageBoxW(GetActiveWindow(), Wide(prompt).c_str(), Wide(title).c_str(),
                                   static_cast<UINT>(buttons & 0x77) | MB_SETFOREGROUND);
    return MsgBoxAnswer(answer, buttons);
}

StdPicture Win32Platform::DecodePicture(const EncodedPicture& file) { return win32::DecodePicture(file); }

void Win32Platform::DoEvents() { ProcessPendingMessages(); }

}  // namespace toolkit::win32
