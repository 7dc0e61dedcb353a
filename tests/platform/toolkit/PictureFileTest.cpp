#include <gtest/gtest.h>

#include <vector>

#include "BitmapFiles.h"
#include "platform/toolkit/PictureFile.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using toolkit::IncompletePicture;

// A 1 × 1 GIF with a global colour table, a graphic control extension and one image.
const Bytes Gif{'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x80, 0, 0, 0, 0, 0, 255, 255, 255,
                0x21, 0xF9, 4, 1, 0, 0, 1, 0,
                0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0,
                2, 2, 0x4C, 0x01, 0,
                0x3B};

// The segment structure of a JPEG file: SOI, APP0, SOS with stuffed and restart bytes, EOI.
const Bytes Jpeg{0xFF, 0xD8, 0xFF, 0xE0, 0, 4, 'J', 'F', 0xFF, 0xDA, 0, 3, 1,
                 0x12, 0xFF, 0x00, 0x34, 0xFF, 0xD0, 0x56, 0xFF, 0xD9};

const Bytes Png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n',
                0, 0, 0, 2, 'I', 'H', 'D', 'R', 7, 7, 1, 2, 3, 4,
                0, 0, 0, 0, 'I', 'E', 'N', 'D', 0xAE, 0x42, 0x60, 0x82};

Bytes Cut(const Bytes& bytes, std::size_t keep) { return Bytes(bytes.begin(), bytes.begin() + keep); }

TEST(PictureFileTest, CompleteFilesPass) {
    EXPECT_EQ(IncompletePicture(Gif), "");
    EXPECT_EQ(IncompletePicture(Jpeg), "");
    EXPECT_EQ(IncompletePicture(Png), "");
    EXPECT_EQ(IncompletePicture(testing_files::Bitmap24(5, 3)), "");
    EXPECT_EQ(IncompletePicture(Bytes{'P', '6', ' ', '1'}), "") << "other kinds are left to the decoder";
}

TEST(PictureFileTest, EveryCutOfAFileIsFound) {
    for (const Bytes* file : {&Gif, &Jpeg, &Png}) {
        for (std::size_t keep = 8; keep < file->size(); ++keep)
            EXPECT_EQ(IncompletePicture(Cut(*file, keep)), "the file is truncated") << "cut after " << keep;
    }
    const Bytes bitmap = testing_files::Bitmap24(5, 3);
    EXPECT_EQ(IncompletePicture(Cut(bitmap, bitmap.size() - 1)), "the file is truncated");
}

TEST(PictureFileTest, MarkerBytesInsideTheScanDoNotEndIt) {
    // An end marker hidden behind a stuffed byte is data, not the end of the file.
    Bytes jpeg = Cut(Jpeg, Jpeg.size() - 2);
    jpeg.insert(jpeg.begin() + 14, {0x00, 0xD9});
    EXPECT_EQ(IncompletePicture(jpeg), "the file is truncated");
}

}  // namespace
