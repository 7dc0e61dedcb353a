#include "platform/toolkit/win32/FormWindow.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/toolkit/Runtime.h"
#include "platform/toolkit/win32/Frame.h"
#include "platform/toolkit/win32/Win32Platform.h"

namespace {

using toolkit::PictureBox;
using toolkit::win32::FormWindow;

toolkit::Form::Design SmallDesign() {
    toolkit::Form::Design design;
    design.Caption = "Test";
    design.ClientWidth = 200;
    design.ClientHeight = 120;
    design.BackColor = gdi::RGB(10, 20, 30);
    return design;
}

PictureBox::Design SurfaceDesign(int left, gdi::COLORREF back) {
    PictureBox::Design design;
    design.Left = left;
    design.Top = 10;
    design.Width = 50;
    design.Height = 40;
    design.BackColor = back;
    return design;
}

// A 2 x 2 table over a 50 x 40 surface, with its cursor on the top-left cell; it keeps the keys it gets.
class FakeTable : public toolkit::CellTable {
public:
    int Rows() const override { return 2; }
    int Columns() const override { return 2; }
    std::string CellName(int, int) const override { return ""; }
    toolkit::CellBox CellRect(int row, int column) const override { return {column * 25, row * 20, 25, 20}; }
    void PressCell(int, int) override {}
    int CursorRow() const override { return 0; }
    int CursorColumn() const override { return 0; }
    bool CursorVisible() const override { return Visible; }
    void KeyDown(toolkit::Key pressed) override {
        Keys.push_back(pressed);
        Visible = true;
        ReportCursorChanged();
    }

    std::vector<toolkit::Key> Keys;
    bool Visible = false;
};

// A form with two surfaces, the second over part of the first, a half-transparent image and a menu with a
// checkable command and a shortcut.
class TestForm : public toolkit::Form {
public:
    TestForm()
        : Form(SmallDesign()),
          Under(SurfaceDesign(10, gdi::RGB(255, 0, 0))),
          Over(SurfaceDesign(40, gdi::RGB(0, 0, 255))) {
        auto picture = std::make_shared<toolkit::Picture>();
        picture->Width = 2;
        picture->Height = 1;
        picture->Pixels = {0x80FFFFFFu, 0xFF00FF00u};
        Mark = toolkit::Image{150, 100, 2, 1, picture};
        Under.Table(&Table);
        Place(Under);
        Place(Over);
        Place(Mark);
        toolkit::MenuItem& file = AddMenu({"mnuFile", std::nullopt, "File", false, true, true, "", 'F'});
        Option = &file.Add({"mnuOption", std::nullopt, "Option", false, true, true, "Ctrl+O"});
        Option->Click = [this] {
            if (Throw) throw std::runtime_error("the handler broke");
            Option->Checked(!Option->Checked());
        };
    }

