#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QtTest/QTest>
#include <memory>
#include <string>
#include <vector>

#include "support/QtTestApplication.h"
#include "platform/gdi/Gdi.h"
#include "platform/toolkit/qt/FormWindow.h"
#include "window/Game.h"

namespace {


QApplication& Application() { return *static_cast<QApplication*>(QCoreApplication::instance()); }

// Records what reaches the window's handlers.
class RecordingGame : public Game {
public:
    std::vector<std::string> events;
    std::vector<std::pair<float, float>> presses;

    void Board_MouseDown(std::int16_t Button, std::int16_t, float X, float Y) override {
        events.push_back("Board_MouseDown " + std::to_string(Button));
        presses.emplace_back(X, Y);
    }
    void mnuNew_Click() override { events.push_back("mnuNew_Click"); }
    void mnuPlayer_Click(std::int16_t Index) override { events.push_back("mnuPlayer_Click " + std::to_string(Index)); }
    void mnuCheck_Click(std::int16_t Index) override { events.push_back("mnuCheck_Click " + std::to_string(Index)); }
    void mnuEnd_Click() override { events.push_back("mnuEnd_Click"); }

protected:
    void Form_Load() override { events.push_back("Form_Load"); }
    void Form_Unload(std::int16_t& Cancel) override {
        events.push_back("Form_Unload");
        Cancel = -1;
    }
};

class GameWindowTest : public ::testing::Test {
protected:
    GameWindowTest() {
        game.Show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
        game.events.clear();
    }

    void PressAt(QPoint canvasPoint, Qt::MouseButton button = Qt::LeftButton) {
        const QPoint at = window.Canvas()->mapTo(&window, canvasPoint);
        QTest::mousePress(window.windowHandle(), button, Qt::NoModifier, at);
        QTest::mouseRelease(window.windowHandle(), button, Qt::NoModifier, at);
    }

    QAction* MenuAction(const std::vector<QString>& path) {
        QList<QAction*> actions = window.MenuBar()->actions();
        QAction* found = nullptr;
        for (const QString& caption : path) {
            found = nullptr;
            // The caption as shown, without the access key's mark.
            for (QAction* action : actions)
                if (action->iconText() == caption) found = action;
            if (found == nullptr) return nullptr;
            if (found->menu()) actions = found->menu()->actions();
        }
        return found;
    }

