#include "platform/toolkit/DefaultPlatform.h"

#include <filesystem>
#include <stdexcept>

#include "platform/toolkit/Bitmap.h"

namespace toolkit {

namespace fs = std::filesystem;

namespace {

std::string Utf8Of(const fs::path& path) {
    const std::u8string name = path.u8string();
    return std::string(name.begin(), name.end());
}

fs::path Executable() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::path() : exe;
}

}  // namespace

std::int16_t DefaultPlatform::MsgBox(const std::string& prompt, std::int16_t, const std::string&) {
    throw std::logic_error("no platform installed to ask: " + prompt);
}

StdPicture DefaultPlatform::DecodePicture(const EncodedPicture& file) { return LoadBitmapResource(file.Data); }

std::string DefaultPlatform::AppPath() {
    const fs::path exe = Executable();
    if (exe.has_parent_path()) return Utf8Of(exe.parent_path());
    std::error_code ec;
    const fs::path cwd = fs::current_path(ec);
    return ec ? std::string(".") : Utf8Of(cwd);
}

std::string DefaultPlatform::AppEXEName() { return Utf8Of(Executable().stem()); }

}  // namespace toolkit
