#include "platform/toolkit/Runtime.h"

#include <atomic>
#include <memory>
#include <new>
#include <utility>
#include <vector>

#include "platform/toolkit/Files.h"
#include "platform/toolkit/PictureFile.h"
#include "platform/toolkit/Platform.h"

namespace toolkit {

namespace {

// Files larger than any allowed picture as a bitmap are refused before they are read in.
constexpr std::uintmax_t MaxPictureFileSize = 54 + static_cast<std::uintmax_t>(MaxPicturePixels) * 4;

// Opening a named pipe or a device can wait for ever (for a writer, for the device), so such names are refused
// from their type alone.
std::string NotAFile(files::Kind type) {
    switch (type) {
        case files::Kind::Folder:
            return "not a file (a folder)";
        case files::Kind::Pipe:
            return "not a file (a named pipe)";
        case files::Kind::Device:
            return "not a file (a device)";
        case files::Kind::Socket:
            return "not a file (a socket)";
        default:
            return "not a file";
    }
}

}  // namespace

std::vector<std::uint8_t> ReadPictureFile(const std::string& NativeFileName) {
    const files::Entry entry = files::Look(NativeFileName);
    if (entry.Type != files::Kind::Missing && entry.Type != files::Kind::Regular)
        throw PictureLoadError(NotAFile(entry.Type));
    if (entry.SizeKnown && entry.Size > MaxPictureFileSize) throw PictureLoadError("the file is too large");
    return files::Read(NativeFileName, MaxPictureFileSize);
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
    const files::Entry entry = files::Look(native);
    if (entry.Type == files::Kind::Missing) throw fail("file not found");
    if (entry.Type != files::Kind::Regular) throw fail(NotAFile(entry.Type));
    if (!entry.SizeKnown || entry.Size == 0) throw fail("file is empty");
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
#ifndef _WIN32
    for (char& c : native)
        if (c == '\\') c = '/';
#endif
    return native;
}

std::string Dir(const std::string& PathName) {
    if (PathName.empty()) return "";
    const std::string native = NativePath(PathName);
    if (files::Look(native).Type != files::Kind::Regular) return "";
    const std::string name = files::NameOf(native);
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
