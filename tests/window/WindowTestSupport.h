// Shared ground for the window tests: one Qt application per process, the Qt picture
// decoder, a message box answered from a script, a private copy of the pictures, and
// a fresh game state around every test. Each installs its own test platform.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/gdi/Gdi.h"
#include "platform/toolkit/Runtime.h"
#include "support/CellCentre.h"
#include "support/ScratchFolder.h"
#include "support/TestPlatform.h"
#include "window/Game.h"

namespace windowtest {

struct Question {
    std::string Prompt;
    std::int16_t Buttons;
    std::string Title;
};

// Answers each question with the next scripted answer; an unscripted question is a
// test failure and is answered No, the answer that changes nothing.
class ScriptedMsgBox {
public:
    ScriptedMsgBox();

    void Answer(std::int16_t answer) { answers_.push_back(answer); }
    const std::vector<Question>& Asked() const { return asked_; }
    bool Unanswered() const { return !answers_.empty(); }
    // Runs inside the box, while it is open.
    std::function<void(const Question&)> WhileOpen;

private:
    std::deque<std::int16_t> answers_;
    std::vector<Question> asked_;
    testsupport::TestPlatform platform_;
};

// A copy of Bilder/ in a folder of its own, which App::Path points at while it lives.
class PictureFolder {
public:
    PictureFolder();

    std::filesystem::path Root() const { return scratch_.Root(); }
    std::filesystem::path File(const std::string& name) const { return Root() / "Bilder" / name; }
    void Remove(const std::string& name) const;
    // Replaces the file with bytes that are no picture at all.
    void Corrupt(const std::string& name) const;

private:
    testsupport::ScratchFolder scratch_{"window"};
    testsupport::TestPlatform platform_;
};

std::filesystem::path SourcePictures();
toolkit::StdPicture Decode(const std::filesystem::path& file);

// The board surface's pixels, 0x00RRGGBB, row-major.
struct Snapshot {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint32_t> Pixels;
    std::uint32_t At(int x, int y) const { return Pixels[static_cast<std::size_t>(y) * Width + x]; }
};
Snapshot Capture(gdi::HDC hdc);

constexpr int BoardSide = 385;

class WindowTest : public ::testing::Test {
protected:
    // The pictures of the source tree, unless a PictureFolder member points elsewhere.
    WindowTest();
    void SetUp() override;
    void TearDown() override;

    // A started window: loaded and shown through its own Show, as the program does.
    Game& Start();
    // Starts the window as the program does: the load error's text, or "" when it
    // started. After a failure the window must never have been shown.
    std::string StartFailure();
    void Press(int col, int row, std::int16_t button = 1);
    void Choose(toolkit::MenuItem& item) { item.Choose(); }
    std::vector<std::uint8_t> CellCodes() const;

    testsupport::TestPlatform platform;
    ScriptedMsgBox msgBox;
    std::unique_ptr<Game> game;
};

}  // namespace windowtest
