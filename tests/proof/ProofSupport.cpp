#include "ProofSupport.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <stdexcept>

#include "board/Grid.h"
#include "opponent/PlayerAI.h"
#include "platform/toolkit/Runtime.h"

namespace proof {

namespace fs = std::filesystem;

std::string TurnText(bool redToMove) { return std::string("It's player ") + (redToMove ? "red" : "blue") + "s turn"; }

namespace {

void PutU16(std::vector<char>& out, std::uint32_t v) {
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>((v >> 8) & 0xFF));
}
void PutU32(std::vector<char>& out, std::uint32_t v) {
    PutU16(out, v & 0xFFFF);
    PutU16(out, v >> 16);
}

// A 24-bit bottom-up bitmap, striped so that a copy from the wrong place shows.
void WriteBitmap(const fs::path& file, int width, int height, gdi::COLORREF colour) {
    const std::uint32_t rowBytes = (static_cast<std::uint32_t>(width) * 3 + 3) & ~3u;
    std::vector<char> out;
    out.push_back('B');
    out.push_back('M');
    PutU32(out, 54 + rowBytes * static_cast<std::uint32_t>(height));
    PutU32(out, 0);
    PutU32(out, 54);
    PutU32(out, 40);
    PutU32(out, static_cast<std::uint32_t>(width));
    PutU32(out, static_cast<std::uint32_t>(height));
    PutU16(out, 1);
    PutU16(out, 24);
    for (int i = 0; i < 6; ++i) PutU32(out, 0);
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) {
            const gdi::COLORREF c = (x + y) % 7 == 0 ? gdi::RGB(20, 20, 20) : colour;
            out.push_back(static_cast<char>(gdi::GetBValue(c)));
            out.push_back(static_cast<char>(gdi::GetGValue(c)));
            out.push_back(static_cast<char>(gdi::GetRValue(c)));
        }
        out.resize(out.size() + rowBytes - static_cast<std::uint32_t>(width) * 3, 0);
    }
    std::ofstream(file, std::ios::binary).write(out.data(), static_cast<std::streamsize>(out.size()));
}

int Nearest(double v) { return static_cast<int>(std::nearbyint(v)); }

}  // namespace

PictureFolder::PictureFolder() { fs::create_directory(Root() / "Bilder"); }

void PictureFolder::WriteFramePictures() const {
    const fs::path bilder = Root() / "Bilder";
    WriteBitmap(bilder / "BarkGold.gif", 240, 154, gdi::RGB(150, 110, 40));
    WriteBitmap(bilder / "Up.jpg", 385, 13, gdi::RGB(90, 60, 20));
    WriteBitmap(bilder / "Down.jpg", 385, 13, gdi::RGB(90, 60, 20));
    WriteBitmap(bilder / "Right.jpg", 13, 385, gdi::RGB(90, 60, 20));
    WriteBitmap(bilder / "Left.jpg", 13, 385, gdi::RGB(90, 60, 20));
}

void PictureFolder::CopyShipped(const std::vector<std::string>& names) const {
    for (const std::string& name : names)
        fs::copy_file(ShippedPictures() / name, Root() / "Bilder" / name, fs::copy_options::overwrite_existing);
}

fs::path ShippedPictures() { return fs::path(TESSARIN_PICTURE_DIR); }

StartedGame::StartedGame(const PictureFolder& folder) {
    ResetGameState();
    platform_.Path = folder.Root().string();
    game_ = std::make_unique<Game>();
    game_->Show();
}

StartedGame::~StartedGame() {
    game_.reset();
    Global::ReleaseGameGrid();
    Global::ReleaseGameAI();
}

void StartedGame::NewGame(bool computerPlays, bool redBegins) {
    game_->mnuCheck(0).Checked(computerPlays);
    game_->mnuCheck(1).Checked(!computerPlays);
    game_->mnuPlayer(1).Checked(!redBegins);
    game_->mnuPlayer(2).Checked(redBegins);
    game_->mnuNew_Click();
}

std::vector<std::uint32_t> CopyPixels(gdi::HDC hdc) {
    const gdi::SurfaceBits bits = gdi::GetSurfaceBits(hdc);
    if (bits.pixels == nullptr) throw std::logic_error("no surface behind the device context");
    return {bits.pixels, bits.pixels + static_cast<std::size_t>(bits.width) * static_cast<std::size_t>(bits.height)};
}

void PutPixels(gdi::HDC hdc, const std::vector<std::uint32_t>& pixels) {
    const gdi::SurfaceBits bits = gdi::GetSurfaceBits(hdc);
    if (bits.pixels == nullptr ||
        static_cast<std::size_t>(bits.width) * static_cast<std::size_t>(bits.height) != pixels.size())
        throw std::logic_error("the surface changed its size");
    std::memcpy(bits.pixels, pixels.data(), pixels.size() * sizeof(std::uint32_t));
}

namespace {

constexpr int Lines[8][3][2] = {{{0, 0}, {0, 1}, {0, 2}}, {{1, 0}, {1, 1}, {1, 2}}, {{2, 0}, {2, 1}, {2, 2}},
                                {{0, 0}, {1, 0}, {2, 0}}, {{0, 1}, {1, 1}, {2, 1}}, {{0, 2}, {1, 2}, {2, 2}},
                                {{0, 0}, {1, 1}, {2, 2}}, {{2, 0}, {1, 1}, {0, 2}}};

}  // namespace