    QApplication& application = Application();
    RecordingGame game;
    toolkit::qt::FormWindow window{game};
};

TEST_F(GameWindowTest, ShowsAFixedClientAreaUnderTheMenuBar) {
    EXPECT_EQ(window.windowTitle(), "Tessarin");
    EXPECT_EQ(window.Canvas()->size(), QSize(454, 486));
    EXPECT_EQ(window.Canvas()->y(), window.MenuBar()->height());
    EXPECT_FALSE(window.windowFlags() & Qt::WindowMaximizeButtonHint);
    const QSize before = window.size();
    window.resize(800, 800);
    window.showMaximized();
    QApplication::processEvents();
    EXPECT_EQ(window.Canvas()->size(), QSize(454, 486));
    EXPECT_EQ(window.minimumSize(), before);
    EXPECT_EQ(window.maximumSize(), before);

    ASSERT_NE(window.SurfaceWidget(game.Board), nullptr);
    EXPECT_EQ(window.SurfaceWidget(game.Board)->geometry(), QRect(32, 32, 385, 385));
    EXPECT_EQ(window.SurfaceWidget(game.Buff(0)), nullptr) << "the hidden buffer is never shown";
}

TEST_F(GameWindowTest, BoardCornersArriveAsZeroAnd384AndOtherPressesReachNothing) {
    PressAt({32, 32});
    PressAt({416, 416}, Qt::RightButton);
    PressAt({31, 31});    // frame corner
    PressAt({417, 200});  // right frame strip
    PressAt({200, 455});  // status line
    PressAt({5, 480});    // background
    ASSERT_EQ(game.presses.size(), 2u);
    EXPECT_EQ(game.presses[0], std::make_pair(0.0f, 0.0f));
    EXPECT_EQ(game.presses[1], std::make_pair(384.0f, 384.0f));
    EXPECT_EQ(game.events, (std::vector<std::string>{"Board_MouseDown 1", "Board_MouseDown 2"}));
}

TEST_F(GameWindowTest, MenuShowsTheDesignedChecksAndRunsTheHandlers) {
    const std::vector<std::pair<std::vector<QString>, bool>> checks{
        {{"File", "Who begin", "Player1"}, true},
        {{"File", "Who begin", "Player2"}, false},
        {{"File", "Player 2", "Computer"}, false},
        {{"File", "Player 2", "Human"}, true}};
    for (const auto& [path, checked] : checks) {
        QAction* action = MenuAction(path);
        ASSERT_NE(action, nullptr) << path.back().toStdString();
        EXPECT_EQ(action->isChecked(), checked) << path.back().toStdString();
        EXPECT_TRUE(action->isCheckable()) << path.back().toStdString() << " is a choice, checked or not";
    }
    EXPECT_EQ(MenuAction({"File"})->text(), "&File");
    EXPECT_FALSE(MenuAction({"File", "New game"})->isCheckable());
    const QList<QAction*> file = MenuAction({"File"})->menu()->actions();
    ASSERT_EQ(file.size(), 6);
    EXPECT_TRUE(file[1]->isSeparator());
    EXPECT_TRUE(file[4]->isSeparator());
    EXPECT_EQ(file[5]->text(), "Exit");

    MenuAction({"File", "New game"})->trigger();
    MenuAction({"File", "Who begin", "Player2"})->trigger();
    MenuAction({"File", "Player 2", "Computer"})->trigger();
    MenuAction({"File", "Exit"})->trigger();
    EXPECT_EQ(game.events, (std::vector<std::string>{"mnuNew_Click", "mnuPlayer_Click 2", "mnuCheck_Click 0",
                                                      "mnuEnd_Click"}));

    game.mnuPlayer(1).Checked(false);
    game.mnuPlayer(2).Checked(true);
    EXPECT_FALSE(MenuAction({"File", "Who begin", "Player1"})->isChecked());
    EXPECT_TRUE(MenuAction({"File", "Who begin", "Player2"})->isChecked());
}

TEST_F(GameWindowTest, CtrlNChoosesNewGame) {
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(&window, Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(game.events, std::vector<std::string>{"mnuNew_Click"});
}

TEST_F(GameWindowTest, TheCloseBoxGoesThroughTheUnloadHandler) {
    EXPECT_FALSE(window.close());
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(game.events, std::vector<std::string>{"Form_Unload"});
}

TEST_F(GameWindowTest, EverythingReappearsUnchangedAfterTheWindowIsCovered) {
    // Stand-ins for the start-up drawing: window background and board content.
    gdi::HBRUSH brush = gdi::CreateSolidBrush(gdi::RGB(120, 80, 40));
    gdi::DeleteObject(gdi::SelectObject(game.hDC(), brush));
    gdi::Ellipse(game.hDC(), -10, -10, 500, 500);
    gdi::MoveToEx(game.Board.hDC(), 0, 128, nullptr);
    gdi::LineTo(game.Board.hDC(), 385, 128);
    window.Canvas()->repaint();

    const QImage before = window.grab().toImage();
    const QPoint origin = window.Canvas()->mapTo(&window, QPoint(0, 0));
    const auto at = [&](const QImage& shot, int x, int y) { return shot.pixelColor(origin + QPoint(x, y)); };
    EXPECT_EQ(at(before, 100, 0), QColor(224, 224, 224)) << "Line1 along the top edge";
    EXPECT_EQ(at(before, 100, 128 + 32), QColor(170, 170, 170)) << "the board's drawing, in its own pen";
    EXPECT_EQ(at(before, 100, 100), QColor(224, 224, 224)) << "the board's background";
    const std::uint32_t corner = game.Image5.Picture->Pixels[6 * 13 + 6];
    EXPECT_EQ(at(before, 19 + 6, 19 + 6).rgb() & 0xFFFFFF, corner & 0xFFFFFF) << "Image5 at (19, 19)";
    EXPECT_EQ(at(before, 5, 300), QColor(120, 80, 40)) << "the window's persistent image";

    QWidget cover;
    cover.setGeometry(window.geometry());
    cover.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&cover));
    cover.hide();
    QApplication::processEvents();
    window.repaint();
    EXPECT_EQ(window.grab().toImage(), before);
}

// The focus frame is the front end's alone: the board's own pixels never change, and a mouse press takes it away.
TEST_F(GameWindowTest, KeysMoveAFocusFrameOverTheBoardAndSpacePressesTheCellCentre) {
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QWidget* board = window.SurfaceWidget(game.Board);
    ASSERT_NE(board, nullptr);
    EXPECT_TRUE(board->hasFocus());
    const auto surface = [this] {
        const gdi::SurfaceBits bits = gdi::GetSurfaceBits(game.Board.hDC());
        return std::vector<std::uint32_t>(bits.pixels, bits.pixels + bits.width * bits.height);
    };
    const std::vector<std::uint32_t> drawn = surface();
    const QImage plain = board->grab().toImage();

    QTest::keyClick(board, Qt::Key_Right);
    const QImage framed = board->grab().toImage();
    const QRect cell(128, 0, 128, 128);
    const QRect inside = cell.adjusted(3, 3, -3, -3);
    int inFrame = 0;
    int elsewhere = 0;
    for (int y = 0; y < plain.height(); ++y)
        for (int x = 0; x < plain.width(); ++x)
            if (plain.pixel(x, y) != framed.pixel(x, y))
                ++(cell.contains(x, y) && !inside.contains(x, y) ? inFrame : elsewhere);
    EXPECT_GT(inFrame, 128 * 4) << "a frame around cell (1, 2)";
    EXPECT_EQ(elsewhere, 0);
    EXPECT_EQ(surface(), drawn) << "nothing drawn into the board";

    QTest::keyClick(board, Qt::Key_Space);
    QTest::keyClick(board, Qt::Key_Return);
    EXPECT_EQ(game.presses, (std::vector<std::pair<float, float>>{{192.0f, 64.0f}, {192.0f, 64.0f}}));

    PressAt({40, 40});
    EXPECT_EQ(board->grab().toImage(), plain);
}

}  // namespace
