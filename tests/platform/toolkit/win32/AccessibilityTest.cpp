// The window as a screen reader in another process finds it: msaa_probe reads its objects and hears its events
// while this thread serves them from its message loop.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/toolkit/win32/FormWindow.h"
#include "platform/toolkit/win32/Seams.h"
#include "platform/toolkit/win32/Text.h"
// After the Windows API.
#include <uiautomationcore.h>

namespace {

using toolkit::win32::FormWindow;

// 3 x 3 cells of 30 pixels named "<row> <column>", "played" once pressed; the arrows move the cursor.
class BoardTable : public toolkit::CellTable {
public:
    int Rows() const override { return 3; }
    int Columns() const override { return 3; }
    std::string CellName(int row, int column) const override {
        return std::to_string(row + 1) + " " + std::to_string(column + 1) +
               (played_[row * 3 + column] ? " played" : "");
    }
    toolkit::CellBox CellRect(int row, int column) const override { return {column * 30, row * 30, 30, 30}; }
    void PressCell(int row, int column) override {
        played_[row * 3 + column] = true;
        ReportCellChanged(row, column);
        Played(row, column);
    }
    int CursorRow() const override { return row_; }
    int CursorColumn() const override { return column_; }
    bool CursorVisible() const override { return true; }
    void KeyDown(toolkit::Key pressed) override {
        column_ = std::min(column_ + (pressed == toolkit::Key::Right), 2);
        row_ = std::min(row_ + (pressed == toolkit::Key::Down), 2);
        ReportCursorChanged();
    }

    std::function<void(int row, int column)> Played;

private:
    std::array<bool, 9> played_{};
    int row_ = 0;
    int column_ = 0;
};

// The board at (10, 10) and the status line under it; a press names the next side and announces the move.
class BoardForm : public toolkit::Form {
public:
    BoardForm()
        : Form({.Caption = "Board", .ClientWidth = 120, .ClientHeight = 140}),
          Board({.Left = 10, .Top = 10, .Width = 90, .Height = 90, .Picture = {}}),
          Status({.Left = 10,
                  .Top = 110,
                  .Width = 100,
                  .Height = 20,
                  .Caption = "Blue to play",
                  .Font = {},
                  .StatusLine = true}) {
        Board.Table(&Table);
        Place(Board);
        Place(Status);
        Table.Played = [this](int row, int column) {
            Status.Caption("Red to play");
            Announce("Blue: " + std::to_string(row + 1) + " " + std::to_string(column + 1) + ".");
        };
    }

