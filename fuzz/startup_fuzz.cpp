// Feeds any bytes to the window's start-up as one of its eight picture files. The
// first byte picks the file (low three bits), whether it is there at all (bit 3) and
// the options of the game played afterwards (bits 4 and 5); the rest is the file.
// The other seven files are the shipped ones, in a folder of their own.
//
// Start-up must either finish, after which a whole game is played through the
// board's press handler, or fail with a PictureLoadError that names the file. A
// crash, a hang, any other exception or a drawing object outliving the window is a
// finding.
#include <QGuiApplication>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "board/Grid.h"
#include "opponent/PlayerAI.h"
#include "platform/gdi/Gdi.h"
#include "platform/toolkit/Runtime.h"
#include "platform/toolkit/qt/QtPlatform.h"
#include "state/Global.h"
#include "window/Game.h"

namespace {

namespace fs = std::filesystem;

struct PictureFile {
    const char* Name;
    bool Optional;  // the board background and the pieces may be missing
};

constexpr PictureFile kFiles[] = {{"BarkGold.gif", false}, {"Background.jpg", true}, {"cross.gif", true},
                                  {"Bullet.gif", true},    {"Up.jpg", false},        {"Right.jpg", false},
                                  {"Down.jpg", false},     {"Left.jpg", false}};
constexpr int kFileCount = static_cast<int>(std::size(kFiles));

const char* const kEndText = "Press new game in the file menu to begin";

[[noreturn]] void Fail(const std::string& what) {
    std::fprintf(stderr, "startup_fuzz: %s\n", what.c_str());
    std::abort();
}

struct Folder {
    fs::path Root;
    std::vector<std::string> Shipped;  // the shipped bytes of each file

    fs::path PathOf(int file) const { return Root / "Bilder" / kFiles[file].Name; }

    void Write(int file, const std::uint8_t* data, std::size_t size) const {
        std::ofstream out(PathOf(file), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
        if (!out) Fail("cannot write " + PathOf(file).string());
    }
    void Restore(int file) const {
        Write(file, reinterpret_cast<const std::uint8_t*>(Shipped[static_cast<std::size_t>(file)].data()),
              Shipped[static_cast<std::size_t>(file)].size());
    }
};

Folder* TheFolder = nullptr;

// Qt's, but with the pictures in the fuzzer's folder and no question answered: start-up and a game ask none.
class FuzzPlatform : public toolkit::qt::QtPlatform {
public:
    std::int16_t MsgBox(const std::string& prompt, std::int16_t, const std::string&) override {
        Fail("start-up or a game asked: " + prompt);
    }
    std::string AppPath() override { return TheFolder->Root.string(); }
};

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) Fail("cannot read the shipped picture " + path.string());
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A fresh process: start-up leaves the flags it does not set as the program starts with them.
void ResetGlobals() {
    Global::Cells.Fill(Global::CodeEmpty);
    Global::PlayerTurn = false;
    Global::GameOver = false;
    Global::ComputerPlays = false;
}

std::size_t PiecesOnBoard() {
    std::size_t count = 0;
    for (std::int32_t col = 0; col <= 2; ++col)
        for (std::int32_t row = 0; row <= 2; ++row) count += Global::Cells(col, row) != Global::CodeEmpty;
    return count;
}

// Presses the cells in reading order through the window's mouse handler until the game ends.
void PlayOneGame(Game& game, bool computerPlays, bool redBegins) {
    game.mnuCheck(0).Checked(computerPlays);
    game.mnuCheck(1).Checked(!computerPlays);
    game.mnuPlayer(1).Checked(!redBegins);
    game.mnuPlayer(2).Checked(redBegins);
    game.NewGame();
    if (Global::GameOver) Fail("a new game starts over");
    const float w = game.Board.ScaleWidth(), h = game.Board.ScaleHeight();
    for (int cell = 0; cell < 9 && !Global::GameOver; ++cell) {
        const std::size_t before = PiecesOnBoard();
        game.Board.MouseDown(1, 0, w / 3 * static_cast<float>(cell % 3) + w / 6,
                             h / 3 * static_cast<float>(cell / 3) + h / 6);
        if (PiecesOnBoard() < before) Fail("a press took a piece away");
    }
    if (!Global::GameOver) Fail("nine presses in reading order did not end the game");
    if (game.Text.Caption() != kEndText) Fail("a finished game shows \"" + game.Text.Caption() + "\"");
}

void RunStartUp(int file, bool missing, bool computerPlays, bool redBegins) {
    const std::size_t objectsBefore = gdi::LiveObjectCount();
    ResetGlobals();
    {
        Game game;
        bool started = false;
        try {
            game.Show();
            started = true;
        } catch (const toolkit::PictureLoadError& error) {
            const std::string message = error.what();
            if (message.find(kFiles[file].Name) == std::string::npos)
                Fail("the load error does not name " + std::string(kFiles[file].Name) + ": " + message);
        } catch (const std::exception& error) {
            Fail(std::string("start-up threw something other than a picture load error: ") + error.what());
        }
        if (!started && missing && kFiles[file].Optional)
            Fail(std::string("a missing ") + kFiles[file].Name + " stopped start-up");
        if (started && missing && !kFiles[file].Optional)
            Fail(std::string("start-up went on without ") + kFiles[file].Name);
        if (started) {
            if (!Global::GameOver) Fail("after start-up a press would already make a move");
            if (game.Text.Caption() != kEndText) Fail("start-up changed the status line");
            PlayOneGame(game, computerPlays, redBegins);
        }
    }
    Global::ReleaseGameGrid();
    Global::ReleaseGameAI();
    if (gdi::LiveObjectCount() != objectsBefore)
        Fail(std::to_string(gdi::LiveObjectCount()) + " drawing objects alive after the window, " +
             std::to_string(objectsBefore) + " before");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static QGuiApplication application(*argc, *argv);
    static FuzzPlatform platform;
    static const toolkit::Platform::Installation installed(platform);

    static Folder folder;
    char pattern[] = "/tmp/tessarin-startup-fuzz-XXXXXX";
    if (mkdtemp(pattern) == nullptr) Fail("cannot make a temporary folder");
    folder.Root = pattern;
    fs::create_directory(folder.Root / "Bilder");
    for (int file = 0; file < kFileCount; ++file) {
        folder.Shipped.push_back(ReadAll(fs::path(TESSARIN_PICTURE_DIR) / kFiles[file].Name));
        folder.Restore(file);
    }
    TheFolder = &folder;
    std::atexit([] { fs::remove_all(TheFolder->Root); });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return -1;
    const int file = data[0] & 7;
    const bool missing = (data[0] & 8) != 0;
    const bool computerPlays = (data[0] & 16) != 0;
    const bool redBegins = (data[0] & 32) != 0;
    if (missing)
        fs::remove(TheFolder->PathOf(file));
    else
        TheFolder->Write(file, data + 1, size - 1);
    RunStartUp(file, missing, computerPlays, redBegins);
    TheFolder->Restore(file);
    return 0;
}
