// Feeds any bytes to the loader's structural checks and the toolkit's GIF and JPEG decoders (by the first byte's
// lowest bit). A decoder must return a picture of an allowed size whose pixels fill it, or throw PictureLoadError;
// a crash, a sanitizer report or any other exception is a finding.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <span>

#include "platform/toolkit/PictureFile.h"
#include "platform/toolkit/decoders/PictureDecoders.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::span<const std::uint8_t> file(data + 1, size - 1);
    // The loader's walks over a file's blocks run on whatever a file holds, before any decoder.
    (void)toolkit::IncompletePicture(file);
    (void)toolkit::OverreachingGif(file);
    try {
        const toolkit::StdPicture picture = (data[0] & 1) ? toolkit::DecodeJpeg(file) : toolkit::DecodeGif(file);
        if (!toolkit::PictureSizeAllowed(picture->Width, picture->Height) ||
            picture->Pixels.size() != static_cast<std::size_t>(picture->Width) * picture->Height) {
            std::fprintf(stderr, "picture_fuzz: a picture of %d x %d with %zu pixels\n", picture->Width,
                         picture->Height, picture->Pixels.size());
            std::abort();
        }
    } catch (const toolkit::PictureLoadError&) {
    } catch (const std::exception& error) {
        std::fprintf(stderr, "picture_fuzz: %s\n", error.what());
        std::abort();
    }
    return 0;
}