    BoardTable Table;
    toolkit::PictureBox Board;
    toolkit::Label Status;
};

// msaa_probe for one window, asked one command at a time while this thread's messages are served.
class Probe {
public:
    explicit Probe(HWND window) {
        SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
        HANDLE input = nullptr;
        HANDLE output = nullptr;
        CreatePipe(&input, &in_, &inherited, 0);
        CreatePipe(&out_, &output, &inherited, 0);
        SetHandleInformation(in_, HANDLE_FLAG_INHERIT, 0);
        SetHandleInformation(out_, HANDLE_FLAG_INHERIT, 0);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = input;
        startup.hStdOutput = output;
        startup.hStdError = output;
        std::wstring command = L"\"" + toolkit::win32::Wide(toolkit::win32::ExecutableFolder()) +
                               L"\\msaa_probe.exe\" " + std::to_wstring(reinterpret_cast<std::uintptr_t>(window));
        CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process_);
        CloseHandle(input);
        CloseHandle(output);
    }
    // The probe ends with its input, letting go of its objects through this thread.
    ~Probe() {
        CloseHandle(in_);
        while (MsgWaitForMultipleObjects(1, &process_.hProcess, FALSE, 10000, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) Pump();
        CloseHandle(out_);
        CloseHandle(process_.hProcess);
        CloseHandle(process_.hThread);
    }

    std::string Ask(const std::string& command) {
        const std::string line = command + "\n";
        DWORD count = 0;
        WriteFile(in_, line.data(), static_cast<DWORD>(line.size()), &count, nullptr);
        std::string answer;
        for (const DWORD end = GetTickCount() + 30000; GetTickCount() < end;) {
            char buffer[256];
            if (PeekNamedPipe(out_, nullptr, 0, nullptr, &count, nullptr) && count > 0 &&
                ReadFile(out_, buffer, sizeof buffer, &count, nullptr))
                answer.append(buffer, count);
            if (answer.size() >= 2 && answer.compare(answer.size() - 2, 2, "\n\n") == 0)
                return answer.substr(0, answer.size() - 1);
            Pump();
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        }
        return "no answer to " + command + ": " + answer;
    }

private:
    static void Pump() {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    }

    HANDLE in_ = nullptr;
    HANDLE out_ = nullptr;
    PROCESS_INFORMATION process_{};
};

std::string CellLines(int focusedRow, int focusedColumn) {
    std::string lines;
    for (int row = 1; row <= 3; ++row)
        for (int column = 1; column <= 3; ++column)
            lines += "  cell \"" + std::to_string(row) + " " + std::to_string(column) + "\" focusable" +
                     (row == focusedRow && column == focusedColumn ? " focused" : "") + " Press\n";
    return lines;
}

TEST(Accessibility, AnotherProcessReadsPlaysAndHearsTheBoardUntilTheWindowGoes) {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    BoardForm form;
    auto window = std::make_unique<FormWindow>(form);
    form.Show();
    const HWND hwnd = window->Handle();
    SetForegroundWindow(hwnd);
    SetFocus(hwnd);
    {
        Probe probe(hwnd);
        EXPECT_EQ(probe.Ask("walk"), "client \"Board\" focusable\n table \"\"\n" + CellLines(1, 1) +
                                         " statusbar \"Blue to play\"\n text \"\"\n");

        SendMessageW(hwnd, WM_KEYDOWN, VK_RIGHT, 0);
        EXPECT_EQ(probe.Ask("await focus"), "1 2\n");
        EXPECT_EQ(probe.Ask("focus"), "1 2\n");

        EXPECT_EQ(probe.Ask("press 5"), "ok\n");
        EXPECT_EQ(probe.Ask("await namechange"), "2 2 played\n");
        EXPECT_EQ(probe.Ask("await namechange"), "Red to play\n");
        EXPECT_EQ(probe.Ask("await liveregion"), "Blue: 2 2.\n");

        // Row 2, column 3 in screen pixels, and the object found at its centre.
        const double scale = window->Scale();
        POINT origin{0, 0};
        ClientToScreen(hwnd, &origin);
        const long left = origin.x + std::lround(70 * scale);
        const long top = origin.y + std::lround(40 * scale);
        const long side = std::lround(100 * scale) - std::lround(70 * scale);
        EXPECT_EQ(probe.Ask("location 6"), std::to_string(left) + " " + std::to_string(top) + " " +
                                               std::to_string(side) + " " + std::to_string(side) + "\n");
        EXPECT_EQ(probe.Ask("hit " + std::to_string(left + side / 2) + " " + std::to_string(top + side / 2)), "2 3\n");

        // A sentence UI Automation took is not raised again as a live region. Its element is a child window's: screen
        // readers read a window that answers UI Automation itself through UI Automation alone.
        std::wstring raised;
        HWND host = nullptr;
        toolkit::win32::SetNotificationRaiser([&](IRawElementProviderSimple& provider, const std::wstring& sentence) {
            IRawElementProviderSimple* hostProvider = nullptr;
            if (SUCCEEDED(provider.get_HostRawElementProvider(&hostProvider)) && hostProvider != nullptr) {
                host = FindWindowExW(hwnd, nullptr, L"TessarinNotifications", nullptr);
                hostProvider->Release();
            }
            raised = sentence;
            return true;
        });
        form.Announce("Through UI Automation.");
        toolkit::win32::SetNotificationRaiser({});
        form.Announce("As a live region.");
        EXPECT_EQ(raised, L"Through UI Automation.");
        EXPECT_NE(SendMessageW(host, WM_GETOBJECT, 0, static_cast<LPARAM>(-25 /* UiaRootObjectId */)), 0);
        EXPECT_EQ(SendMessageW(hwnd, WM_GETOBJECT, 0, static_cast<LPARAM>(-25)), 0);
        EXPECT_EQ(probe.Ask("await liveregion"), "As a live region.\n");

        window.reset();
        EXPECT_EQ(probe.Ask("walk"), "error 800401fd\n");  // CO_E_OBJNOTCONNECTED
    }
    CoUninitialize();
}

}  // namespace
