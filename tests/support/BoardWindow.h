// The board's window without a front end, set up as the game window's start-up leaves it: three picture buffers beside
// the staging buffer, Buff(0) turned into the green highlight surface, and the shared game state fresh. Shared by tests
// and benchmarks, so it uses no test framework.
#pragma once

#include "board/BoardHost.h"
#include "board/Grid.h"
#include "board/SurfaceBinding.h"
#include "opponent/PlayerAI.h"
#include "platform/gdi/Gdi.h"
#include "platform/toolkit/ControlArray.h"
#include "platform/toolkit/Form.h"
#include "platform/toolkit/Label.h"
#include "platform/toolkit/PictureBox.h"
#include "state/Global.h"
#include "support/CellCentre.h"
#include "support/GameState.h"
#include "support/RecordingView.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace BoardTest {

constexpr gdi::COLORREF BoardBack = gdi::RGB(224, 224, 224);  // the board's own background and pen colours
constexpr gdi::COLORREF BoardPen = gdi::RGB(170, 170, 170);
constexpr gdi::COLORREF Blue = gdi::RGB(0, 0, 255);
constexpr gdi::COLORREF Red = gdi::RGB(255, 0, 0);
constexpr gdi::COLORREF Black = gdi::RGB(0, 0, 0);
constexpr gdi::COLORREF White = gdi::RGB(255, 255, 255);
constexpr gdi::COLORREF Green = gdi::RGB(0, 255, 0);

// An opaque picture whose pixel (x, y) is Colour(x, y).
inline toolkit::StdPicture MakePicture(int Width, int Height, const std::function<gdi::COLORREF(int, int)>& Colour) {
    auto Result = std::make_shared<toolkit::Picture>();
    Result->Width = Width;
    Result->Height = Height;
    Result->Pixels.reserve(static_cast<std::size_t>(Width) * static_cast<std::size_t>(Height));
    for (int Y = 0; Y < Height; ++Y)
        for (int X = 0; X < Width; ++X) Result->Pixels.push_back(gdi::ToPixel(Colour(X, Y)));
    return Result;
}

inline toolkit::StdPicture SolidPicture(int Width, int Height, gdi::COLORREF Colour) {
    return MakePicture(Width, Height, [Colour](int, int) { return Colour; });
}

// The game window's board surface, picture buffers and status line with the window's own sizes and colours, attached
// to the board while it lives.
class HostWindow : public toolkit::Form, public BoardHost {
public:
    HostWindow() : Form(Design{"Board", 454, 486}) {
        PlaceArray(Buff);
        Place(Board);
        Global::AttachBoardHost(*this);
    }
    ~HostWindow() override { Global::DetachBoardHost(*this); }
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

    toolkit::PictureBox& BoardSurface() override { return Board; }
    toolkit::PictureBox& PictureBuffer(std::int16_t Index) override { return Buff(Index); }
    void RefreshBoard() override { Board.Refresh(); }
    void StatusText(const std::string& Status) override { Text.Caption(Status); }

    toolkit::ControlArray<toolkit::PictureBox> Buff{0, BuffDesign()};
    toolkit::PictureBox Board{BoardDesign()};
    toolkit::Label Text{TextDesign()};

private:
    static toolkit::PictureBox::Design BuffDesign() {
        toolkit::PictureBox::Design Design;
        Design.Width = 33;
        Design.Height = 33;
        Design.AutoSize = true;
        Design.Visible = false;
        return Design;
    }
    static toolkit::PictureBox::Design BoardDesign() {
        toolkit::PictureBox::Design Design;
        Design.Width = 385;
        Design.Height = 385;
        Design.BackColor = BoardBack;
        Design.ForeColor = BoardPen;
        return Design;
    }
    static toolkit::Label::Design TextDesign() {
        toolkit::Label::Design Design;
        Design.Caption = "Press new game in the file menu to begin";
        return Design;
    }
};

class BoardWindow {
public:
    // Every buffer starts marked as missing, so pieces are drawn as shapes until a test gives them pictures.
    explicit BoardWindow(int BoardWidth = 300, int BoardHeight = 300) {
        testsupport::ResetGameState();
        // Start-up ends with no game running.
        Global::GameOver = true;
        for (std::int16_t Index = 1; Index <= 3; ++Index) {
            Window.Buff.Load(Index);
            Window.Buff(Index).AutoRedraw(false);
        }
        Window.Buff(0).Width(130);
        Window.Buff(0).Height(130);
        Window.Buff(0).BackColor(Green);
        Window.Board.Width(static_cast<float>(BoardWidth));
        Window.Board.Height(static_cast<float>(BoardHeight));
        Global::RefreshGridSurfaces();
        Global::GameAI().PlayerNumber(Global::CodeRed);
    }
    ~BoardWindow() { testsupport::ResetGameState(); }
    BoardWindow(const BoardWindow&) = delete;
    BoardWindow& operator=(const BoardWindow&) = delete;

    // Buff(1) background, Buff(2) blue piece, Buff(3) red piece; the buffer sizes itself to the picture.
    void UsePicture(std::int16_t Index, toolkit::StdPicture Picture) {
        Window.Buff(Index).AutoRedraw(true);
        Window.Buff(Index).Picture(std::move(Picture));
    }

    // What a new game does before the first press.
    void NewGame(bool ComputerPlays = false, bool RedBegins = false) {
        Window.Board.Cls();
        Global::GameGrid().Draw();
        Global::Cells.Fill(Global::CodeEmpty);
        Global::PlayerTurn = RedBegins;
        Global::ComputerPlays = ComputerPlays;
        Global::GameOver = false;
    }

    // A press at the centre of cell (Col, Row).
    void Press(std::int32_t Col, std::int32_t Row) {
        Grid& Board = Global::GameGrid();
        Board.BoardMouseDown(testsupport::CellCentre(Board.BoardWidth(), Col),
                             testsupport::CellCentre(Board.BoardHeight(), Row));
    }

    gdi::COLORREF Pixel(int X, int Y) const { return gdi::GetPixel(Window.Board.hDC(), X, Y); }

    // Pixels of the board inside [X0, X1) x [Y0, Y1) that satisfy Test.
    int Count(int X0, int Y0, int X1, int Y1, const std::function<bool(gdi::COLORREF)>& Test) const {
        int Result = 0;
        for (int Y = Y0; Y < Y1; ++Y)
            for (int X = X0; X < X1; ++X) Result += Test(Pixel(X, Y)) ? 1 : 0;
        return Result;
    }
    int Count(int X0, int Y0, int X1, int Y1, gdi::COLORREF Colour) const {
        return Count(X0, Y0, X1, Y1, [Colour](gdi::COLORREF C) { return C == Colour; });
    }
    int CountAll(gdi::COLORREF Colour) const {
        const gdi::SurfaceBits Bits = gdi::GetSurfaceBits(Window.Board.hDC());
        return Count(0, 0, Bits.width, Bits.height, Colour);
    }

    std::vector<std::uint32_t> Snapshot() const {
        const gdi::SurfaceBits Bits = gdi::GetSurfaceBits(Window.Board.hDC());
        return {Bits.pixels, Bits.pixels + static_cast<std::ptrdiff_t>(Bits.width) * Bits.height};
    }

    int Repaints() const { return View.Repaints; }

    HostWindow Window;
    testsupport::RecordingView View{Window};
};

}  // namespace BoardTest
