#include <QWidget>
#include <array>
#include <cmath>
#include <limits>

#include "WindowTestSupport.h"
#include "board/Grid.h"
#include "opponent/PlayerAI.h"
#include "platform/toolkit/qt/FormWindow.h"
#include "state/Global.h"

namespace windowtest {
namespace {

constexpr const char* EndText = "Press new game in the file menu to begin";

// A picture pixel as it stands on a white staging surface, 0x00RRGGBB.
std::uint32_t OnWhite(std::uint32_t argb) { return (argb >> 24) == 0 ? 0xFFFFFFu : (argb & 0xFFFFFFu); }

struct StripPlace {
    const char* File;
    int X;
    int Y;
};

// The window image as start-up must leave it: the tile repeated from the top-left,
// then the four strips copied whole, later ones over earlier ones.
Snapshot ExpectedWindowImage(int width, int height) {
    const auto tile = Decode(SourcePictures() / "BarkGold.gif");
    Snapshot expected{width, height, std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height)};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int tx = x % 240, ty = y % 154;
            expected.Pixels[static_cast<std::size_t>(y) * width + x] =
                tx < tile->Width && ty < tile->Height ? OnWhite(tile->Pixels[ty * tile->Width + tx]) : 0xFFFFFFu;
        }
    const std::array<StripPlace, 4> strips{{{"Up.jpg", 32, 19}, {"Right.jpg", 19, 32}, {"Down.jpg", 32, 416},
                                            {"Left.jpg", 416, 32}}};
    for (const StripPlace& strip : strips) {
        const auto picture = Decode(SourcePictures() / strip.File);
        for (int y = 0; y < picture->Height; ++y)
            for (int x = 0; x < picture->Width; ++x)
                if (strip.X + x < width && strip.Y + y < height)
                    expected.Pixels[static_cast<std::size_t>(strip.Y + y) * width + strip.X + x] =
                        OnWhite(picture->Pixels[y * picture->Width + x]);
    }
    return expected;
}

using StartupTest = WindowTest;

TEST_F(StartupTest, WindowImageHoldsTheTilesAndTheFourStripsAtTheirPlaces) {
    Start();
    const Snapshot image = Capture(game->hDC());
    ASSERT_EQ(image.Width, 454);
    ASSERT_EQ(image.Height, 486);
    const Snapshot expected = ExpectedWindowImage(image.Width, image.Height);
    int wrong = 0;
    for (int y = 0; y < image.Height; ++y)
        for (int x = 0; x < image.Width; ++x)
            if (image.At(x, y) != expected.At(x, y) && ++wrong <= 5)
                ADD_FAILURE() << "window pixel (" << x << ", " << y << ") is " << std::hex << image.At(x, y)
                              << ", expected " << expected.At(x, y);
    EXPECT_EQ(wrong, 0);
}

TEST_F(StartupTest, BuffersEndAsHiddenPicturesAndAGreenSelectionSurface) {
    Start();
    ASSERT_EQ(game->Buff.Count(), 4u);
    toolkit::PictureBox& select = game->Buff(0);
    EXPECT_EQ(select.Picture(), nullptr);
    EXPECT_EQ(select.Width(), 130);
    EXPECT_EQ(select.Height(), 130);
    EXPECT_EQ(select.BackColor(), gdi::RGB(0, 255, 0));
    const Snapshot green = Capture(select.hDC());
    for (std::uint32_t pixel : green.Pixels) ASSERT_EQ(pixel, 0x00FF00u);
    for (std::int16_t index = 0; index <= 3; ++index) EXPECT_FALSE(game->Buff(index).Visible()) << index;
    const std::array<const char*, 3> files{"Background.jpg", "cross.gif", "Bullet.gif"};
    for (std::int16_t index = 1; index <= 3; ++index) {
        const auto picture = Decode(SourcePictures() / files[index - 1]);
        EXPECT_TRUE(game->Buff(index).AutoRedraw()) << files[index - 1];
        EXPECT_EQ(game->Buff(index).ScaleWidth(), picture->Width) << files[index - 1];
        EXPECT_EQ(game->Buff(index).ScaleHeight(), picture->Height) << files[index - 1];
    }
    Grid& grid = Global::GameGrid();
    EXPECT_EQ(grid.SelectDC(), static_cast<std::int32_t>(select.hDC()));
    EXPECT_EQ(grid.BoardWidth(), 385);
    EXPECT_EQ(grid.BoardHeight(), 385);
}

