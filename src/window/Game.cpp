#include "window/Game.h"

#include <array>
#include <optional>
#include <stdexcept>
#include <string>

#include "board/Grid.h"
#include "board/Rounding.h"
#include "board/SurfaceBinding.h"
#include "opponent/PlayerAI.h"
#include "platform/toolkit/Bitmap.h"
#include "platform/toolkit/Runtime.h"
#include "state/Global.h"
#include "state/Texts.h"
#include "window/Announcements.h"
#include "window/CornerPictures.h"

namespace {

using gdi::RGB;
using toolkit::MenuItem;

Game* liveGame = nullptr;

toolkit::Form::Design WindowDesign() {
    toolkit::Form::Design design;
    design.Caption = Texts::Title;
    design.ClientWidth = 454;
    design.ClientHeight = 486;
    design.Resizable = false;
    design.MinButton = true;
    design.MaxButton = false;
    return design;
}

toolkit::PictureBox::Design BuffDesign() {
    toolkit::PictureBox::Design design;
    design.Left = 536;
    design.Top = 80;
    design.Width = 33;
    design.Height = 33;
    design.BackColor = RGB(255, 255, 255);
    design.AutoSize = true;
    design.Visible = false;
    return design;
}

toolkit::PictureBox::Design BoardDesign() {
    toolkit::PictureBox::Design design;
    design.Left = 32;
    design.Top = 32;
    design.Width = 385;
    design.Height = 385;
    design.BackColor = RGB(224, 224, 224);
    design.ForeColor = RGB(170, 170, 170);
    return design;
}

toolkit::Image Corner(int Left, int Top, std::span<const std::uint8_t> Bitmap) {
    return toolkit::Image{Left, Top, 13, 13, toolkit::LoadBitmapResource(Bitmap)};
}

toolkit::Label::Design TextDesign() {
    toolkit::Label::Design design;
    design.Left = 32;
    design.Top = 448;
    design.Width = 385;
    design.Height = 25;
    design.Caption = Texts::EndText;
    design.Font = toolkit::Font{"Verdana", 12, 400, false, false, false, 0};
    design.ForeColor = RGB(255, 255, 255);
    design.Alignment = toolkit::Alignment::Center;
    design.Transparent = true;
    design.StatusLine = true;
    return design;
}

MenuItem::Design Item(std::string Name, std::string Caption, bool Checked = false, std::string Shortcut = {}) {
    return MenuItem::Design{std::move(Name),    std::nullopt, std::move(Caption), Checked, true, true,
                            std::move(Shortcut)};
}

// The options of a control array are choices, checked or not.
MenuItem::Design Element(std::string Name, std::int16_t Index, std::string Caption, bool Checked) {
    MenuItem::Design design = Item(std::move(Name), std::move(Caption), Checked);
    design.Index = Index;
    design.Checkable = true;
    return design;
}

MenuItem::Design Menu(std::string Name, std::string Caption, char AccessKey) {
    MenuItem::Design design = Item(std::move(Name), std::move(Caption));
    design.AccessKey = AccessKey;
    return design;
}

// The window background is tiled in fixed blocks, whatever the tile picture's size.
constexpr std::int16_t TileWidth = 240;
constexpr std::int16_t TileHeight = 154;

constexpr const char* TilePicture = "\\Bilder\\BarkGold.gif";
constexpr const char* BackgroundPicture = "\\Bilder\\Background.jpg";
constexpr const char* CrossPicture = "\\Bilder\\cross.gif";
constexpr const char* BulletPicture = "\\Bilder\\Bullet.gif";

struct Strip {
    const char* File;
    std::int16_t X;
    std::int16_t Y;
};

// The frame around the board. Right lines the left edge and Left the right edge.
constexpr std::array<Strip, 4> Strips{{
    {"\\Bilder\\Up.jpg", 32, 19},
    {"\\Bilder\\Right.jpg", 19, 32},
    {"\\Bilder\\Down.jpg", 32, 416},
    {"\\Bilder\\Left.jpg", 416, 32},
}};

bool AnsweredYes(const char* Question) {
    return toolkit::MsgBox(Question, toolkit::vbYesNo + toolkit::vbQuestion, Texts::Title) == toolkit::vbYes;
}

MenuItem& Find(const std::map<std::int16_t, MenuItem*>& Array, const char* Name, std::int16_t Index) {
    const auto it = Array.find(Index);
    if (it == Array.end()) throw std::out_of_range(std::string(Name) + " has no element " + std::to_string(Index));
    return *it->second;
}

}  // namespace

