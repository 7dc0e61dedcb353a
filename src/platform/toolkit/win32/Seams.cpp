#include "platform/toolkit/win32/Seams.h"

#include <vector>

#include "platform/toolkit/Runtime.h"
#include "platform/toolkit/win32/FormWindow.h"
#include "platform/toolkit/win32/Text.h"
#include "platform/toolkit/win32/WicDecoder.h"
#include "platform/toolkit/win32/WindowsApi.h"

namespace toolkit::win32 {

// Windows reports a box left without a button as IDCANCEL, even where no Cancel button was offered.
std::int16_t MsgBoxAnswer(int Answer, std::int16_t Buttons) {
    const int offered = Buttons & 0x7;
    const bool hasCancel = offered == 1 || offered == 3 || offered == 5;
    if (Answer == IDCANCEL && !hasCancel) return offered == vbYesNo ? vbNo : vbOK;
    return static_cast<std::int16_t>(Answer);
}

std::int16_t ShowMessageBox(const std::string& Prompt, std::int16_t Buttons, const std::string& Title) {
    const int answer = MessageBoxW(GetActiveWindow(), Wide(Prompt).c_str(), Wide(Title).c_str(),
                                   static_cast<UINT>(Buttons & 0x77) | MB_SETFOREGROUND);
    return MsgBoxAnswer(answer, Buttons);
}

// Long paths are not cut short: the buffer grows until the whole name fits.
std::string ExecutableFolder() {
    std::vector<wchar_t> name(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
        if (length == 0) return ".";
        if (length < name.size()) {
            std::wstring path(name.data(), length);
            const std::size_t slash = path.find_last_of(L"\\/");
            return slash == std::wstring::npos ? "." : Utf8(path.substr(0, slash));
        }
        name.resize(name.size() * 2);
    }
}

void InstallSeams() {
    SetMsgBoxHandler(ShowMessageBox);
    SetPictureDecoder(DecodePicture);
    SetDoEventsHandler(ProcessPendingMessages);
    App::Path(ExecutableFolder());
}

}  // namespace toolkit::win32
