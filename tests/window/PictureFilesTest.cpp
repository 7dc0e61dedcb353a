#include <QtTest/QTest>

#include "WindowTestSupport.h"
#include "board/Grid.h"
#include "platform/toolkit/qt/FormWindow.h"
#include "state/Global.h"

namespace windowtest {
namespace {

const std::vector<std::string> AllFiles{"BarkGold.gif", "Background.jpg", "cross.gif", "Bullet.gif",
                                        "Up.jpg",       "Right.jpg",      "Down.jpg",  "Left.jpg"};
const std::vector<std::string> RequiredFiles{"BarkGold.gif", "Up.jpg", "Right.jpg", "Down.jpg", "Left.jpg"};

class PictureFilesTest : public WindowTest {
protected:
    PictureFolder pictures;
};

class RequiredPictureTest : public PictureFilesTest, public ::testing::WithParamInterface<std::string> {};

TEST_P(RequiredPictureTest, AMissingTileOrStripStopsStartUpWithAnErrorNamingIt) {
    pictures.Remove(GetParam());
    const std::string error = StartFailure();
    EXPECT_NE(error.find(pictures.File(GetParam()).string()), std::string::npos) << error;
    EXPECT_NE(error.find("not found"), std::string::npos) << error;
}

INSTANTIATE_TEST_SUITE_P(Files, RequiredPictureTest, ::testing::ValuesIn(RequiredFiles),
                         [](const auto& info) { return info.param.substr(0, info.param.find('.')); });

class CorruptPictureTest : public PictureFilesTest, public ::testing::WithParamInterface<std::string> {};

TEST_P(CorruptPictureTest, AFileThatIsNoPictureStopsStartUpWithAnErrorNamingIt) {
    pictures.Corrupt(GetParam());
    const std::string error = StartFailure();
    EXPECT_NE(error.find(pictures.File(GetParam()).string()), std::string::npos) << error;
}

TEST_P(CorruptPictureTest, AnEmptyFileStopsStartUpToo) {
    std::filesystem::resize_file(pictures.File(GetParam()), 0);
    const std::string error = StartFailure();
    EXPECT_NE(error.find(pictures.File(GetParam()).string()), std::string::npos) << error;
}

INSTANTIATE_TEST_SUITE_P(Files, CorruptPictureTest, ::testing::ValuesIn(AllFiles),
                         [](const auto& info) { return info.param.substr(0, info.param.find('.')); });

// Bit 0: no board background, bit 1: no blue piece, bit 2: no red piece.
class OptionalPictureTest : public PictureFilesTest, public ::testing::WithParamInterface<int> {
protected:
    bool NoBackground() const { return (GetParam() & 1) != 0; }
    bool NoBlue() const { return (GetParam() & 2) != 0; }
    bool NoRed() const { return (GetParam() & 4) != 0; }
};

TEST_P(OptionalPictureTest, MissingBoardPicturesFallBackAndAGamePlaysToItsEnd) {
    if (NoBackground()) pictures.Remove("Background.jpg");
    if (NoBlue()) pictures.Remove("cross.gif");
    if (NoRed()) pictures.Remove("Bullet.gif");
    ASSERT_EQ(StartFailure(), "");
    EXPECT_EQ(game->Buff(1).AutoRedraw(), !NoBackground());
    EXPECT_EQ(game->Buff(2).AutoRedraw(), !NoBlue());
    EXPECT_EQ(game->Buff(3).AutoRedraw(), !NoRed());
    EXPECT_EQ(Global::GameGrid().BackgroundWidth() == 0, NoBackground());
    EXPECT_EQ(Global::GameGrid().BluePieceDC() == 0, NoBlue());
    EXPECT_EQ(Global::GameGrid().RedPieceDC() == 0, NoRed());

    Choose(game->mnuNew());
    const Snapshot fresh = Capture(game->Board.hDC());
    EXPECT_EQ(fresh.At(50, 50) == 0xE0E0E0u, NoBackground()) << "the board's own colour shows without a picture";

    Press(0, 0);  // blue
    Press(0, 1);  // red
    const Snapshot played = Capture(game->Board.hDC());
    // A cross from corner to corner of cell (0, 0), a disc filling cell (0, 1).
    if (NoBlue()) {
        EXPECT_EQ(played.At(64, 64), 0x0000FFu);
    }
    if (NoRed()) {
        EXPECT_EQ(played.At(64, 192), 0xFF0000u);
    }
    EXPECT_NE(played.At(64, 64), fresh.At(64, 64));
    EXPECT_NE(played.At(64, 192), fresh.At(64, 192));

    Press(1, 0), Press(1, 1), Press(2, 0);
    EXPECT_TRUE(Global::GameOver);
    EXPECT_EQ(game->Text.Caption(), "Press new game in the file menu to begin");
    const Snapshot won = Capture(game->Board.hDC());
    for (int col = 0; col < 3; ++col) EXPECT_EQ(won.At(col * 128 + 64, 20) & 0xFF00FFu, 0u) << "highlight " << col;
    EXPECT_NE(won.At(64, 192 + 40) & 0xFF00FFu, 0u) << "cell (0, 1) is not part of the line";
}

INSTANTIATE_TEST_SUITE_P(Combinations, OptionalPictureTest, ::testing::Range(1, 8));

}  // namespace
}  // namespace windowtest