Game::Game()
    : Form(WindowDesign()),
      Buff(0, BuffDesign()),
      Board(BoardDesign()),
      Line1{0, 0, 464, 0, RGB(224, 224, 224), 1},
      Image8(Corner(19, 417, resources::Image8Bitmap)),
      Image7(Corner(416, 417, resources::Image7Bitmap)),
      Image6(Corner(417, 19, resources::Image6Bitmap)),
      Image5(Corner(19, 19, resources::Image5Bitmap)),
      Text(TextDesign()),
      Cursor(Board, [this](float X, float Y) { Board_MouseDown(1, 0, X, Y); }) {
    if (liveGame != nullptr) throw std::logic_error("the Game window exists already");
    PlaceArray(Buff);
    Place(Board);
    Place(Line1);
    Place(Image8);
    Place(Image7);
    Place(Image6);
    Place(Image5);
    Place(Text);
    Board.Table(&Cursor);
    BuildMenus();
    WireEvents();
    liveGame = this;
    Global::AttachBoardHost(*this);
}

Game::~Game() {
    Global::DetachBoardHost(*this);
    if (liveGame == this) liveGame = nullptr;
}

MenuItem& Game::mnuPlayer(std::int16_t Index) const { return Find(mnuPlayer_, "mnuPlayer", Index); }
MenuItem& Game::mnuCheck(std::int16_t Index) const { return Find(mnuCheck_, "mnuCheck", Index); }

void Game::BuildMenus() {
    mnuFile_ = &AddMenu(Menu("mnuFile", "File", 'F'));
    mnuNew_ = &mnuFile_->Add(Item("mnuNew", "New game", false, "Ctrl+N"));
    mnuFile_->Add(Item("mnuLine2", "-"));
    mnuBegin_ = &mnuFile_->Add(Item("mnuBegin", "Who begin"));
    mnuPlayer_[1] = &mnuBegin_->Add(Element("mnuPlayer", 1, "Player1", true));
    mnuPlayer_[2] = &mnuBegin_->Add(Element("mnuPlayer", 2, "Player2", false));
    mnuPlayer2_ = &mnuFile_->Add(Item("mnuPlayer2", "Player 2"));
    mnuCheck_[0] = &mnuPlayer2_->Add(Element("mnuCheck", 0, "Computer", false));
    mnuCheck_[1] = &mnuPlayer2_->Add(Element("mnuCheck", 1, "Human", true));
    mnuFile_->Add(Item("mnuLine", "-"));
    mnuEnd_ = &mnuFile_->Add(Item("mnuEnd", "Exit"));
}

void Game::WireEvents() {
    Board.MouseDown = [this](std::int16_t Button, std::int16_t Shift, float X, float Y) {
        Cursor.Hide();
        Board_MouseDown(Button, Shift, X, Y);
    };
    mnuNew_->Click = [this] { mnuNew_Click(); };
    for (auto& [index, item] : mnuPlayer_) item->Click = [this, i = index] { mnuPlayer_Click(i); };
    for (auto& [index, item] : mnuCheck_) item->Click = [this, i = index] { mnuCheck_Click(i); };
    mnuEnd_->Click = [this] { mnuEnd_Click(); };
}


void Game::Form_Load() {
    for (std::int16_t Index = 1; Index <= 3; ++Index) Buff.Load(Index);
    toolkit::DoEvents();
    Buff(0).Picture(toolkit::LoadPicture(toolkit::App::Path() + TilePicture));
    TileBackground();
    Global::LoadPictureToBox(Buff(1), toolkit::App::Path() + BackgroundPicture);
    Global::LoadPictureToBox(Buff(2), toolkit::App::Path() + CrossPicture);
    Global::LoadPictureToBox(Buff(3), toolkit::App::Path() + BulletPicture);
    DrawFrameStrips();
    Buff(0).Picture(nullptr);
    Buff(0).Width(130);
    Buff(0).Height(130);
    Buff(0).BackColor(RGB(0, 255, 0));
    Global::RefreshGridSurfaces();
    Global::GameOver = true;
    Global::GameAI().PlayerNumber(2);
    Global::GameGrid().DrawBack();
}

// Column by column from the tile in Buff(0); the last column and row may lie
// partly or wholly outside the client area, which clips them.
void Game::TileBackground() {
    const std::int16_t LastColumn = Rounding::Floor16(static_cast<double>(ScaleWidth()) / TileWidth);
    for (std::int16_t Column = 0; Column <= LastColumn; ++Column) {
        const std::int16_t LastRow = Rounding::Floor16(static_cast<double>(ScaleHeight()) / TileHeight);
        for (std::int16_t Row = 0; Row <= LastRow; ++Row)
            gdi::BitBlt(hDC(), Global::CheckedMul(Column, TileWidth), Global::CheckedMul(Row, TileHeight), TileWidth,
                        TileHeight, Buff(0).hDC(), 0, 0, gdi::SRCCOPY);
    }
}

