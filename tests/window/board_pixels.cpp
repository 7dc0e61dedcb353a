// The board as the desktop's raster layer draws it after a sequence of moves, for the web page's tests to hold the
// browser's board against: the game is played in-process with the desktop's picture decoders, and the board's
// part of the composed client area (the keyboard cursor's frame included) is written to standard output as a
// binary PPM. Every question is answered Yes.
//
//   board_pixels PICTURE_FOLDER STEP...
//     new            File > New game
//     computer       File > Player 2 > Computer
//     red-begins     File > Who begin > Player2
//     C,R            a press at the centre of column C, row R (from 0)
//     Left|Right|Up|Down|Space|Return   a key on the board
#include <cstdio>
#include <map>
#include <stdexcept>
#include <string>

#include "platform/toolkit/Frame.h"
#include "platform/toolkit/decoders/PictureDecoders.h"
#include "support/CellCentre.h"
#include "support/TestPlatform.h"
#include "window/Game.h"

namespace {

void Play(Game& game, const std::string& step) {
    static const std::map<std::string, toolkit::Key> keys{
        {"Left", toolkit::Key::Left},   {"Right", toolkit::Key::Right}, {"Up", toolkit::Key::Up},
        {"Down", toolkit::Key::Down},   {"Space", toolkit::Key::Space}, {"Return", toolkit::Key::Return}};
    if (step == "new") return game.mnuNew().Choose();
    if (step == "computer") return game.mnuCheck(0).Choose();
    if (step == "red-begins") return game.mnuPlayer(2).Choose();
    if (const auto key = keys.find(step); key != keys.end()) return game.Cursor.KeyDown(key->second);
    int column = -1, row = -1;
    if (std::sscanf(step.c_str(), "%d,%d", &column, &row) != 2 || column < 0 || column > 2 || row < 0 || row > 2)
        throw std::invalid_argument("not a step: " + step);
    const int side = static_cast<int>(game.Board.Width());
    game.Board.MouseDown(1, 0, testsupport::CellCentre(side, column), testsupport::CellCentre(side, row));
}

void WriteBoard(Game& game) {
    toolkit::Frame frame(game);
    const toolkit::Rect area = toolkit::SurfaceRect(game.Board);
    const gdi::SurfaceBits bits = frame.Compose(area);
    std::printf("P6\n%d %d\n255\n", area.Right - area.Left, area.Bottom - area.Top);
    for (int y = area.Top; y < area.Bottom; ++y) {
        for (int x = area.Left; x < area.Right; ++x) {
            const std::uint32_t pixel = bits.pixels[static_cast<std::size_t>(y) * bits.width + x];
            std::putchar(static_cast<int>((pixel >> 16) & 0xFF));
            std::putchar(static_cast<int>((pixel >> 8) & 0xFF));
            std::putchar(static_cast<int>(pixel & 0xFF));
        }
    }
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: board_pixels PICTURE_FOLDER STEP...\n");
        return 2;
    }
    try {
        testsupport::TestPlatform platform;
        platform.Path = argv[1];
        platform.Decode = toolkit::DecodeStandardPicture;
        platform.Ask = [](const std::string&, std::int16_t, const std::string&) { return toolkit::vbYes; };
        Game game;
        game.Show();
        for (int i = 2; i < argc; ++i) Play(game, argv[i]);
        WriteBoard(game);
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "board_pixels: %s\n", error.what());
        return 1;
    }
}
