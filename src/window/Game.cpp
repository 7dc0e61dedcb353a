#include "window/Game.h"

#include <stdexcept>
#include <string>

#include "platform/toolkit/Bitmap.h"
#include "window/CornerPictures.h"

namespace {

using gdi::RGB;
using toolkit::MenuItem;

Game* liveGame = nullptr;

toolkit::Form::Design WindowDesign() {
    toolkit::Form::Design design;
    design.Caption = "Tessarin";
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

toolkit::Image Corner(int left, int top, std::span<const std::uint8_t> bitmap) {
    return toolkit::Image{left, top, 13, 13, toolkit::LoadBitmapResource(bitmap)};
}

toolkit::Label::Design TextDesign() {
    toolkit::Label::Design design;
    design.Left = 32;
    design.Top = 448;
    design.Width = 385;
    design.Height = 25;
    design.Caption = "Press new game in the file menu to begin";
    design.Font = toolkit::Font{"Verdana", 12, 400, false, false, false, 0};
    design.ForeColor = RGB(255, 255, 255);
    design.Alignment = toolkit::Alignment::Center;
    design.Transparent = true;
    return design;
}

MenuItem::Design Item(std::string name, std::string caption, bool checked = false, std::string shortcut = {}) {
    return MenuItem::Design{std::move(name), std::nullopt, std::move(caption), checked, true, true,
                            std::move(shortcut)};
}

MenuItem::Design Element(std::string name, std::int16_t index, std::string caption, bool checked) {
    MenuItem::Design design = Item(std::move(name), std::move(caption), checked);
    design.Index = index;
    return design;
}

MenuItem& Find(const std::map<std::int16_t, MenuItem*>& array, const char* name, std::int16_t index) {
    const auto it = array.find(index);
    if (it == array.end()) throw std::out_of_range(std::string(name) + " has no element " + std::to_string(index));
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
      Text(TextDesign()) {
    if (liveGame != nullptr) throw std::logic_error("the Game window exists already");
    PlaceArray(Buff);
    Place(Board);
    Place(Line1);
    Place(Image8);
    Place(Image7);
    Place(Image6);
    Place(Image5);
    Place(Text);
    BuildMenus();
    WireEvents();
    liveGame = this;
}

Game::~Game() {
    if (liveGame == this) liveGame = nullptr;
}

Game& Game::Instance() {
    if (liveGame == nullptr) throw std::logic_error("there is no Game window");
    return *liveGame;
}

MenuItem& Game::mnuPlayer(std::int16_t Index) const { return Find(mnuPlayer_, "mnuPlayer", Index); }
MenuItem& Game::mnuCheck(std::int16_t Index) const { return Find(mnuCheck_, "mnuCheck", Index); }

void Game::BuildMenus() {
    mnuFile_ = &AddMenu(Item("mnuFile", "File"));
    mnuNew_ = &mnuFile_->Add(Item("mnuNew", "New game", false, "Ctrl+N"));
    mnuLine2_ = &mnuFile_->Add(Item("mnuLine2", "-"));
    mnuBegin_ = &mnuFile_->Add(Item("mnuBegin", "Who begin"));
    mnuPlayer_[1] = &mnuBegin_->Add(Element("mnuPlayer", 1, "Player1", true));
    mnuPlayer_[2] = &mnuBegin_->Add(Element("mnuPlayer", 2, "Player2", false));
    mnuPlayer2_ = &mnuFile_->Add(Item("mnuPlayer2", "Player 2"));
    mnuCheck_[0] = &mnuPlayer2_->Add(Element("mnuCheck", 0, "Computer", false));
    mnuCheck_[1] = &mnuPlayer2_->Add(Element("mnuCheck", 1, "Human", true));
    mnuLine_ = &mnuFile_->Add(Item("mnuLine", "-"));
    mnuEnd_ = &mnuFile_->Add(Item("mnuEnd", "Exit"));
}

void Game::WireEvents() {
    Board.MouseDown = [this](std::int16_t Button, std::int16_t Shift, float X, float Y) {
        Board_MouseDown(Button, Shift, X, Y);
    };
    mnuNew_->Click = [this] { mnuNew_Click(); };
    for (auto& [index, item] : mnuPlayer_) item->Click = [this, i = index] { mnuPlayer_Click(i); };
    for (auto& [index, item] : mnuCheck_) item->Click = [this, i = index] { mnuCheck_Click(i); };
    mnuEnd_->Click = [this] { mnuEnd_Click(); };
}

// The handlers below are filled in by the game's start-up, menu and board logic.

void Game::Form_Load() {}

void Game::Form_Unload(std::int16_t& Cancel) { (void)Cancel; }

void Game::NewGame() {}

void Game::Board_MouseDown(std::int16_t Button, std::int16_t Shift, float X, float Y) {
    (void)Button;
    (void)Shift;
    (void)X;
    (void)Y;
}

void Game::mnuNew_Click() {}

void Game::mnuPlayer_Click(std::int16_t Index) { (void)Index; }

void Game::mnuCheck_Click(std::int16_t Index) { (void)Index; }

void Game::mnuEnd_Click() {}