// Each strip is staged in Buff(0), which takes its size, and copied whole.
void Game::DrawFrameStrips() {
    for (const Strip& Each : Strips) {
        Buff(0).Picture(toolkit::LoadPicture(toolkit::App::Path() + Each.File));
        gdi::BitBlt(hDC(), Each.X, Each.Y, Rounding::Nearest32(Buff(0).ScaleWidth()),
                    Rounding::Nearest32(Buff(0).ScaleHeight()), Buff(0).hDC(), 0, 0, gdi::SRCCOPY);
    }
}

// Anything but a plain Yes keeps the window open, so a box dismissed some other
// way can never end the program by accident.
void Game::Form_Unload(std::int16_t& Cancel) {
    if (!AnsweredYes(Texts::ExitQuestion)) {
        Cancel = -1;
        return;
    }
    Global::ReleaseGameAI();
    Global::ReleaseGameGrid();
}

void Game::NewGame() { NewGame(""); }

void Game::NewGame(const std::string& Lead) {
    Show();
    Board.Cls();
    Global::GameGrid().Draw();
    // The fresh board must reach the screen even when no move follows to refresh it.
    Board.Refresh();
    for (std::int32_t Col = 0; Col <= 2; ++Col)
        for (std::int32_t Row = 0; Row <= 2; ++Row) Global::Cells(Col, Row) = Global::CodeEmpty;
    Global::PlayerTurn = mnuPlayer(2).Checked();
    Global::GameOver = false;
    Global::ComputerPlays = mnuCheck(0).Checked();
    const Global::CellMatrix Empty = Global::Cells;
    const bool RedBegins = Global::PlayerTurn;
    if (Global::ComputerPlays && Global::PlayerTurn) ComputerOpens();
    Text.Caption(Texts::TurnText(Global::PlayerTurn));
    Cursor.AnnounceCells();
    Announce(Announcements::Sentence(
        {Lead, Announcements::NewGame(RedBegins), Announcements::PlacedPieces(Empty, Global::CodeRed)},
        Text.Caption()));
}

// The computer's first piece goes through the board's press handling, at the
// centre of the cell it chose.
void Game::ComputerOpens() {
    std::int32_t Col = 0;
    std::int32_t Row = 0;
    Global::GameAI().ChooseMove(Col, Row);
    Global::GameGrid().BoardMouseDown(Rounding::CellCentre16(Board.ScaleWidth(), Col),
                                      Rounding::CellCentre16(Board.ScaleHeight(), Row));
}

// Every button plays. A position that has no 16-bit pixel (NaN, infinite, far
// outside the board) cannot come from a real press and is dropped.
void Game::Board_MouseDown(std::int16_t Button, std::int16_t Shift, float X, float Y) {
    (void)Button;
    (void)Shift;
    const auto PixelX = Rounding::TryNearest16(X);
    const auto PixelY = Rounding::TryNearest16(Y);
    if (!PixelX || !PixelY) return;
    const Global::CellMatrix Before = Global::Cells;
    const std::uint8_t Mover = Global::PlayerTurn ? Global::CodeRed : Global::CodeBlue;
    Global::GameGrid().BoardMouseDown(*PixelX, *PixelY);
    Cursor.AnnounceCells();
    AnnounceMoves(Before, Mover);
}

// The press's piece, the computer's answer and how the game stands; a press that placed nothing says nothing.
void Game::AnnounceMoves(const Global::CellMatrix& Before, std::uint8_t Mover) {
    const std::string Placed = Announcements::PlacedPieces(Before, Mover);
    if (Placed.empty()) return;
    Announce(Announcements::Sentence({Placed, Announcements::Outcome()}, Text.Caption()));
}

void Game::mnuNew_Click() { NewGame(); }

void Game::mnuPlayer_Click(std::int16_t Index) { ChooseOption(*mnuBegin_, mnuPlayer_, "mnuPlayer", Index); }

void Game::mnuCheck_Click(std::int16_t Index) { ChooseOption(*mnuPlayer2_, mnuCheck_, "mnuCheck", Index); }

// The check marks are the only store of the options; the running game keeps the
// flags it was started with until the next new game.
void Game::ChooseOption(const MenuItem& Menu, const std::map<std::int16_t, MenuItem*>& Options, const char* Name,
                        std::int16_t Index) {
    MenuItem& Chosen = Find(Options, Name, Index);
    for (const auto& Entry : Options) Entry.second->Checked(false);
    Chosen.Checked(true);
    if (AnsweredYes(Texts::NewGameQuestion)) NewGame(Announcements::Option(Menu.Caption(), Chosen.Caption()));
}

void Game::mnuEnd_Click() { RequestClose(); }