TEST_F(StartupTest, WaitsForANewGameWithTheDesignedOptionsAndAnEmptyBackgroundBoard) {
    Start();
    EXPECT_TRUE(game->Visible());
    EXPECT_TRUE(Global::GameOver);
    EXPECT_FALSE(Global::PlayerTurn);
    EXPECT_FALSE(Global::ComputerPlays);
    EXPECT_EQ(CellCodes(), std::vector<std::uint8_t>(9, 0));
    EXPECT_EQ(Global::GameAI().PlayerNumber(), 2);
    EXPECT_EQ(game->Text.Caption(), EndText);
    EXPECT_TRUE(game->mnuPlayer(1).Checked());
    EXPECT_FALSE(game->mnuPlayer(2).Checked());
    EXPECT_FALSE(game->mnuCheck(0).Checked());
    EXPECT_TRUE(game->mnuCheck(1).Checked());

    // The board shows its background tiles only: no grid lines, no pieces.
    const auto background = Decode(SourcePictures() / "Background.jpg");
    const Snapshot board = Capture(game->Board.hDC());
    for (int y = 0; y < board.Height; ++y)
        for (int x = 0; x < board.Width; ++x)
            ASSERT_EQ(board.At(x, y),
                      background->Pixels[(y % background->Height) * background->Width + x % background->Width] &
                          0xFFFFFFu)
                << "board pixel (" << x << ", " << y << ")";
}

TEST_F(StartupTest, PressesAreIgnoredUntilANewGameStarts) {
    Start();
    const Snapshot before = Capture(game->Board.hDC());
    for (int col = 0; col < 3; ++col)
        for (int row = 0; row < 3; ++row)
            for (std::int16_t button : {1, 2, 4}) Press(col, row, button);
    EXPECT_EQ(CellCodes(), std::vector<std::uint8_t>(9, 0));
    EXPECT_EQ(Capture(game->Board.hDC()).Pixels, before.Pixels);
    EXPECT_EQ(game->Text.Caption(), EndText);
    EXPECT_TRUE(msgBox.Asked().empty());

    Choose(game->mnuNew());
    Press(2, 1);
    EXPECT_EQ(Global::Cells(2, 1), Global::CodeBlue);
}

// The window appears only once the load has finished: nothing half-drawn is shown.
class ObservedGame : public Game {
public:
    std::function<void()> DuringLoad;

protected:
    void Form_Load() override {
        if (DuringLoad) DuringLoad();
        Game::Form_Load();
        if (DuringLoad) DuringLoad();
    }
};

TEST_F(StartupTest, TheWindowStaysHiddenWhileItLoads) {
    ObservedGame observed;
    toolkit::qt::FormWindow window(observed);
    int checks = 0;
    observed.DuringLoad = [&] {
        ++checks;
        EXPECT_FALSE(window.isVisible());
        EXPECT_FALSE(observed.Visible());
    };
    observed.Show();
    EXPECT_EQ(checks, 2);
    EXPECT_TRUE(window.isVisible());
    EXPECT_NE(window.SurfaceWidget(observed.Board), nullptr);
    EXPECT_EQ(window.SurfaceWidget(observed.Buff(0)), nullptr);
}

TEST_F(StartupTest, PressPositionsRoundToTheNearestPixelWithHalvesToEven) {
    Start();
    Choose(game->mnuNew());
    // A cell is 128.33 pixels: 128.5 becomes 128 (column 0) and 256.5 becomes 256
    // (column 1), where rounding halves up would land one column further.
    game->Board.MouseDown(1, 0, 128.5f, 256.5f);
    EXPECT_EQ(Global::Cells(0, 1), Global::CodeBlue);
    game->Board.MouseDown(1, 0, 256.5f, 128.5f);
    EXPECT_EQ(Global::Cells(1, 0), Global::CodeRed);
    game->Board.MouseDown(4, 2, 384.0f, 384.0f);
    EXPECT_EQ(Global::Cells(2, 2), Global::CodeBlue);
    game->Board.MouseDown(2, 0, 0.49f, 384.4f);
    EXPECT_EQ(Global::Cells(0, 2), Global::CodeRed);
}

TEST_F(StartupTest, PositionsWithoutAPixelAreDroppedWithoutHarm) {
    Start();
    Choose(game->mnuNew());
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const std::array<std::array<float, 2>, 8> presses{{{nan, 10.0f},
                                                       {10.0f, nan},
                                                       {inf, 10.0f},
                                                       {10.0f, -inf},
                                                       {1e9f, 10.0f},
                                                       {10.0f, -1e9f},
                                                       {32767.6f, 10.0f},
                                                       {10.0f, -32768.6f}}};
    const Snapshot before = Capture(game->Board.hDC());
    for (const auto& at : presses) EXPECT_NO_THROW(game->Board.MouseDown(1, 0, at[0], at[1])) << at[0] << ", " << at[1];
    EXPECT_EQ(CellCodes(), std::vector<std::uint8_t>(9, 0));
    EXPECT_FALSE(Global::PlayerTurn);
    EXPECT_FALSE(Global::GameOver);
    EXPECT_EQ(Capture(game->Board.hDC()).Pixels, before.Pixels);
    Press(1, 1);
    EXPECT_EQ(Global::Cells(1, 1), Global::CodeBlue);
}

}  // namespace
}  // namespace windowtest
