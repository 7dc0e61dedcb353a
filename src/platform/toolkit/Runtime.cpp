#include "platform/toolkit/Runtime.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <new>
#include <utility>
#include <vector>

#include "platform/toolkit/PictureFile.h"
#include "platform/toolkit/Platform.h"

namespace toolkit {

namespace fs = std::filesystem;

namespace {

// Files larger than any allowed picture as a bitmap are refused before they are read in.
constexpr std::uintmax_t MaxPictureFileSize = 54 + static_cast<std::uintmax_t>(MaxPicturePixels) * 4;

// Opening a named pipe or a device can wait for ever (for a writer, for the device), so such names are refused
// from their type alone.
std::string NotAFile(fs::file_type type) {
    switch (type) {
        case fs::file_type::directory:
            return "not a file (a folder)";
        case fs::file_type::fifo:
            return "not a file (a named pipe)";
        case fs::file_type::character:
        case fs::file_type::block:
            return "not a file (a device)";
        case fs::file_type::socket:
            return "not a file (a socket)";
        default:
            return "not a file";
    }
}

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

}  // namespace

// Read whole with stdio: the stream library would bring its locale start-up into the program for this alone.
// The size is taken once more while reading, as the file may grow after it was measured.
std::vector<std::uint8_t> ReadPictureFile(const std::string& NativeFileName) {
    const fs::path path = PathOf(NativeFileName);
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (fs::exists(status) && !fs::is_regular_file(status)) throw PictureLoadError(NotAFile(status.type()));
    const std::uintmax_t size = fs::file_size(path, ec);
    if (!ec && size > MaxPictureFileSize) throw PictureLoadError("the file is too large");
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(OpenForReading(path), &std::fclose);
    if (!file) throw PictureLoadError("the file cannot be opened");
    std::vector<std::uint8_t> bytes(ec ? 0 : static_cast<std::size_t>(size) + 1);
    std::size_t filled = 0;
    for (;;) {
        if (filled == bytes.size()) bytes.resize(filled + std::max<std::size_t>(filled, 4096));
        const std::size_t got = std::fread(bytes.data() + filled, 1, bytes.size() - filled, file.get());
        filled += got;
        if (filled > MaxPictureFileSize) throw PictureLoadError("the file is too large");
        if (got == 0) break;
    }
    if (std::ferror(file.get())) throw PictureLoadError("the file cannot be read");
    bytes.resize(filled);
    return bytes;
}

namespace {

// Pixels of the pictures LoadPicture handed out that are still alive.
std::atomic<std::int64_t>& LoadedPixels() {
    static std::atomic<std::int64_t> pixels{0};
    return pixels;
}

// The picture, counted among the loaded ones until its last holder lets it go. The count is taken first, so the
// deleter that runs should the handle fail to be made gives it back.
StdPicture Counted(StdPicture picture) {
    const std::int64_t pixels = std::int64_t{picture->Width} * picture->Height;
    if (LoadedPixels().fetch_add(pixels) + pixels > MaxPicturePixels) {
        LoadedPixels() -= pixels;
        throw PictureLoadError("the pictures loaded would hold more than " + std::to_string(MaxPicturePixels) +
                               " pixels together");
    }
    const Picture* shown = picture.get();
    return StdPicture(shown, [held = std::move(picture), pixels](const Picture*) mutable {
        held.reset();
        LoadedPixels() -= pixels;
    });
}

// The file is read once: the structural check and the decoder both work on these bytes.
StdPicture Decode(const std::string& native) {
    const std::vector<std::uint8_t> bytes = ReadPictureFile(native);
    if (bytes.empty()) throw PictureLoadError("file is empty");
    if (const std::string cause = IncompletePicture(bytes); !cause.empty()) throw PictureLoadError(cause);
    if (const std::string cause = OverreachingGif(bytes); !cause.empty()) throw PictureLoadError(cause);
    StdPicture picture = Platform::Installed().DecodePicture(EncodedPicture(native, bytes));
    if (!picture || !PictureSizeAllowed(picture->Width, picture->Height) ||
        picture->Pixels.size() != static_cast<std::size_t>(picture->Width) * static_cast<std::size_t>(picture->Height))
        throw PictureLoadError("the decoder returned no usable picture");
    return Counted(std::move(picture));
}

}  // namespace

std::int16_t MsgBox(const std::string& Prompt, std::int16_t Buttons, const std::string& Title) {
    return Platform::Installed().MsgBox(Prompt, Buttons, Title);
}

StdPicture LoadPicture(const std::string& FileName) {
    const std::string native = NativePath(FileName);
    const auto fail = [&](const std::string& cause) -> PictureLoadError {
        return PictureLoadError("cannot load picture '" + native + "': " + cause);
    };
    std::error_code ec;
    const fs::file_status status = fs::status(PathOf(native), ec);
    if (!fs::exists(status)) throw fail("file not found");
    if (!fs::is_regular_file(status)) throw fail(NotAFile(status.type()));
    if (fs::file_size(PathOf(native), ec) == 0 || ec) throw fail("file is empty");
    try {
        return Decode(native);
    } catch (const std::bad_alloc&) {
        throw fail("not enough memory");
    } catch (const std::exception& e) {
        throw fail(e.what());
    }
}

std::string NativePath(const std::string& PathName) {
    std::string native = PathName;
    if constexpr (fs::path::preferred_separator != '\\') {
        for (char& c : native)
            if (c == '\\') c = static_cast<char>(fs::path::preferred_separator);
    }
    return native;
}

std::string Dir(const std::string& PathName) {
    if (PathName.empty()) return "";
    const fs::path path = PathOf(NativePath(PathName));
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) return "";
    const std::string name = Utf8Of(path.filename());
    if (name.empty() || name.front() == '.') return "";  // hidden by convention
    return name;
}

namespace App {

// The game appends "\Bilder\..." to the folder, so a platform's trailing separator must not double.
std::string Path() {
    std::string path = Platform::Installed().AppPath();
    while (path.size() > 1 && (path.back() == '/' || path.back() == '\\')) path.pop_back();
    return path;
}

std::string EXEName() { return Platform::Installed().AppEXEName(); }

}  // namespace App

void DoEvents() { Platform::Installed().DoEvents(); }

}  // namespace toolkit
