// Shared ground for the whole-game proofs: a picture folder for start-up, a started
// window with the game state of a fresh process, and the board read back pixel by
// pixel, cell by cell.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/gdi/Gdi.h"
#include "state/Global.h"
#include "support/CellCentre.h"
#include "support/GameState.h"
#include "support/ScratchFolder.h"
#include "support/TestPlatform.h"
#include "window/Game.h"

namespace proof {

// The sanitizer builds run the drawing many times slower than the others.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool Sanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool Sanitized = true;
#else
constexpr bool Sanitized = false;
#endif
#else
constexpr bool Sanitized = false;
#endif

inline const std::string EndText = "Press new game in the file menu to begin";
std::string TurnText(bool redToMove);

// A program folder of its own with a Bilder/ inside, which App::Path points at while a
// StartedGame from it lives.
class PictureFolder {
public:
    PictureFolder();

    std::filesystem::path Root() const { return scratch_.Root(); }
    // Plain 24-bit bitmaps under the program's file names: the tile and the four strips,
    // so start-up runs without any picture decoder and draws the pieces as shapes.
    void WriteFramePictures() const;
    // The shipped files, as they are.
    void CopyShipped(const std::vector<std::string>& names) const;

private:
    testsupport::ScratchFolder scratch_{"proof"};
};

std::filesystem::path ShippedPictures();

using testsupport::CellCentre;
using testsupport::ResetGameState;

// The window, started up from a picture folder. Start-up failures throw.
class StartedGame {
public:
    explicit StartedGame(const PictureFolder& folder);
    ~StartedGame();
    StartedGame(const StartedGame&) = delete;
    StartedGame& operator=(const StartedGame&) = delete;

    Game& Window() { return *game_; }
    // Options through the menu's check marks, then the new-game command.
    void NewGame(bool computerPlays, bool redBegins);

private:
    testsupport::TestPlatform platform_;
    std::unique_ptr<Game> game_;
};

// What each cell must show, read back from the board surface at two points: one on
// the piece and one beside it, where the empty board shows through.
class BoardReader {
public:
    // `emptyBoard` is the board right after a new game, before any piece.
    BoardReader(Game& game, std::vector<std::uint32_t> emptyBoard);

    // An empty message when every cell shows what `cells` and the highlighted line say.
    std::string Mismatch(const Global::CellMatrix& cells, const std::optional<Global::CellLine>& highlighted) const;

private:
    struct Probe {
        int dx = 0;  // from the cell's corner
        int dy = 0;
        std::optional<gdi::COLORREF> piece;  // what the piece shows there; none where it is transparent
    };
    struct PieceLook {
        Probe on;
        Probe beside;
    };
    static PieceLook ShapeLook(std::uint8_t code, int cellWidth, int cellHeight);
    static PieceLook PictureLook(gdi::HDC picture);

    gdi::COLORREF Expected(std::uint8_t code, const Probe& probe, int x, int y, bool highlighted) const;

    Game& game_;
    std::vector<std::uint32_t> empty_;
    int width_ = 0;
    std::array<PieceLook, 3> looks_;  // by cell code; [0] unused
    std::array<int, 4> edgesX_{};
    std::array<int, 4> edgesY_{};
};

// The surface's pixels, to save and put back.
std::vector<std::uint32_t> CopyPixels(gdi::HDC hdc);
void PutPixels(gdi::HDC hdc, const std::vector<std::uint32_t>& pixels);

// Independent of the game's own rules: the winner's code, or 0.
std::uint8_t Winner(const Global::CellMatrix& cells);
bool Full(const Global::CellMatrix& cells);
// True when the three cells are one of the eight lines.
bool IsLine(const Global::CellLine& line);

}  // namespace proof