std::uint8_t Winner(const Global::CellMatrix& cells) {
    for (const auto& line : Lines) {
        const std::uint8_t first = cells(line[0][0], line[0][1]);
        if (first != 0 && cells(line[1][0], line[1][1]) == first && cells(line[2][0], line[2][1]) == first)
            return first;
    }
    return 0;
}

bool Full(const Global::CellMatrix& cells) {
    for (int c = 0; c < 3; ++c)
        for (int r = 0; r < 3; ++r)
            if (cells(c, r) == 0) return false;
    return true;
}

bool IsLine(const Global::CellLine& line) {
    for (const auto& candidate : Lines) {
        bool all = true;
        for (int k = 0; k < 3; ++k) {
            bool found = false;
            for (int j = 0; j < 3; ++j)
                found = found || (line(j).Col == candidate[k][0] && line(j).Row == candidate[k][1]);
            all = all && found;
        }
        if (all) return true;
    }
    return false;
}

BoardReader::BoardReader(Game& game, std::vector<std::uint32_t> emptyBoard)
    : game_(game), empty_(std::move(emptyBoard)), width_(static_cast<int>(game.Board.ScaleWidth())) {
    const int w = width_, h = static_cast<int>(game.Board.ScaleHeight());
    for (int i = 0; i <= 3; ++i) {
        edgesX_[static_cast<std::size_t>(i)] = Nearest(w / 3.0 * i);
        edgesY_[static_cast<std::size_t>(i)] = Nearest(h / 3.0 * i);
    }
    Grid& grid = Global::GameGrid();
    if (grid.BluePieceDC() != 0) looks_[1] = PictureLook(grid.BluePieceDC());
    if (grid.RedPieceDC() != 0) looks_[2] = PictureLook(grid.RedPieceDC());
    for (std::uint8_t code = 1; code <= 2; ++code)
        if (!looks_[code].on.piece) looks_[code] = ShapeLook(code, edgesX_[1], edgesY_[1]);
}

// The cross runs corner to corner and the disc fills the cell, so the cell's middle
// shows the piece; a point near the top-left corner is off both.
BoardReader::PieceLook BoardReader::ShapeLook(std::uint8_t code, int cellWidth, int cellHeight) {
    const gdi::COLORREF colour = code == Global::CodeBlue ? gdi::RGB(0, 0, 255) : gdi::RGB(255, 0, 0);
    return PieceLook{Probe{cellWidth / 2, cellHeight / 2, colour}, Probe{6, 12, std::nullopt}};
}

// On: the opaque non-white pixel nearest the picture's middle. Beside: the white
// (transparent) pixel nearest the top-left corner, if the picture has one.
BoardReader::PieceLook BoardReader::PictureLook(gdi::HDC picture) {
    const gdi::SurfaceBits bits = gdi::GetSurfaceBits(picture);
    PieceLook look;
    long bestOn = -1, bestBeside = -1;
    for (int y = 0; y < bits.height; ++y) {
        for (int x = 0; x < bits.width; ++x) {
            const gdi::COLORREF c = gdi::GetPixel(picture, x, y);
            const long dOn =
                (x - bits.width / 2L) * (x - bits.width / 2L) + (y - bits.height / 2L) * (y - bits.height / 2L);
            const long dBeside = static_cast<long>(x) * x + static_cast<long>(y) * y;
            if (c != gdi::RGB(255, 255, 255) && (bestOn < 0 || dOn < bestOn)) {
                bestOn = dOn;
                look.on = Probe{x, y, c};
            }
            if (c == gdi::RGB(255, 255, 255) && (bestBeside < 0 || dBeside < bestBeside)) {
                bestBeside = dBeside;
                look.beside = Probe{x, y, std::nullopt};
            }
        }
    }
    if (bestBeside < 0) look.beside = look.on;
    return look;
}

gdi::COLORREF BoardReader::Expected(std::uint8_t code, const Probe& probe, int x, int y, bool highlighted) const {
    gdi::COLORREF c = gdi::FromPixel(
        empty_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)]);
    if (code != 0 && probe.piece) c = *probe.piece;
    return highlighted ? (c & gdi::RGB(0, 255, 0)) : c;
}

std::string BoardReader::Mismatch(const Global::CellMatrix& cells,
                                  const std::optional<Global::CellLine>& highlighted) const {
    const gdi::HDC board = game_.Board.hDC();
    for (int col = 0; col < 3; ++col) {
        for (int row = 0; row < 3; ++row) {
            const std::uint8_t code = cells(col, row);
            bool lit = false;
            for (int k = 0; highlighted && k < 3; ++k)
                lit = lit || ((*highlighted)(k).Col == col && (*highlighted)(k).Row == row);
            const PieceLook& look = looks_[code == 0 ? 1 : code];
            for (const Probe* probe : {&look.on, &look.beside}) {
                const int x = edgesX_[static_cast<std::size_t>(col)] + probe->dx;
                const int y = edgesY_[static_cast<std::size_t>(row)] + probe->dy;
                const gdi::COLORREF want = Expected(code, *probe, x, y, lit);
                const gdi::COLORREF got = gdi::GetPixel(board, x, y);
                if (got != want) {
                    char text[160];
                    std::snprintf(text, sizeof text, "cell (%d, %d) code %d%s: pixel (%d, %d) is %06X, not %06X", col,
                                  row, code, lit ? " highlighted" : "", x, y, got, want);
                    return text;
                }
            }
        }
    }
    return {};
}

}  // namespace proof