    FakeTable Table;
    PictureBox Under;
    PictureBox Over;
    toolkit::Image Mark;
    toolkit::MenuItem* Option = nullptr;
    bool Throw = false;
    int UnloadAsked = 0;
    bool AllowClose = false;

protected:
    void Form_Unload(std::int16_t& Cancel) override {
        ++UnloadAsked;
        if (!AllowClose) Cancel = 1;
    }
};

std::uint32_t PixelAt(const gdi::SurfaceBits& bits, int x, int y) {
    return bits.pixels[static_cast<std::size_t>(y) * bits.width + x];
}

TEST(Frame, ComposesSurfacesInOrderAndBlendsImages) {
    TestForm form;
    toolkit::win32::Frame frame(form);
    const gdi::SurfaceBits bits = frame.Compose({0, 0, 200, 120});
    EXPECT_EQ(PixelAt(bits, 0, 0), gdi::ToPixel(gdi::RGB(10, 20, 30)));
    EXPECT_EQ(PixelAt(bits, 15, 15), 0xFFFF0000u);
    EXPECT_EQ(PixelAt(bits, 45, 15), 0xFF0000FFu);    // the later surface lies on top
    EXPECT_EQ(PixelAt(bits, 150, 100), 0xFF858A8Fu);  // half white over the form's colour
    EXPECT_EQ(PixelAt(bits, 151, 100), 0xFF00FF00u);
    EXPECT_EQ(frame.SurfaceAt(45, 15), &form.Over);
    EXPECT_EQ(frame.SurfaceAt(15, 49.5), &form.Under);
    EXPECT_EQ(frame.SurfaceAt(15, 50), nullptr);
}

// A surface without a persistent image loses its drawing when painted, so only those the update meets are.
TEST(Frame, PaintsOnlyTheSurfacesTheUpdateMeets) {
    TestForm form;
    form.Under.AutoRedraw(false);
    gdi::SetPixel(form.Under.hDC(), 1, 1, gdi::RGB(1, 2, 3));
    toolkit::win32::Frame frame(form);
    frame.Compose({100, 0, 200, 120});
    EXPECT_EQ(gdi::GetPixel(form.Under.hDC(), 1, 1), gdi::RGB(1, 2, 3));
    frame.Compose({0, 0, 20, 20});
    EXPECT_EQ(gdi::GetPixel(form.Under.hDC(), 1, 1), gdi::RGB(255, 0, 0));
}

// Over the surface's image, never in it: white with black dashes along the cursor's cell.
TEST(Frame, DrawsTheCursorsFocusFrameOverItsCellWhileItShows) {
    TestForm form;
    toolkit::win32::Frame frame(form);
    EXPECT_EQ(PixelAt(frame.Compose({0, 0, 200, 120}), 10, 10), 0xFFFF0000u);
    form.Table.Visible = true;
    const gdi::SurfaceBits bits = frame.Compose({0, 0, 200, 120});
    EXPECT_EQ(PixelAt(bits, 10, 10), 0xFF000000u);
    EXPECT_EQ(PixelAt(bits, 14, 10), 0xFFFFFFFFu);
    EXPECT_EQ(PixelAt(bits, 20, 20), 0xFFFF0000u);  // inside the frame
    EXPECT_EQ(PixelAt(bits, 36, 10), 0xFFFF0000u);  // the next cell
    EXPECT_EQ(gdi::GetPixel(form.Under.hDC(), 0, 0), gdi::RGB(255, 0, 0));
}

class FormWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        window = std::make_unique<FormWindow>(form);
        window->ReportFailure = [this](const std::string& what) { reported.push_back(what); };
        form.Show();
    }
    void TearDown() override { window.reset(); }

    TestForm form;
    std::unique_ptr<FormWindow> window;
    std::vector<std::string> reported;
};

TEST_F(FormWindowTest, HasTheDesignedClientAreaAndNoMaximiseBox) {
    RECT client;
    GetClientRect(window->Handle(), &client);
    EXPECT_EQ(client.right, static_cast<LONG>(200 * window->Scale() + 0.5));
    EXPECT_EQ(client.bottom, static_cast<LONG>(120 * window->Scale() + 0.5));
    EXPECT_EQ(GetWindowLongPtrW(window->Handle(), GWL_STYLE) & WS_MAXIMIZEBOX, 0);
    EXPECT_TRUE(IsWindowVisible(window->Handle()));
}

TEST_F(FormWindowTest, PressesReachTheSurfaceOnTopInItsOwnPixels) {
    std::vector<std::string> presses;
    const auto record = [&presses](const char* name) {
        return [&presses, name](std::int16_t button, std::int16_t shift, float x, float y) {
            presses.push_back(std::string(name) + " " + std::to_string(button) + " " + std::to_string(shift) + " " +
                              std::to_string(static_cast<int>(x)) + "," + std::to_string(static_cast<int>(y)));
        };
    };
    form.Under.MouseDown = record("under");
    form.Over.MouseDown = record("over");
    const double scale = window->Scale();
    const auto at = [scale](int x, int y) {
        return MAKELPARAM(static_cast<int>(x * scale + 0.5), static_cast<int>(y * scale + 0.5));
    };
    SendMessageW(window->Handle(), WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, at(20, 30));
    SendMessageW(window->Handle(), WM_RBUTTONDOWN, MK_RBUTTON, at(60, 12));
    SendMessageW(window->Handle(), WM_MBUTTONDOWN, MK_MBUTTON, at(180, 100));  // on no surface
    EXPECT_EQ(presses, (std::vector<std::string>{"under 1 2 10,20", "over 2 0 20,2"}));
}

