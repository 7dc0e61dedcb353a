#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <vector>

#include "BitmapFiles.h"
#include "support/ScratchFolder.h"
#include "support/TestPlatform.h"
#include "platform/toolkit/Bitmap.h"
#include "platform/toolkit/DefaultPlatform.h"
#include "platform/toolkit/Runtime.h"

namespace {

using testing_files::Bitmap24;
using testing_files::LoadError;
using testsupport::ScratchFolder;
using testsupport::TestPlatform;
using toolkit::LoadPicture;
using toolkit::PictureLoadError;

TEST(BitmapTest, ReadsA24BitBitmapTopRowFirst) {
    const auto bytes = Bitmap24(13, 13);
    ASSERT_EQ(bytes.size(), 574u) << "the size of a corner picture file";
    const toolkit::StdPicture picture = toolkit::LoadBitmapResource(bytes);
    ASSERT_EQ(picture->Width, 13);
    ASSERT_EQ(picture->Height, 13);
    EXPECT_EQ(picture->Pixels[0], 0xFF000063u);
    EXPECT_EQ(picture->Pixels[12 * 13 + 5], 0xFF327863u) << "pixel (5, 12)";
}

TEST(BitmapTest, ReadsTopDownBitmaps) {
    auto bytes = Bitmap24(2, 2);
    testing_files::Put32(bytes, 22, static_cast<std::uint32_t>(-2));
    const toolkit::StdPicture picture = toolkit::LoadBitmapResource(bytes);
    EXPECT_EQ(picture->Height, 2);
    EXPECT_EQ(picture->Pixels[0], 0xFF000A63u) << "the first stored row is now the top one";
}

TEST(BitmapTest, RefusesMalformedData) {
    const auto good = Bitmap24(4, 4);
    auto truncated = good;
    truncated.resize(good.size() - 1);
    auto signature = good;
    signature[0] = 'X';
    auto depth = good;
    depth[28] = 8;
    auto compressed = good;
    compressed[30] = 1;
    const std::vector<std::vector<std::uint8_t>> bad{
        {}, truncated, signature, depth, compressed, Bitmap24(4, 4, 100000, 100000), Bitmap24(4, 4, -4, 4)};
    for (const auto& bytes : bad) EXPECT_THROW(toolkit::LoadBitmapResource(bytes), PictureLoadError);
}

TEST(LoadPictureTest, UnloadableFilesGiveAnErrorNamingTheFileAndTheCause) {
    ScratchFolder folder("load");
    auto truncated = Bitmap24(40, 40);
    truncated.resize(truncated.size() / 2);
    const std::string missing = folder.Path() + "/none.gif";
    const std::string empty = folder.Write("empty.gif", std::string());
    const std::string cut = folder.Write("cut.bmp", truncated);
    const std::string text = folder.Write("notes.jpg", std::string("these are not pixels"));

    EXPECT_NE(LoadError(missing).find("none.gif"), std::string::npos);
    EXPECT_NE(LoadError(missing).find("not found"), std::string::npos);
    EXPECT_NE(LoadError(empty).find("empty.gif"), std::string::npos);
    EXPECT_NE(LoadError(empty).find("empty"), std::string::npos);
    EXPECT_NE(LoadError(cut).find("cut.bmp"), std::string::npos);
    EXPECT_NE(LoadError(cut).find("truncated"), std::string::npos);
    EXPECT_NE(LoadError(text).find("notes.jpg"), std::string::npos);
    EXPECT_NE(LoadError(folder.Path()).find("not a file (a folder)"), std::string::npos);
#ifndef _WIN32
    // Opening a device (or a pipe) could block: it is refused from its type.
    EXPECT_NE(LoadError("/dev/zero").find("not a file (a device)"), std::string::npos);
    EXPECT_THROW(toolkit::ReadPictureFile("/dev/zero"), toolkit::PictureLoadError);
#endif
}

TEST(LoadPictureTest, MapsBackslashPathsAndUsesTheInstalledDecoder) {
    ScratchFolder folder("decoder");
    std::filesystem::create_directories(folder.Path() + "/Bilder");
    folder.Write("Bilder/tile.bmp", Bitmap24(3, 2));
    const std::string written = folder.Path() + "\\Bilder\\tile.bmp";

    const toolkit::StdPicture picture = LoadPicture(written);
    EXPECT_EQ(picture->Width, 3);
    EXPECT_EQ(picture->Height, 2);

    std::string asked;
    TestPlatform platform;
    platform.Decode = [&asked](const std::string& native) -> toolkit::StdPicture {
        asked = native;
        throw std::runtime_error("decoder refused it");
    };
    const std::string error = LoadError(written);
    EXPECT_EQ(asked, (std::filesystem::path(folder.Path()) / "Bilder" / "tile.bmp").string());
    EXPECT_NE(error.find("tile.bmp"), std::string::npos);
    EXPECT_NE(error.find("decoder refused it"), std::string::npos);

    // A decoder that hands back nothing usable is an error, not an empty picture.
    platform.Decode = [](const std::string&) { return toolkit::StdPicture{}; };
    EXPECT_FALSE(LoadError(written).empty());
}

TEST(LoadPictureTest, TheDecoderIsHandedTheBytesTheCheckRead) {
    ScratchFolder folder("bytes");
    // Larger than one read block, so the whole file has to be gathered.
    const auto bytes = Bitmap24(60, 40);
    ASSERT_GT(bytes.size(), 4096u);
    const std::string written = folder.Write("tile.bmp", bytes);

    std::vector<std::uint8_t> seen;
    std::string named;
    TestPlatform platform;
    platform.Decode = [&](const toolkit::EncodedPicture& File) {
        seen.assign(File.Data.begin(), File.Data.end());
        named = File.NativeFileName;
        return toolkit::LoadBitmapResource(File.Data);
    };
    const toolkit::StdPicture picture = LoadPicture(written);
    EXPECT_EQ(named, written);
    EXPECT_EQ(seen, bytes);
    EXPECT_EQ(picture->Width, 60);
    EXPECT_EQ(toolkit::ReadPictureFile(written), bytes);
    EXPECT_THROW(toolkit::ReadPictureFile(folder.Path() + "/none.bmp"), PictureLoadError);
}

TEST(LoadPictureTest, AbsurdDimensionsAreRefusedBeforeAnyPixelIsAllocated) {
    ScratchFolder folder("absurd");
    // Tiny files whose headers claim 2^31-1 pixels a side, or 100000 × 100000.
    const std::string huge = folder.Write("huge.bmp", Bitmap24(2, 2, 0x7FFFFFFF, 0x7FFFFFFF));
    const std::string wide = folder.Write("wide.bmp", Bitmap24(2, 2, 100000, 100000));
    EXPECT_NE(LoadError(huge).find("out of range"), std::string::npos);
    EXPECT_NE(LoadError(wide).find("out of range"), std::string::npos);
}

// The loader's sizes: a side past 8192 names the file and its size; pictures still held count together, and a
// picture let go makes room again.
TEST(LoadPictureTest, APictureTooLargeAloneOrBesideThoseHeldIsRefused) {
    ScratchFolder folder("limits");
    const std::string wide = folder.Write("wide.bmp", Bitmap24(2, 2, 8193, 1));
    EXPECT_EQ(LoadError(wide), "cannot load picture '" + wide + "': picture size 8193 x 1 is out of range");

    auto square = std::make_shared<toolkit::Picture>();
    square->Width = square->Height = 2048;
    square->Pixels.resize(2048 * 2048);
    TestPlatform platform;
    platform.Decode = [&](const toolkit::EncodedPicture&) { return square; };
    const std::string file = folder.Write("square.bmp", Bitmap24(2, 2));
    std::vector<toolkit::StdPicture> held;
    while (held.size() < 16) held.push_back(LoadPicture(file));
    EXPECT_NE(LoadError(file).find("more than 67108864 pixels together"), std::string::npos) << LoadError(file);
    held.pop_back();
    EXPECT_NO_THROW(held.push_back(LoadPicture(file)));
}

// A 1 x 1 screen in front of an interlaced 65535 x 65535 frame: refused from its descriptors, whatever decoder the
// platform has, before that decoder sees it.
TEST(LoadPictureTest, AGifFrameFarOutsideItsScreenIsRefusedBeforeAnyDecoderRuns) {
    ScratchFolder folder("frame");
    const std::vector<std::uint8_t> gif{'G',  'I',  'F',  '8',  '9',  'a', 1,   0,    1,    0, 0x80, 0,
                                        0,    0,    0,    0,    255,  255, 255, 0x2C, 0,    0, 0,    0,
                                        0xFF, 0xFF, 0xFF, 0xFF, 0x40, 2,   2,   0x44, 0x01, 0, 0x3B};
    int decodes = 0;
    TestPlatform platform;
    platform.Decode = [&](const toolkit::EncodedPicture&) {
        ++decodes;
        return toolkit::StdPicture();
    };
    const std::string file = folder.Write("crafted.gif", gif);
    EXPECT_EQ(LoadError(file),
              "cannot load picture '" + file + "': GIF: the image lies far outside its logical screen of 1 x 1");
    EXPECT_EQ(decodes, 0);
}

TEST(DirTest, NamesOnlyOrdinaryVisibleFiles) {
    ScratchFolder folder("dir");
    folder.Write("cross.gif", std::string("x"));
    folder.Write(".hidden.gif", std::string("x"));
    std::filesystem::create_directories(folder.Path() + "/Bilder");

    EXPECT_EQ(toolkit::Dir(folder.Path() + "/cross.gif"), "cross.gif");
    EXPECT_EQ(toolkit::Dir(folder.Path() + "\\cross.gif"), "cross.gif");
    EXPECT_EQ(toolkit::Dir(folder.Path() + "/Bullet.gif"), "");
    EXPECT_EQ(toolkit::Dir(folder.Path() + "/.hidden.gif"), "");
    EXPECT_EQ(toolkit::Dir(folder.Path() + "/Bilder"), "");
    EXPECT_EQ(toolkit::Dir(""), "");
}

TEST(AppPathTest, IsTheProgramsFolderWithoutATrailingSeparator) {
    const std::string path = toolkit::App::Path();
    ASSERT_FALSE(path.empty());
    EXPECT_NE(path.back(), '/');
#ifndef _WIN32
    // Windows has no such link; there the front end sets the folder from the module's own path.
    EXPECT_TRUE(
        std::filesystem::exists(path + "/" + std::filesystem::read_symlink("/proc/self/exe").filename().string()));
#endif

    {
        TestPlatform platform;
        platform.Path = "/opt/tessarin/";
        EXPECT_EQ(toolkit::App::Path(), "/opt/tessarin");
    }
    EXPECT_EQ(toolkit::App::Path(), path) << "the platform's installation put the previous one back";
}

TEST(MsgBoxTest, GoesThroughTheInstalledPlatformAndFailsLoudlyWithoutOne) {
    toolkit::DefaultPlatform bare;
    const toolkit::Platform::Installation none(bare);
    EXPECT_THROW(toolkit::MsgBox("Do you really want to exit?", 36, "Tessarin"), std::logic_error);

    std::string prompt, title;
    std::int16_t style = 0;
    {
        TestPlatform platform;
        platform.Ask = [&](const std::string& p, std::int16_t s, const std::string& t) {
            prompt = p;
            style = s;
            title = t;
            return toolkit::vbNo;
        };
        TestPlatform above;  // answers nothing itself: the question reaches the platform below
        EXPECT_EQ(toolkit::MsgBox("Do you really want to exit?", toolkit::vbYesNo + toolkit::vbQuestion, "Tessarin"),
                  toolkit::vbNo);
    }
    EXPECT_EQ(prompt, "Do you really want to exit?");
    EXPECT_EQ(style, 36);
    EXPECT_EQ(title, "Tessarin");
    EXPECT_THROW(toolkit::MsgBox("Do you really want to exit?", 36, "Tessarin"), std::logic_error);
}

TEST(DoEventsTest, RunsTheInstalledPlatformsPassOnce) {
    toolkit::DoEvents();  // none installed: nothing pending, nothing to do
    int passes = 0;
    TestPlatform platform;
    platform.Events = [&passes] { ++passes; };
    toolkit::DoEvents();
    EXPECT_EQ(passes, 1);
}

}  // namespace
