#include "platform/toolkit/win32/WicDecoder.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/toolkit/Runtime.h"
#include "platform/toolkit/win32/Win32Platform.h"

namespace {

using toolkit::EncodedPicture;
using toolkit::PictureLoadError;
using toolkit::win32::DecodePicture;

// 2 x 1: red, then the transparent colour.
constexpr std::array<std::uint8_t, 43> TransparentGif{0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0x02, 0x00, 0x01, 0x00, 0xf0,
                                                      0x00, 0x00, 0xff, 0x00, 0x00, 0x00, 0x00, 0x00, 0x21, 0xf9, 0x04,
                                                      0x01, 0x00, 0x00, 0x01, 0x00, 0x2c, 0x00, 0x00, 0x00, 0x00, 0x02,
                                                      0x00, 0x01, 0x00, 0x00, 0x02, 0x02, 0x44, 0x0a, 0x00, 0x3b};

std::string DecodeError(const std::vector<std::uint8_t>& bytes) {
    try {
        DecodePicture(EncodedPicture("picture", bytes));
    } catch (const PictureLoadError& error) {
        return error.what();
    }
    return "";
}

TEST(WicDecoder, KeepsTransparencyInTheAlphaChannel) {
    const toolkit::StdPicture picture = DecodePicture(EncodedPicture("two.gif", TransparentGif));
    ASSERT_EQ(picture->Width, 2);
    ASSERT_EQ(picture->Height, 1);
    EXPECT_EQ(picture->Pixels[0], 0xFFFF0000u);
    EXPECT_EQ(picture->Pixels[1] >> 24, 0u);
    EXPECT_FALSE(picture->Opaque);
}

TEST(WicDecoder, DecodesTheShippedPicturesAtTheirSizes) {
    const std::filesystem::path bilder = TESSARIN_PICTURE_DIR;
    const std::array<std::pair<const char*, int>, 3> files{
        {{"Up.jpg", 385}, {"BarkGold.gif", 240}, {"cross.gif", 128}}};
    for (const auto& [name, width] : files) {
        const toolkit::StdPicture picture = DecodePicture(EncodedPicture((bilder / name).string()));
        EXPECT_EQ(picture->Width, width) << name;
        EXPECT_EQ(picture->Pixels.size(), static_cast<std::size_t>(picture->Width) * picture->Height) << name;
        EXPECT_EQ(picture->Pixels[0] >> 24, 0xFFu) << name;
        EXPECT_TRUE(picture->Opaque) << name;  // none has a transparent pixel
    }
}

// While shared codecs live, GIF and JPEG come out as with fresh ones, more than once each; after them, too.
TEST(WicDecoder, SharedCodecsDecodeAsFreshOnes) {
    const std::filesystem::path bilder = TESSARIN_PICTURE_DIR;
    const auto pixels = [&](const char* name) {
        return DecodePicture(EncodedPicture((bilder / name).string()))->Pixels;
    };
    const auto gif = pixels("cross.gif");
    const auto jpeg = pixels("Up.jpg");
    {
        const toolkit::win32::PictureCodecs codecs;
        for (int round = 0; round < 2; ++round) {
            EXPECT_TRUE(pixels("cross.gif") == gif);
            EXPECT_TRUE(pixels("Up.jpg") == jpeg);
        }
        EXPECT_EQ(DecodePicture(EncodedPicture("two.gif", TransparentGif))->Pixels[1] >> 24, 0u);
    }
    EXPECT_TRUE(pixels("Up.jpg") == jpeg);
}

TEST(WicDecoder, RefusesGarbageAndAbsurdSizesWithAClearCause) {
    EXPECT_NE(DecodeError({'n', 'o', 't', ' ', 'a', ' ', 'p', 'i', 'c', 't', 'u', 'r', 'e'}).find("cannot be decoded"),
              std::string::npos);
    // A GIF or JPEG signature before garbage goes to that format's decoder, which refuses it as clearly.
    EXPECT_NE(DecodeError({'G', 'I', 'F', '8', '9', 'a', 1, 2, 3}).find("cannot be decoded"), std::string::npos);
    EXPECT_NE(DecodeError({0xFF, 0xD8, 0xFF, 0xE0, 0, 0}).find("cannot be decoded"), std::string::npos);
    // A bitmap header announcing 20000 x 20000 pixels: refused before any pixel memory is taken.
    std::vector<std::uint8_t> huge(54, 0);
    const auto put32 = [&huge](std::size_t at, std::uint32_t value) {
        for (int i = 0; i < 4; ++i) huge[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
    };
    huge[0] = 'B';
    huge[1] = 'M';
    put32(2, 54);
    put32(10, 54);
    put32(14, 40);
    put32(18, 20000);
    put32(22, 20000);
    put32(26, 1 | (24 << 16));
    const std::string error = DecodeError(huge);
    EXPECT_NE(error.find("20000 x 20000 is out of range"), std::string::npos) << error;
}

// The loader's own checks come first: a file cut short is named as truncated before WIC sees it.
TEST(WicDecoder, ThroughTheLoaderACutFileIsTruncatedInAFolderOfAnyName) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / std::filesystem::path(u8"tessarin-Spielbrett-äöü-日本");
    std::filesystem::create_directories(folder);
    const auto write = [&](const char* name, std::size_t size) {
        std::ofstream(folder / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(TransparentGif.data()), static_cast<std::streamsize>(size));
        const std::u8string path = (folder / name).u8string();
        return std::string(path.begin(), path.end());
    };
    toolkit::win32::Win32Platform windows;
    const toolkit::Platform::Installation installed(windows);
    EXPECT_EQ(toolkit::LoadPicture(write("whole.gif", TransparentGif.size()))->Width, 2);
    try {
        toolkit::LoadPicture(write("cut.gif", 30));
        ADD_FAILURE() << "a cut file loaded";
    } catch (const PictureLoadError& error) {
        EXPECT_NE(std::string(error.what()).find("truncated"), std::string::npos) << error.what();
    }
    std::filesystem::remove_all(folder);
}

}  // namespace
