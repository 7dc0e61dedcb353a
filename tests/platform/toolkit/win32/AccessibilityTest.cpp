// The window as a screen reader in another process finds it: msaa_probe reads its objects and hears its events
// while this thread serves them from its message loop.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/toolkit/win32/FormWindow.h"
#include "platform/toolkit/win32/Text.h"
#include "platform/toolkit/win32/Win32Platform.h"

namespace {

// A board of 3 x 3 cells of 30 pixels at (10, 10), named "<row> <column>" and "played" once pressed, with the status
// line under it; a press names the next side and announces the move. Right moves the cursor.
class BoardForm : public toolkit::Form, public toolkit::CellTable {
public:
    BoardForm()
        : Form({.Caption = "Board", .ClientWidth = 120, .ClientHeight = 140}),
          Board({.Left = 10, .Top = 10, .Width = 90, .Height = 90, .Picture = {}}),
          Status({.Left = 10, .Top = 110, .Width = 100, .Caption = "Blue to play", .Font = {}, .StatusLine = true}) {
        Board.Table(this);
        Place(Board);
        Place(Status);
    }

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
        Status.Caption("Red to play");
        Say("Blue: " + CellName(row, column) + ".");
    }
    void NewGame() {
        played_ = {};
        for (int cell = 0; cell < 9; ++cell) ReportCellChanged(cell / 3, cell % 3);
        Status.Caption("Blue to play");
        Say("New game.");
    }
    void Say(const std::string& sentence) {
        Said = sentence;
        Announce(sentence);
    }
    int CursorRow() const override { return 0; }
    int CursorColumn() const override { return column_; }
    bool CursorVisible() const override { return true; }
    void KeyDown(toolkit::Key pressed) override {
        column_ = std::min(column_ + (pressed == toolkit::Key::Right), 2);
        ReportCursorChanged();
    }

    toolkit::PictureBox Board;
    toolkit::Label Status;
    std::string Said;  // the last announcement

private:
    std::array<bool, 9> played_{};
    int column_ = 0;
};

void Pump() {
    for (MSG message; PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);) DispatchMessageW(&message);
}

// msaa_probe for one window, asked one command at a time while this thread's messages are served.
class Probe {
public:
    explicit Probe(HWND window) {
        SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        CreatePipe(&startup.hStdInput, &in_, &inherited, 0);
        CreatePipe(&out_, &startup.hStdOutput, &inherited, 0);
        SetHandleInformation(in_, HANDLE_FLAG_INHERIT, 0);
        SetHandleInformation(out_, HANDLE_FLAG_INHERIT, 0);
        std::wstring command = L"\"" + toolkit::win32::Wide(toolkit::win32::ExecutableFolder()) +
                               L"\\msaa_probe.exe\" " + std::to_wstring(reinterpret_cast<std::uintptr_t>(window));
        CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process_);
        CloseHandle(startup.hStdInput);
        CloseHandle(startup.hStdOutput);
    }
    // The probe ends with its input, letting go of its objects through this thread.
    ~Probe() {
        CloseHandle(in_);
        while (MsgWaitForMultipleObjects(1, &process_.hProcess, FALSE, 10000, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) Pump();
        for (HANDLE handle : {out_, process_.hProcess, process_.hThread}) CloseHandle(handle);
    }

    std::string Ask(const std::string& command) {
        DWORD count = 0;
        WriteFile(in_, (command + "\n").c_str(), static_cast<DWORD>(command.size() + 1), &count, nullptr);
        std::string answer;
        for (const DWORD end = GetTickCount() + 30000; GetTickCount() < end;) {
            char buffer[256];
            if (PeekNamedPipe(out_, nullptr, 0, nullptr, &count, nullptr) && count > 0 &&
                ReadFile(out_, buffer, sizeof buffer, &count, nullptr))
                answer.append(buffer, count);
            if (answer.size() >= 2 && answer.substr(answer.size() - 2) == "\n\n")
                return answer.substr(0, answer.size() - 1);
            Pump();
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        }
        return "no answer to " + command + ": " + answer;
    }

private:
    HANDLE in_ = nullptr;
    HANDLE out_ = nullptr;
    PROCESS_INFORMATION process_{};
};

// What the probe's walk reads of the form while its window has the focus.
std::string Walk(const BoardForm& form) {
    std::string cells;
    for (int cell = 0; cell < 9; ++cell)
        cells += "  cell \"" + form.CellName(cell / 3, cell % 3) + "\" focusable" +
                 (cell == form.CursorColumn() ? " focused" : "") + " Press\n";
    return "client \"Board\" focusable\n table \"\"\n" + cells + " status bar \"" + form.Status.Caption() +
           "\"\n static text \"" + form.Said + "\"\n";
}

// The bytes the process's heaps have handed out and not taken back.
std::size_t HeapBytesInUse() {
    std::vector<HANDLE> heaps(GetProcessHeaps(0, nullptr) + 8);
    heaps.resize(GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data()));
    std::size_t used = 0;
    for (HANDLE heap : heaps) {
        HeapLock(heap);
        PROCESS_HEAP_ENTRY entry{};
        while (HeapWalk(heap, &entry))
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) used += entry.cbData;
        HeapUnlock(heap);
    }
    return used;
}

