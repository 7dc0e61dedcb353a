// The toolkit's GIF and JPEG decoders, on files made by the same libraries' encoders.
#include <gif_lib.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/toolkit/decoders/PictureDecoders.h"
// After <cstdio>: jpeglib.h needs FILE and std::size_t declared.
#include <jpeglib.h>

namespace {

using Bytes = std::vector<std::uint8_t>;
using toolkit::PictureLoadError;

int Append(GifFileType* gif, const GifByteType* data, int size) {
    static_cast<Bytes*>(gif->UserData)->insert(static_cast<Bytes*>(gif->UserData)->end(), data, data + size);
    return size;
}

// One image of `width` × `height` at (left, top) of a 6 × 12 screen, colour index (row % 3) on every row, with
// a table of black, red and green. Interlaced rows are written in the order the format stores them.
Bytes Gif(int left, int top, int width, int height, int transparent, bool interlaced) {
    Bytes out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, Append, &error);
    const GifColorType colours[4] = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
    ColorMapObject* map = GifMakeMapObject(4, colours);
    EGifSetGifVersion(gif, true);
    EGifPutScreenDesc(gif, 6, 12, 8, 0, map);
    if (transparent >= 0) {
        const GifByteType control[4] = {1, 0, 0, static_cast<GifByteType>(transparent)};
        EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, control);
    }
    EGifPutImageDesc(gif, left, top, width, height, interlaced, nullptr);
    std::vector<int> rows;
    for (const auto& [start, step] : interlaced ? std::vector<std::pair<int, int>>{{0, 8}, {4, 8}, {2, 4}, {1, 2}}
                                                : std::vector<std::pair<int, int>>{{0, 1}})
        for (int y = start; y < height; y += step) rows.push_back(y);
    for (const int y : rows) {
        std::vector<GifPixelType> line(static_cast<std::size_t>(width), static_cast<GifPixelType>(y % 3));
        EGifPutLine(gif, line.data(), width);
    }
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);
    return out;
}

// `pixels` in `space` (one byte per channel), at full quality and without chroma subsampling.
Bytes Jpeg(const std::vector<std::uint8_t>& pixels, int width, int height, J_COLOR_SPACE space,
           bool progressive = false) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* data = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &data, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = space == JCS_GRAYSCALE ? 1 : space == JCS_CMYK ? 4 : 3;
    info.in_color_space = space;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 100, TRUE);
    for (int c = 0; c < info.num_components; ++c) info.comp_info[c].h_samp_factor = info.comp_info[c].v_samp_factor = 1;
    if (progressive) jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    const std::size_t stride = static_cast<std::size_t>(width) * static_cast<std::size_t>(info.input_components);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<std::uint8_t*>(pixels.data()) + info.next_scanline * stride;
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    Bytes out(data, data + size);
    std::free(data);
    return out;
}

std::string ErrorOf(const Bytes& file) {
    try {
        toolkit::DecodeStandardPicture(toolkit::EncodedPicture("test", file));
    } catch (const PictureLoadError& e) {
        return e.what();
    }
    return "";
}

TEST(GifDecoderTest, LaysTheImageOnItsScreenWithTransparencyAndInterlacing) {
    for (const bool interlaced : {false, true}) {
        const auto picture = toolkit::DecodeGif(Gif(1, 2, 4, 9, 2, interlaced));
        ASSERT_EQ(picture->Width, 6);
        ASSERT_EQ(picture->Height, 12);
        const std::uint32_t shades[3] = {0xFF000000u, 0xFFFF0000u, 0u};
        for (int y = 0; y < 12; ++y)
            for (int x = 0; x < 6; ++x) {
                const bool inside = x >= 1 && x < 5 && y >= 2 && y < 11;
                EXPECT_EQ(picture->Pixels[y * 6 + x], inside ? shades[(y - 2) % 3] : 0u) << x << ", " << y;
            }
    }
    const auto keyless = toolkit::DecodeGif(Gif(1, 2, 4, 9, -1, false));
    EXPECT_EQ(keyless->Pixels[0], 0xFF000000u);
    EXPECT_TRUE(keyless->Opaque);
    EXPECT_FALSE(toolkit::DecodeGif(Gif(1, 2, 4, 9, 2, false))->Opaque);
}

// The frame's size as the descriptor of a Gif() without transparency declares it, whatever its data holds.
void Declare(Bytes& file, int width, int height) {
    ASSERT_EQ(file.at(25), 0x2C);
    const int fields[] = {width, height};
    for (std::size_t i = 0; i < 2; ++i) {
        file[30 + 2 * i] = static_cast<std::uint8_t>(fields[i] & 0xFF);
        file[31 + 2 * i] = static_cast<std::uint8_t>(fields[i] >> 8);
    }
}

