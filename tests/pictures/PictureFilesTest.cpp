// The pictures the game ships with: present, of the sizes the window's layout needs, and drawable the way the board
// draws them (pieces over a board tile with pure white left out, corners mirrored into one frame).

#include "ImageFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <ostream>
#include <string>

namespace {

using pictures::Raster;
using pictures::Rgb;
using pictures::Size;

const std::filesystem::path sourceDir{TESSARIN_SOURCE_DIR};

std::vector<std::uint8_t> picture(const std::string& name) { return pictures::readBytes(sourceDir / "Bilder" / name); }

std::vector<std::uint8_t> corner(int number) {
    return pictures::readBytes(sourceDir / "src" / "window" / "resources" /
                               ("Image" + std::to_string(number) + ".bmp"));
}

int brightness(const Rgb& p) { return (p.r + p.g + p.b) / 3; }

double meanBrightness(const Raster& r, int x0, int y0, int w, int h) {
    double sum = 0;
    for (int y = y0; y < y0 + h; ++y) {
        for (int x = x0; x < x0 + w; ++x) {
            sum += brightness(r.at(x, y));
        }
    }
    return sum / (w * h);
}

bool isPureWhite(const Rgb& p) { return p == Rgb{255, 255, 255}; }

Raster mirrored(const Raster& r, bool leftRight, bool topBottom) {
    Raster out = r;
    for (int y = 0; y < r.size.height; ++y) {
        for (int x = 0; x < r.size.width; ++x) {
            const int sx = leftRight ? r.size.width - 1 - x : x;
            const int sy = topBottom ? r.size.height - 1 - y : y;
            out.pixels[static_cast<std::size_t>(y * r.size.width + x)] = r.at(sx, sy);
        }
    }
    return out;
}

Raster transposed(const Raster& r) {
    Raster out{{r.size.height, r.size.width}, {}};
    for (int x = 0; x < r.size.width; ++x) {
        for (int y = 0; y < r.size.height; ++y) {
            out.pixels.push_back(r.at(x, y));
        }
    }
    return out;
}

// Mean brightness step between neighbouring columns (or rows) inside the tile, and across the wrap from its last
// column (row) back to its first: a tile that repeats without a seam has the two about equal.
struct Steps {
    double inside = 0;
    double acrossWrap = 0;
};

Steps columnSteps(const Raster& r) {
    Steps s;
    const int w = r.size.width;
    for (int y = 0; y < r.size.height; ++y) {
        for (int x = 0; x + 1 < w; ++x) {
            s.inside += std::abs(brightness(r.at(x + 1, y)) - brightness(r.at(x, y)));
        }
        s.acrossWrap += std::abs(brightness(r.at(0, y)) - brightness(r.at(w - 1, y)));
    }
    s.inside /= static_cast<double>(r.size.height) * (w - 1);
    s.acrossWrap /= r.size.height;
    return s;
}

TEST(WindowTile, CoversAWholeBackgroundBlockAndRepeatsWithoutASeam) {
    const auto bytes = picture("BarkGold.gif");
    const auto screen = pictures::gifScreenSize(bytes);
    ASSERT_TRUE(screen.has_value()) << "Bilder/BarkGold.gif is missing or not a GIF";
    EXPECT_GE(screen->width, 240);
    EXPECT_GE(screen->height, 154);

    const auto tile = pictures::decodeGif(bytes);
    ASSERT_TRUE(tile.has_value());
    ASSERT_EQ(tile->size, (Size{240, 154}))
        << "only the top-left 240 x 154 is used, so the tile must repeat at that size";
    const Steps sideways = columnSteps(*tile);
    EXPECT_LT(sideways.acrossWrap, 1.3 * sideways.inside) << "a seam shows where tiles meet side by side";
    const Steps vertical = columnSteps(transposed(*tile));
    EXPECT_LT(vertical.acrossWrap, 1.3 * vertical.inside) << "a seam shows where tiles meet one above the other";

    // The status line is white text straight on this tile.
    EXPECT_LT(meanBrightness(*tile, 0, 0, 240, 154), 140.0) << "too pale for white text";
}

TEST(FrameStrips, AreJpegsThirteenPixelsThickAlongTheWholeBoard) {
    const std::array<std::pair<const char*, Size>, 4> strips{{
        {"Up.jpg", {385, 13}},
        {"Down.jpg", {385, 13}},
        {"Right.jpg", {13, 385}},  // drawn along the left edge
        {"Left.jpg", {13, 385}},   // drawn along the right edge
    }};
    for (const auto& [name, size] : strips) {
        const auto frame = pictures::jpegFrameSize(picture(name));
        ASSERT_TRUE(frame.has_value()) << name << " is missing or not a JPEG";
        EXPECT_EQ(*frame, size) << name;
    }
}

TEST(BoardTile, IsAJpegNoLargerThanTheBoard) {
    const auto frame = pictures::jpegFrameSize(picture("Background.jpg"));
    ASSERT_TRUE(frame.has_value()) << "Bilder/Background.jpg is missing or not a JPEG";
    EXPECT_GT(frame->width, 0);
    EXPECT_GT(frame->height, 0);
    EXPECT_LE(frame->width, 385);
    EXPECT_LE(frame->height, 385);
}

struct PieceCase {
    const char* file;
    bool blue;
    friend void PrintTo(const PieceCase& c, std::ostream* os) { *os << c.file; }
};

class PiecePicture : public ::testing::TestWithParam<PieceCase> {};

TEST_P(PiecePicture, FitsACellOnAPureWhiteGround) {
    const auto bytes = picture(GetParam().file);
    const auto screen = pictures::gifScreenSize(bytes);
    ASSERT_TRUE(screen.has_value()) << GetParam().file << " is missing or not a GIF";
    EXPECT_LE(screen->width, 128);
    EXPECT_LE(screen->height, 128);

    const auto piece = pictures::decodeGif(bytes);
    ASSERT_TRUE(piece.has_value());
    EXPECT_TRUE(isPureWhite(piece->at(0, 0)));
    // The piece is drawn from the cell's corner, where the grid line runs: its first row and column must let it show.
    for (int i = 0; i < piece->size.width; ++i) {
        EXPECT_TRUE(isPureWhite(piece->at(i, 0))) << "top row, x " << i;
    }
    for (int i = 0; i < piece->size.height; ++i) {
        EXPECT_TRUE(isPureWhite(piece->at(0, i))) << "left column, y " << i;
    }
}

TEST_P(PiecePicture, HasNoPaleFringeWhereWhiteIsLeftOut) {
    const auto piece = pictures::decodeGif(picture(GetParam().file));
    ASSERT_TRUE(piece.has_value());
    const auto [w, h] = piece->size;
    int fringe = 0;
    for (int y = 1; y + 1 < h; ++y) {
        for (int x = 1; x + 1 < w; ++x) {
            const Rgb& p = piece->at(x, y);
            const bool edge = isPureWhite(piece->at(x - 1, y)) || isPureWhite(piece->at(x + 1, y)) ||
                              isPureWhite(piece->at(x, y - 1)) || isPureWhite(piece->at(x, y + 1));
            if (!isPureWhite(p) && edge && std::min({p.r, p.g, p.b}) >= 240) {
                ++fringe;
            }
        }
    }
    EXPECT_EQ(fringe, 0) << "near-white edge pixels are drawn and show as a halo on the board";
}

TEST_P(PiecePicture, ShowsItsSidesColour) {
    const auto piece = pictures::decodeGif(picture(GetParam().file));
    ASSERT_TRUE(piece.has_value());
    double red = 0;
    double blue = 0;
    int drawn = 0;
    for (const Rgb& p : piece->pixels) {
        if (!isPureWhite(p)) {
            red += p.r;
            blue += p.b;
            ++drawn;
        }
    }
    ASSERT_GT(drawn, static_cast<int>(piece->pixels.size()) / 5) << "hardly anything of the piece is drawn";
    red /= drawn;
    blue /= drawn;
    if (GetParam().blue) {
        EXPECT_GT(blue, red + 40);
    } else {
        EXPECT_GT(red, blue + 40);
    }
}

INSTANTIATE_TEST_SUITE_P(BothSides, PiecePicture,
                         ::testing::Values(PieceCase{"cross.gif", true}, PieceCase{"Bullet.gif", false}),
                         [](const auto& info) { return std::string(info.param.blue ? "Blue" : "Red"); });

Raster loadCorner(int number) {
    const auto bytes = corner(number);
    EXPECT_EQ(bytes.size(), 574u) << "Image" << number;
    const auto bmp = pictures::decodeBmp24(bytes);
    if (!bmp) {
        ADD_FAILURE() << "Image" << number << " is not an uncompressed 24-bit bitmap";
        return {};
    }
    EXPECT_EQ(bmp->fileSize, 574u);
    EXPECT_EQ(bmp->pixelOffset, 54u);
    EXPECT_EQ(bmp->infoSize, 40u);
    EXPECT_EQ(bmp->raster.size, (Size{13, 13}));
    return bmp->raster;
}

TEST(FrameCorners, AreThirteenPixelSquareUncompressedBitmaps) {
    for (int number = 5; number <= 8; ++number) {
        loadCorner(number);
    }
}

TEST(FrameCorners, LowerCornersMirrorTheUpperLeftOne) {
    const Raster image5 = loadCorner(5);
    const Raster image6 = loadCorner(6);
    const Raster image7 = loadCorner(7);
    const Raster image8 = loadCorner(8);
    ASSERT_EQ(image5.size, (Size{13, 13}));
    EXPECT_EQ(image8.pixels, mirrored(image5, false, true).pixels) << "bottom-left is top-left mirrored top to bottom";
    EXPECT_EQ(image7.pixels, mirrored(image8, true, false).pixels) << "bottom-right is bottom-left mirrored sideways";
    for (const bool lr : {false, true}) {
        for (const bool tb : {false, true}) {
            EXPECT_NE(image6.pixels, mirrored(image5, lr, tb).pixels) << "top-right has a texture of its own";
        }
    }
}

TEST(FrameCorners, BrightenTowardsTheBoard) {
    // Corner number, then which of its corners touches the board (as x, y of a 4 x 4 block).
    const std::array<std::array<int, 3>, 4> cases{{{5, 9, 9}, {6, 0, 9}, {7, 0, 0}, {8, 9, 0}}};
    for (const auto& [number, bx, by] : cases) {
        const Raster r = loadCorner(number);
        ASSERT_EQ(r.size, (Size{13, 13}));
        const double towardsBoard = meanBrightness(r, bx, by, 4, 4);
        const double outer = meanBrightness(r, 9 - bx, 9 - by, 4, 4);
        EXPECT_GT(towardsBoard, outer + 60) << "Image" << number;
    }
}

TEST(FrameCorners, AreMottledNeutralGrey) {
    for (int number = 5; number <= 8; ++number) {
        const Raster r = loadCorner(number);
        ASSERT_FALSE(r.pixels.empty());
        int darkest = 255;
        int brightest = 0;
        for (const Rgb& p : r.pixels) {
            EXPECT_LE(std::abs(p.r - p.g), 15) << "Image" << number;
            EXPECT_LE(std::abs(p.g - p.b), 15) << "Image" << number;
            darkest = std::min(darkest, brightness(p));
            brightest = std::max(brightest, brightness(p));
        }
        EXPECT_LT(darkest, 60) << "Image" << number;
        EXPECT_GT(brightest, 170) << "Image" << number;
        const double mean = meanBrightness(r, 0, 0, 13, 13);
        EXPECT_GT(mean, 85) << "Image" << number;
        EXPECT_LT(mean, 135) << "Image" << number;
    }
}

}  // namespace
