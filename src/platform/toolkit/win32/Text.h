// The program keeps its text in UTF-8; Windows takes it as UTF-16.
#pragma once

#include <string>

namespace toolkit::win32 {

std::wstring Wide(const std::string& utf8);
std::string Utf8(const std::wstring& wide);

}  // namespace toolkit::win32