TEST(Accessibility, AnotherProcessReadsPlaysAndHearsTheBoardUntilTheWindowGoes) {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    BoardForm form;
    auto window = std::make_unique<toolkit::win32::FormWindow>(form);
    form.Show();
    const HWND hwnd = window->Handle();
    SetForegroundWindow(hwnd);
    SetFocus(hwnd);
    {
        Probe probe(hwnd);
        EXPECT_EQ(probe.Ask("walk"), Walk(form));

        SendMessageW(hwnd, WM_KEYDOWN, VK_RIGHT, 0);
        EXPECT_EQ(probe.Ask("await focus"), "1 2\n");
        EXPECT_EQ(probe.Ask("focus"), "1 2\n");

        EXPECT_EQ(probe.Ask("press -5"), "ok\n");  // row 2, column 2 by the child id its events carry
        EXPECT_EQ(probe.Ask("await namechange"), "2 2 played\n");
        EXPECT_EQ(probe.Ask("await namechange"), "Red to play\n");
        EXPECT_EQ(probe.Ask("await liveregion"), "Blue: 2 2 played.\n");

        POINT centre{std::lround(85 * window->Scale()), std::lround(55 * window->Scale())};  // of row 2, column 3
        ClientToScreen(hwnd, &centre);
        EXPECT_EQ(probe.Ask("hit " + std::to_string(centre.x) + " " + std::to_string(centre.y)), "2 3\n");

        // A sentence UI Automation took is not raised again as a live region. Its element is a child window's: screen
        // readers read a window that answers UI Automation itself through UI Automation alone.
        std::wstring raised;
        toolkit::win32::SetNotificationRaiser([&raised](IRawElementProviderSimple&, const std::wstring& sentence) {
            raised = sentence;
            return true;
        });
        form.Say("Through UI Automation.");
        toolkit::win32::SetNotificationRaiser({});
        form.Say("As a live region.");
        EXPECT_EQ(raised, L"Through UI Automation.");
        const HWND host = FindWindowExW(hwnd, nullptr, L"TessarinNotifications", nullptr);
        EXPECT_NE(SendMessageW(host, WM_GETOBJECT, 0, static_cast<LPARAM>(-25 /* UiaRootObjectId */)), 0);
        EXPECT_EQ(SendMessageW(hwnd, WM_GETOBJECT, 0, static_cast<LPARAM>(-25)), 0);
        EXPECT_EQ(probe.Ask("await liveregion"), "As a live region.\n");

        window.reset();
        EXPECT_EQ(probe.Ask("walk"), "error -2147220995\n");  // CO_E_OBJNOTCONNECTED
    }
    CoUninitialize();
}

// A buggy or hostile client in the same session: each group of calls on every object gets an error or a plain
// answer, never a fault or a hang, and the board reads right after it. Results are HRESULTs in hexadecimal.
TEST(Accessibility, AHostileClientGetsErrorsAndLeavesTheBoardRight) {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    BoardForm form;
    auto window = std::make_unique<toolkit::win32::FormWindow>(form);
    form.Show();
    SetForegroundWindow(window->Handle());
    SetFocus(window->Handle());
    {
        Probe probe(window->Handle());
        const std::pair<const char*, const char*> groups[] = {
            {"abuse ids", "80070057\n"},         // any child id but CHILDID_SELF: E_INVALIDARG
            {"abuse types", "80070057\n"},       // child VARIANTs that are no VT_I4
            {"abuse children", "80070057\n"},    // get_accChild of what is not there
            {"abuse directions", "80070057\n"},  // accNavigate 0, 9, 1000, -1 and the extremes
            {"abuse navigate", "0 1\n"},         // every direction there is: S_OK or S_FALSE
            {"abuse hit", "0 1\n"},              // accHitTest anywhere on and off the screen
            {"abuse select", "80020003\n"},      // every accSelect flag: DISP_E_MEMBERNOTFOUND
            {"abuse put", "80020003\n"},         // put_accName and put_accValue
            {"abuse getobject", "Board\n"},      // object ids and WM_GETOBJECT flags it does not serve
        };
        for (const auto& [group, results] : groups) {
            EXPECT_EQ(probe.Ask(group), results) << group;
            EXPECT_EQ(probe.Ask("walk"), Walk(form)) << "after " << group;
        }

        // Reads during moves leave nothing behind once the first round has filled COM's caches (Wine's keep one 2 KB
        // block more): a few bytes a call would show.
        EXPECT_EQ(probe.Ask("storm 1000"), "0\n");
        const std::size_t before = HeapBytesInUse();
        EXPECT_EQ(probe.Ask("storm 4000"), "0\n");
        EXPECT_LT(HeapBytesInUse(), before + 16 * 1024);
        EXPECT_EQ(probe.Ask("walk"), Walk(form));

        // Objects held across a new game read the new one, and fail cleanly once the window has gone.
        EXPECT_EQ(probe.Ask("hold"), "13\n");
        form.NewGame();
        EXPECT_EQ(probe.Ask("held"), "0 1\n");  // S_FALSE for the table's empty name
        EXPECT_EQ(probe.Ask("walk"), Walk(form));
        window.reset();
        EXPECT_EQ(probe.Ask("held"), "800401FD\n");  // CO_E_OBJNOTCONNECTED
    }
    CoUninitialize();
}

}  // namespace
