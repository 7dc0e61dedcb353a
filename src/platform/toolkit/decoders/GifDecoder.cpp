// GIF files through giflib's record-by-record interface: the whole-file reader would
// allocate every image a header announces before anything could check its size.
#include <gif_lib.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/toolkit/PictureFile.h"
#include "platform/toolkit/decoders/PictureDecoders.h"

namespace toolkit {

namespace {

struct Source {
    std::span<const std::uint8_t> Data;
    std::size_t At = 0;
};

int Read(GifFileType* gif, GifByteType* into, int wanted) {
    auto& source = *static_cast<Source*>(gif->UserData);
    const std::size_t count = std::min(static_cast<std::size_t>(std::max(wanted, 0)), source.Data.size() - source.At);
    std::memcpy(into, source.Data.data() + source.At, count);
    source.At += count;
    return static_cast<int>(count);
}

struct Closer {
    void operator()(GifFileType* gif) const { DGifCloseFile(gif, nullptr); }
};
using GifFile = std::unique_ptr<GifFileType, Closer>;

[[noreturn]] void Fail(int error) {
    const char* text = GifErrorString(error);
    throw PictureLoadError(std::string("GIF: ") + (text ? text : "unknown error " + std::to_string(error)));
}

void Check(const GifFile& gif, int result) {
    if (result == GIF_ERROR) Fail(gif->Error);
}

// The transparent colour a graphic control extension names, or -1; other extensions are skipped.
int ReadExtension(const GifFile& gif, int transparent) {
    int code = 0;
    GifByteType* block = nullptr;
    Check(gif, DGifGetExtension(gif.get(), &code, &block));
    if (code == GRAPHICS_EXT_FUNC_CODE && block != nullptr && block[0] >= 4)
        transparent = (block[1] & 1) ? block[4] : -1;
    while (block != nullptr) Check(gif, DGifGetExtensionNext(gif.get(), &block));
    return transparent;
}

// Rows in the order an interlaced image stores them: every 8th from 0, every 8th from 4, every 4th from 2, every
// 2nd from 1.
std::vector<int> RowOrder(int height, bool interlaced) {
    std::vector<int> rows;
    rows.reserve(static_cast<std::size_t>(height));
    if (!interlaced) {
        for (int y = 0; y < height; ++y) rows.push_back(y);
        return rows;
    }
    constexpr int Start[] = {0, 4, 2, 1};
    constexpr int Step[] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass)
        for (int y = Start[pass]; y < height; y += Step[pass]) rows.push_back(y);
    return rows;
}

std::array<std::uint32_t, 256> Palette(const ColorMapObject& map, int transparent) {
    std::array<std::uint32_t, 256> palette;
    palette.fill(0xFF000000u);
    for (int i = 0; i < std::min(map.ColorCount, 256); ++i) {
        const GifColorType& c = map.Colors[i];
        palette[static_cast<std::size_t>(i)] =
            0xFF000000u | (std::uint32_t{c.Red} << 16) | (std::uint32_t{c.Green} << 8) | c.Blue;
    }
    if (transparent >= 0) palette[static_cast<std::size_t>(transparent)] = 0;
    return palette;
}

// The image's rows laid on the screen where they fall inside it, clipped to it; colour indices the table lacks
// show black. Reading stops after the last row that lands on the screen.
void ReadImage(const GifFile& gif, int transparent, Picture& screen) {
    const GifImageDesc& image = gif->Image;
    const ColorMapObject* map = image.ColorMap ? image.ColorMap : gif->SColorMap;
    if (map == nullptr) throw PictureLoadError("GIF: the image has no colour table");
    if (image.Width <= 0) return;
    const std::array<std::uint32_t, 256> palette = Palette(*map, transparent);
    const GifFrame frame{image.Top, image.Width, image.Height, image.Interlace};
    if (const std::string cause = OverreachingGif(frame, screen.Width, screen.Height); !cause.empty())
        throw PictureLoadError(cause);
    const std::vector<int> rows = RowOrder(image.Height, image.Interlace);
    const auto count = static_cast<std::size_t>(GifRowsToRead(frame, screen.Height));
    std::vector<GifPixelType> line(static_cast<std::size_t>(image.Width));
    const int left = image.Left, width = std::max(0, std::min(image.Width, screen.Width - left));
    for (std::size_t i = 0; i < count; ++i) {
        Check(gif, DGifGetLine(gif.get(), line.data(), image.Width));
        const int y = image.Top + rows[i];
        if (y >= screen.Height || width == 0) continue;
        std::uint32_t* out = screen.Pixels.data() + static_cast<std::size_t>(y) * screen.Width + left;
        // The transparent colour's entry is 0, as is the screen under it: the first image is written whole.
        for (int x = 0; x < width; ++x) out[x] = palette[line[x]];
    }
}

}  // namespace

StdPicture DecodeGif(std::span<const std::uint8_t> data) {
    Source source{data};
    int error = 0;
    const GifFile gif(DGifOpen(&source, Read, &error));
    if (!gif) Fail(error);
    if (!PictureSizeAllowed(gif->SWidth, gif->SHeight))
        throw PictureLoadError("picture size " + std::to_string(gif->SWidth) + " x " + std::to_string(gif->SHeight) +
                               " is out of range");
    int transparent = -1;
    for (;;) {
        GifRecordType record = UNDEFINED_RECORD_TYPE;
        Check(gif, DGifGetRecordType(gif.get(), &record));
        if (record == EXTENSION_RECORD_TYPE) {
            transparent = ReadExtension(gif, transparent);
        } else if (record == IMAGE_DESC_RECORD_TYPE) {
            Check(gif, DGifGetImageDesc(gif.get()));
            auto picture = std::make_shared<Picture>();
            picture->Width = gif->SWidth;
            picture->Height = gif->SHeight;
            picture->Opaque = transparent < 0;
            picture->Pixels.assign(static_cast<std::size_t>(gif->SWidth) * static_cast<std::size_t>(gif->SHeight),
                                   transparent >= 0 ? 0u : 0xFF000000u);
            ReadImage(gif, transparent, *picture);
            return picture;
        } else {
            throw PictureLoadError("GIF: the file holds no image");
        }
    }
}

}  // namespace toolkit
