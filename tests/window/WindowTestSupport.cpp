#include "WindowTestSupport.h"

#include <QApplication>
#include <fstream>

#include "state/Global.h"
#include "support/GameState.h"
#include "support/QtTestApplication.h"
#include "platform/toolkit/qt/FormWindow.h"
#include "platform/toolkit/qt/QtPlatform.h"

namespace fs = std::filesystem;

namespace windowtest {

namespace {}  // namespace

ScriptedMsgBox::ScriptedMsgBox() {
    platform_.Ask = [this](const std::string& prompt, std::int16_t buttons, const std::string& title) -> std::int16_t {
        asked_.push_back({prompt, buttons, title});
        if (WhileOpen) WhileOpen(asked_.back());
        if (answers_.empty()) {
            ADD_FAILURE() << "unexpected question: " << prompt;
            return toolkit::vbNo;
        }
        const std::int16_t answer = answers_.front();
        answers_.pop_front();
        return answer;
    };
}

PictureFolder::PictureFolder() {
    fs::copy(SourcePictures(), Root() / "Bilder", fs::copy_options::recursive);
    platform_.Path = Root().string();
}

void PictureFolder::Remove(const std::string& name) const { fs::remove(File(name)); }

void PictureFolder::Corrupt(const std::string& name) const {
    std::ofstream out(File(name), std::ios::binary | std::ios::trunc);
    out << "this is not a picture, only some text with a few numbers 0123456789\n";
}

fs::path SourcePictures() { return fs::path(TESSARIN_SOURCE_DIR) / "Bilder"; }

toolkit::StdPicture Decode(const fs::path& file) { return toolkit::qt::DecodePicture(file.string()); }

Snapshot Capture(gdi::HDC hdc) {
    const gdi::SurfaceBits bits = gdi::GetSurfaceBits(hdc);
    Snapshot shot{bits.width, bits.height, {}};
    if (bits.pixels == nullptr) return shot;
    shot.Pixels.assign(bits.pixels, bits.pixels + static_cast<std::size_t>(bits.width) * bits.height);
    for (auto& pixel : shot.Pixels) pixel &= 0xFFFFFFu;
    return shot;
}

WindowTest::WindowTest() {
    platform.Path = TESSARIN_SOURCE_DIR;
    platform.Decode = toolkit::qt::DecodePicture;
}

void WindowTest::SetUp() { ASSERT_NE(QCoreApplication::instance(), nullptr); }

void WindowTest::TearDown() {
    game.reset();
    testsupport::ResetGameState();
    EXPECT_FALSE(msgBox.Unanswered()) << "a scripted answer was never asked for";
}

Game& WindowTest::Start() {
    game = std::make_unique<Game>();
    game->Show();
    return *game;
}

std::string WindowTest::StartFailure() {
    game = std::make_unique<Game>();
    toolkit::qt::FormWindow window(*game);
    try {
        game->Show();
    } catch (const toolkit::PictureLoadError& error) {
        EXPECT_FALSE(game->Visible());
        EXPECT_FALSE(window.isVisible());
        return error.what();
    }
    EXPECT_TRUE(window.isVisible());
    return "";
}

void WindowTest::Press(int col, int row, std::int16_t button) {
    game->Board.MouseDown(button, 0, testsupport::CellCentre(BoardSide, col), testsupport::CellCentre(BoardSide, row));
}

std::vector<std::uint8_t> WindowTest::CellCodes() const {
    std::vector<std::uint8_t> codes;
    for (int col = 0; col < 3; ++col)
        for (int row = 0; row < 3; ++row) codes.push_back(Global::Cells(col, row));
    return codes;
}

}  // namespace windowtest
