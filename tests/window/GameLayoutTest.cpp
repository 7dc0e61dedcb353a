#include <gtest/gtest.h>

#include <vector>

#include "platform/gdi/Gdi.h"
#include "window/Game.h"

namespace {

using gdi::RGB;
using toolkit::MenuItem;

struct Shape {
    std::string Name;
    std::optional<std::int16_t> Index;
    std::string Caption;
    bool Checked;
    std::string Shortcut;
    std::vector<Shape> Children;
    bool operator==(const Shape&) const = default;
};

Shape ShapeOf(const MenuItem& item) {
    Shape shape{item.Name(), item.Index(), item.Caption(), item.Checked(), item.Shortcut(), {}};
    for (const auto& child : item.Children()) shape.Children.push_back(ShapeOf(*child));
    return shape;
}

TEST(GameLayoutTest, WindowIsAFixedTessarinFrame) {
    Game game;
    const auto& design = game.Properties();
    EXPECT_EQ(design.Caption, "Tessarin");
    EXPECT_EQ(design.ClientWidth, 454);
    EXPECT_EQ(design.ClientHeight, 486);
    EXPECT_FALSE(design.Resizable);
    EXPECT_TRUE(design.MinButton);
    EXPECT_FALSE(design.MaxButton);
    EXPECT_EQ(game.ScaleWidth(), 454.0f);
    EXPECT_EQ(game.ScaleHeight(), 486.0f);
}

TEST(GameLayoutTest, MenuTreeHasTheDesignedCaptionsIndexesChecksAndShortcut) {
    Game game;
    ASSERT_EQ(game.Menus().size(), 1u);
    const Shape expected{"mnuFile", std::nullopt, "File", false, "", {
        {"mnuNew", std::nullopt, "New game", false, "Ctrl+N", {}},
        {"mnuLine2", std::nullopt, "-", false, "", {}},
        {"mnuBegin", std::nullopt, "Who begin", false, "", {
            {"mnuPlayer", 1, "Player1", true, "", {}},
            {"mnuPlayer", 2, "Player2", false, "", {}}}},
        {"mnuPlayer2", std::nullopt, "Player 2", false, "", {
            {"mnuCheck", 0, "Computer", false, "", {}},
            {"mnuCheck", 1, "Human", true, "", {}}}},
        {"mnuLine", std::nullopt, "-", false, "", {}},
        {"mnuEnd", std::nullopt, "Exit", false, "", {}}}};
    EXPECT_TRUE(ShapeOf(*game.Menus()[0]) == expected);

    EXPECT_EQ(&game.mnuFile(), game.Menus()[0].get());
    EXPECT_EQ(game.mnuPlayer(2).Caption(), "Player2");
    EXPECT_EQ(game.mnuCheck(0).Caption(), "Computer");
    EXPECT_THROW(game.mnuPlayer(0), std::out_of_range);
    EXPECT_THROW(game.mnuCheck(2), std::out_of_range);
}

TEST(GameLayoutTest, SurfacesHaveTheirDesignedPlaceSizeAndColours) {
    Game game;
    ASSERT_EQ(game.Buff.Count(), 1u);
    const toolkit::PictureBox& buff = game.Buff(0);
    EXPECT_EQ(buff.Left(), 536);
    EXPECT_EQ(buff.Top(), 80);
    EXPECT_EQ(buff.Width(), 33.0f);
    EXPECT_EQ(buff.Height(), 33.0f);
    EXPECT_EQ(buff.BackColor(), RGB(255, 255, 255));
    EXPECT_TRUE(buff.AutoSize());
    EXPECT_TRUE(buff.AutoRedraw());
    EXPECT_FALSE(buff.Visible());

    EXPECT_EQ(game.Board.Left(), 32);
    EXPECT_EQ(game.Board.Top(), 32);
    EXPECT_EQ(game.Board.ScaleWidth(), 385.0f);
    EXPECT_EQ(game.Board.ScaleHeight(), 385.0f);
    EXPECT_EQ(game.Board.BackColor(), RGB(224, 224, 224));
    EXPECT_EQ(game.Board.ForeColor(), RGB(170, 170, 170));
    EXPECT_FALSE(game.Board.AutoSize());
    EXPECT_TRUE(game.Board.AutoRedraw());
    EXPECT_TRUE(game.Board.Visible());
    EXPECT_EQ(gdi::GetPixel(game.Board.hDC(), 384, 384), RGB(224, 224, 224));

    const std::vector<toolkit::PictureBox*> surfaces = game.Surfaces();
    EXPECT_EQ(surfaces, (std::vector<toolkit::PictureBox*>{&game.Buff(0), &game.Board}));
    game.Buff.Load(1);
    EXPECT_EQ(game.Surfaces().size(), 3u) << "elements created at run time belong to the window too";
}

TEST(GameLayoutTest, LineCornersAndStatusLineSitWhereDesigned) {
    Game game;
    EXPECT_EQ(game.Lines(), std::vector<const toolkit::Line*>{&game.Line1});
    EXPECT_EQ(game.Line1.X1, 0);
    EXPECT_EQ(game.Line1.Y1, 0);
    EXPECT_EQ(game.Line1.X2, 464);
    EXPECT_EQ(game.Line1.Y2, 0);
    EXPECT_EQ(game.Line1.BorderColor, RGB(224, 224, 224));
    EXPECT_EQ(game.Line1.BorderWidth, 1);

    struct Corner {
        const toolkit::Image* image;
        int left, top;
    };
    const std::vector<Corner> corners{
        {&game.Image8, 19, 417}, {&game.Image7, 416, 417}, {&game.Image6, 417, 19}, {&game.Image5, 19, 19}};
    ASSERT_EQ(game.Images().size(), 4u);
    for (std::size_t i = 0; i < corners.size(); ++i) {
        const toolkit::Image& image = *corners[i].image;
        EXPECT_EQ(game.Images()[i], &image) << "drawn in the form's layout order";
        EXPECT_EQ(image.Left, corners[i].left);
        EXPECT_EQ(image.Top, corners[i].top);
        EXPECT_EQ(image.Width, 13);
        EXPECT_EQ(image.Height, 13);
        ASSERT_NE(image.Picture, nullptr);
        EXPECT_EQ(image.Picture->Width, 13);
        EXPECT_EQ(image.Picture->Height, 13);
    }

    const auto& text = game.Text.Properties();
    EXPECT_EQ(game.Text.Caption(), "Press new game in the file menu to begin");
    EXPECT_EQ(text.Left, 32);
    EXPECT_EQ(text.Top, 448);
    EXPECT_EQ(text.Width, 385);
    EXPECT_EQ(text.Height, 25);
    EXPECT_EQ(text.Font.Name, "Verdana");
    EXPECT_EQ(text.Font.Size, 12);
    EXPECT_EQ(text.Font.Weight, 400);
    EXPECT_FALSE(text.Font.Italic || text.Font.Underline || text.Font.Strikethrough);
    EXPECT_EQ(text.ForeColor, RGB(255, 255, 255));
    EXPECT_EQ(text.Alignment, toolkit::Alignment::Center);
    EXPECT_TRUE(text.Transparent);
}

// The corner pictures brighten towards the corner that touches the board, and
// Image8 mirrors Image5 top to bottom, Image7 mirrors Image8 left to right.
TEST(GameLayoutTest, CornerPicturesBrightenTowardsTheBoard) {
    Game game;
    const auto brightness = [](const toolkit::Image& image, int x0, int y0) {
        int sum = 0;
        for (int y = y0; y < y0 + 4; ++y)
            for (int x = x0; x < x0 + 4; ++x) {
                const std::uint32_t p = image.Picture->Pixels[static_cast<std::size_t>(y) * 13 + x];
                sum += static_cast<int>(((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF));
            }
        return sum;
    };
    EXPECT_GT(brightness(game.Image5, 9, 9), brightness(game.Image5, 0, 0));
    EXPECT_GT(brightness(game.Image6, 0, 9), brightness(game.Image6, 9, 0));
    EXPECT_GT(brightness(game.Image7, 0, 0), brightness(game.Image7, 9, 9));
    EXPECT_GT(brightness(game.Image8, 9, 0), brightness(game.Image8, 0, 9));
    const auto& p5 = game.Image5.Picture->Pixels;
    const auto& p7 = game.Image7.Picture->Pixels;
    const auto& p8 = game.Image8.Picture->Pixels;
    for (int y = 0; y < 13; ++y)
        for (int x = 0; x < 13; ++x) {
            EXPECT_EQ(p8[y * 13 + x], p5[(12 - y) * 13 + x]);
            EXPECT_EQ(p7[y * 13 + x], p8[y * 13 + 12 - x]);
        }
}

TEST(GameLayoutTest, TheWindowIsUniqueAndTheBoardsHostWhileItLives) {
    {
        Game game;
        EXPECT_THROW(Game second, std::logic_error);
        EXPECT_EQ(&Global::TheBoardHost(), static_cast<BoardHost*>(&game))
            << "a refused second window leaves the first attached";
    }
    EXPECT_THROW(Global::TheBoardHost(), std::logic_error);
}

TEST(GameLayoutTest, FileOpensByItsAccessKeyAndTheOptionsAreChoicesCheckedOrNot) {
    Game game;
    EXPECT_EQ(game.mnuFile().Caption(), "File");
    EXPECT_EQ(game.mnuFile().AccessKeyIndex(), 0u);
    EXPECT_FALSE(game.mnuNew().AccessKeyIndex());
    for (const MenuItem* option : {&game.mnuPlayer(1), &game.mnuPlayer(2), &game.mnuCheck(0), &game.mnuCheck(1)})
        EXPECT_TRUE(option->Checkable()) << option->Caption();
    EXPECT_FALSE(game.mnuNew().Checkable());

    MenuItem::Design design{"mnuEnd", std::nullopt, "Exit"};
    design.AccessKey = 'X';
    EXPECT_EQ(MenuItem(design).AccessKeyIndex(), 1u);
    design.AccessKey = 'q';
    EXPECT_THROW(MenuItem{design}, std::invalid_argument);
}

}  // namespace
