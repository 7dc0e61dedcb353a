#include "platform/toolkit/win32/FormWindow.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/toolkit/Runtime.h"
#include "platform/toolkit/win32/Win32Platform.h"
#include "support/TestForm.h"

namespace {

using toolkit::PictureBox;
using toolkit::win32::FormWindow;

using testsupport::TestForm;

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
