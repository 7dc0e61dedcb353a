#include "platform/toolkit/Files.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "platform/toolkit/Picture.h"

namespace toolkit::files {

namespace fs = std::filesystem;

namespace {

// Names are UTF-8 everywhere in the program. Windows' narrow file functions would read them in the system's code
// page instead, so paths are built from UTF-8 explicitly and files opened by their wide names there.
fs::path PathOf(const std::string& utf8) { return fs::path(std::u8string(utf8.begin(), utf8.end())); }

std::string Utf8Of(const fs::path& path) {
    const std::u8string name = path.u8string();
    return std::string(name.begin(), name.end());
}

std::FILE* OpenForReading(const fs::path& path) {
#ifdef _WIN32
    return _wfopen(path.c_str(), L"rb");
#else
    return std::fopen(path.c_str(), "rb");
#endif
}

Kind KindOf(fs::file_type type) {
    switch (type) {
        case fs::file_type::not_found:
        case fs::file_type::none:
            return Kind::Missing;
        case fs::file_type::regular:
            return Kind::Regular;
        case fs::file_type::directory:
            return Kind::Folder;
        case fs::file_type::fifo:
            return Kind::Pipe;
        case fs::file_type::character:
        case fs::file_type::block:
            return Kind::Device;
        case fs::file_type::socket:
            return Kind::Socket;
        default:
            return Kind::Other;
    }
}

fs::path Executable() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::path() : exe;
}

}  // namespace

Entry Look(const std::string& name) {
    const fs::path path = PathOf(name);
    std::error_code ec;
    Entry entry;
    entry.Type = KindOf(fs::status(path, ec).type());
    if (entry.Type != Kind::Regular) return entry;
    entry.Size = fs::file_size(path, ec);
    entry.SizeKnown = !ec;
    return entry;
}

// Read whole with stdio: the stream library would bring its locale start-up into the program for this alone.
std::vector<std::uint8_t> Read(const std::string& name, std::uintmax_t limit) {
    const Entry entry = Look(name);
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(OpenForReading(PathOf(name)), &std::fclose);
    if (!file) throw PictureLoadError("the file cannot be opened");
    std::vector<std::uint8_t> bytes(entry.SizeKnown ? static_cast<std::size_t>(std::min(entry.Size, limit)) + 1 : 0);
    std::size_t filled = 0;
    for (;;) {
        if (filled == bytes.size()) bytes.resize(filled + std::max<std::size_t>(filled, 4096));
        const std::size_t got = std::fread(bytes.data() + filled, 1, bytes.size() - filled, file.get());
        filled += got;
        if (filled > limit) throw PictureLoadError("the file is too large");
        if (got == 0) break;
    }
    if (std::ferror(file.get())) throw PictureLoadError("the file cannot be read");
    bytes.resize(filled);
    return bytes;
}

std::string NameOf(const std::string& name) { return Utf8Of(PathOf(name).filename()); }

std::string ProgramFolder() {
    const fs::path exe = Executable();
    if (exe.has_parent_path()) return Utf8Of(exe.parent_path());
    std::error_code ec;
    const fs::path cwd = fs::current_path(ec);
    return ec ? std::string(".") : Utf8Of(cwd);
}

std::string ProgramName() { return Utf8Of(Executable().stem()); }

}  // namespace toolkit::files
