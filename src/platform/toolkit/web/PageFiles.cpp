// The toolkit's files in a web page: those the start script fetched beside the page (start.js), which page.js keeps
// as the program's folder. A page cannot look at anything else, so every other name is missing.
#include <emscripten.h>

#include <memory>

#include "platform/toolkit/Files.h"
#include "platform/toolkit/Picture.h"

// clang-format off
EM_JS(double, tessarin_page_file_size, (const char* name), {
    return TessarinPage.fileSize(UTF8ToString(name));
});
EM_JS(void, tessarin_page_read_file, (const char* name, std::uint8_t* into, int count), {
    TessarinPage.readFile(UTF8ToString(name), HEAPU8.subarray(into, into + count));
});
// clang-format on

namespace toolkit::files {

namespace {

constexpr double Missing = -1;
constexpr double Folder = -2;

}  // namespace

Entry Look(const std::string& name) {
    const double size = tessarin_page_file_size(name.c_str());
    if (size == Missing) return {};
    if (size == Folder) return {Kind::Folder};
    return {Kind::Regular, true, static_cast<std::uintmax_t>(size)};
}

std::vector<std::uint8_t> Read(const std::string& name, std::uintmax_t limit) {
    const Entry entry = Look(name);
    if (entry.Type != Kind::Regular) throw PictureLoadError("the file cannot be opened");
    if (entry.Size > limit) throw PictureLoadError("the file is too large");
    // Filled by the page first and then copied in one go: a vector of the size would be cleared a byte at a time.
    const auto size = static_cast<std::size_t>(entry.Size);
    const std::unique_ptr<std::uint8_t[]> read(new std::uint8_t[size]);
    tessarin_page_read_file(name.c_str(), read.get(), static_cast<int>(size));
    return std::vector<std::uint8_t>(read.get(), read.get() + size);
}

std::string NameOf(const std::string& name) { return name.substr(name.find_last_of('/') + 1); }

// The page's files lie beside it; the page names no program file.
std::string ProgramFolder() { return "."; }

std::string ProgramName() { return ""; }

}  // namespace toolkit::files