TEST(GifDecoderTest, ReadsOnlyTheRowsItsScreenShowsAndRefusesAFrameFarOutsideIt) {
    // The frame's first four rows fill the screen's last four, and its data ends there: the rest is never read.
    Bytes tall = Gif(0, 8, 6, 4, -1, false);
    Declare(tall, 6, 60000);
    const auto clipped = toolkit::DecodeGif(tall);
    EXPECT_EQ(clipped->Pixels[9 * 6 + 5], 0xFFFF0000u);
    EXPECT_EQ(clipped->Pixels[11 * 6], 0xFF000000u);

    Bytes huge = Gif(0, 0, 6, 12, -1, false);
    Declare(huge, 65535, 65535);
    EXPECT_NE(ErrorOf(huge).find("far outside its logical screen of 6 x 12"), std::string::npos) << ErrorOf(huge);
}

TEST(JpegDecoderTest, DecodesColourGreyAndCmykFiles) {
    std::vector<std::uint8_t> rgb;
    for (int i = 0; i < 16 * 8; ++i) rgb.insert(rgb.end(), {200, 40, 10});
    const auto colour = toolkit::DecodeJpeg(Jpeg(rgb, 16, 8, JCS_RGB));
    ASSERT_EQ(colour->Width, 16);
    ASSERT_EQ(colour->Height, 8);
    EXPECT_TRUE(colour->Opaque);
    const std::uint32_t p = colour->Pixels[8 * 4 + 3];
    EXPECT_EQ(p >> 24, 0xFFu);
    EXPECT_NEAR((p >> 16) & 0xFF, 200, 2);
    EXPECT_NEAR((p >> 8) & 0xFF, 40, 2);
    EXPECT_NEAR(p & 0xFF, 10, 2);

    const auto grey = toolkit::DecodeJpeg(Jpeg(std::vector<std::uint8_t>(64, 90), 8, 8, JCS_GRAYSCALE));
    EXPECT_EQ(grey->Pixels[27], 0xFF5A5A5Au);

    std::vector<std::uint8_t> cmyk;
    for (int i = 0; i < 64; ++i) cmyk.insert(cmyk.end(), {255, 128, 0, 255});
    const std::uint32_t ink = toolkit::DecodeJpeg(Jpeg(cmyk, 8, 8, JCS_CMYK))->Pixels[9];
    EXPECT_NEAR((ink >> 16) & 0xFF, 255, 2);
    EXPECT_NEAR((ink >> 8) & 0xFF, 128, 2);
    EXPECT_NEAR(ink & 0xFF, 0, 2);
}

TEST(PictureDecodersTest, DamagedFilesAndAbsurdSizesFailWithTheirCause) {
    Bytes gif = Gif(0, 0, 6, 12, -1, false);
    EXPECT_EQ(ErrorOf(Bytes(gif.begin(), gif.begin() + 8)).rfind("GIF: ", 0), 0u);
    gif[6] = 0x20, gif[7] = 0x4E;  // a screen 20000 wide
    EXPECT_NE(ErrorOf(gif).find("20000 x 12 is out of range"), std::string::npos);

    Bytes jpeg = Jpeg(std::vector<std::uint8_t>(64, 90), 8, 8, JCS_GRAYSCALE);
    Bytes damaged(jpeg.begin(), jpeg.begin() + 4);
    damaged.resize(40, 0x55);
    EXPECT_EQ(ErrorOf(damaged).rfind("JPEG: ", 0), 0u) << ErrorOf(damaged);
    for (std::size_t at = 2; at + 8 < jpeg.size(); ++at)
        if (jpeg[at] == 0xFF && jpeg[at + 1] == 0xC0) jpeg[at + 5] = jpeg[at + 7] = 0xEA;  // 59912 × 59912
    EXPECT_NE(ErrorOf(jpeg).find("59912 x 59912 is out of range"), std::string::npos) << ErrorOf(jpeg);
}

// A small file that repeats its last scan over and over would keep the decoder busy for as long as it likes.
TEST(JpegDecoderTest, RefusesAProgressiveFileOfEndlessScans) {
    const Bytes file = Jpeg(std::vector<std::uint8_t>(64, 90), 8, 8, JCS_GRAYSCALE, true);
    ASSERT_EQ(toolkit::DecodeJpeg(file)->Pixels[27], 0xFF5A5A5Au);
    std::size_t lastScan = 0;
    for (std::size_t at = 2; at + 1 < file.size(); ++at)
        if (file[at] == 0xFF && file[at + 1] == 0xDA) lastScan = at;
    Bytes endless(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(lastScan));
    for (int i = 0; i < 600; ++i)
        endless.insert(endless.end(), file.begin() + static_cast<std::ptrdiff_t>(lastScan), file.end() - 2);
    endless.insert(endless.end(), {0xFF, 0xD9});
    EXPECT_NE(ErrorOf(endless).find("more than 500 scans"), std::string::npos) << ErrorOf(endless);
}

}  // namespace
