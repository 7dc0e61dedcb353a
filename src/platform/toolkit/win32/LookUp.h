// Windows' functions looked up at run time: their DLL loads when a feature first needs it rather than with the
// program, and a function the system lacks reads as null.
#pragma once

#include "platform/toolkit/win32/WindowsApi.h"

namespace toolkit::win32 {

template <typename Function>
Function LookUp(const wchar_t* library, const char* name) {
    const HMODULE module = LoadLibraryW(library);
    if (module == nullptr) return nullptr;
    // Through the generic function type, which converts to any other without a warning.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

}  // namespace toolkit::win32