TEST_F(FormWindowTest, MenuChecksFollowTheModelAndAFailedHandlerEndsTheLoop) {
    const HMENU file = GetSubMenu(GetMenu(window->Handle()), 0);
    const UINT id = GetMenuItemID(file, 0);
    SendMessageW(window->Handle(), WM_COMMAND, id, 0);
    EXPECT_TRUE(GetMenuState(file, id, MF_BYCOMMAND) & MF_CHECKED);
    form.Option->Checked(false);
    EXPECT_FALSE(GetMenuState(file, id, MF_BYCOMMAND) & MF_CHECKED);

    form.Throw = true;
    SendMessageW(window->Handle(), WM_COMMAND, id, 0);
    SendMessageW(window->Handle(), WM_COMMAND, id, 0);
    EXPECT_EQ(reported, std::vector<std::string>{"the handler broke"});
    EXPECT_EQ(window->Run(), 1);
}

TEST_F(FormWindowTest, ArrowsSpaceAndReturnReachTheTableAndTheMenuHasItsAccessKey) {
    for (const WPARAM key : {VK_LEFT, VK_DOWN, VK_SPACE, VK_RETURN, VK_F5})
        SendMessageW(window->Handle(), WM_KEYDOWN, key, 0);
    EXPECT_EQ(form.Table.Keys, (std::vector<toolkit::Key>{toolkit::Key::Left, toolkit::Key::Down, toolkit::Key::Space,
                                                          toolkit::Key::Return}));
    wchar_t caption[16] = {};
    GetMenuStringW(GetMenu(window->Handle()), 0, caption, 16, MF_BYPOSITION);
    EXPECT_EQ(std::wstring(caption), L"&File");
}

TEST_F(FormWindowTest, TheCloseBoxAsksTheUnloadEventAndEndsTheLoopOnlyWhenAllowed) {
    SendMessageW(window->Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(form.UnloadAsked, 1);
    EXPECT_TRUE(IsWindow(window->Handle()));
    form.AllowClose = true;
    PostMessageW(window->Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(window->Run(), 0);
    EXPECT_TRUE(form.Closed());
    EXPECT_EQ(window->Handle(), nullptr);
}

TEST(MessageBoxAnswer, ABoxLeftWithoutAButtonCountsAsItsCancellingAnswer) {
    using toolkit::win32::MsgBoxAnswer;
    EXPECT_EQ(MsgBoxAnswer(IDCANCEL, toolkit::vbYesNo), toolkit::vbNo);
    EXPECT_EQ(MsgBoxAnswer(IDYES, toolkit::vbYesNo), toolkit::vbYes);
    EXPECT_EQ(MsgBoxAnswer(IDCANCEL, toolkit::vbOKOnly), toolkit::vbOK);
}

TEST(ExecutableFolder, HoldsTheRunningProgram) {
    EXPECT_TRUE(
        std::filesystem::exists(std::filesystem::path(toolkit::win32::ExecutableFolder()) / "win32_frontend_test.exe"));
}

TEST(Win32Platform, NamesTheRunningProgram) {
    toolkit::win32::Win32Platform windows;
    const toolkit::Platform::Installation installed(windows);
    EXPECT_EQ(toolkit::App::EXEName(), "win32_frontend_test");
    EXPECT_EQ(toolkit::App::Path(), toolkit::win32::ExecutableFolder());
}

}  // namespace
