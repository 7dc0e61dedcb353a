// The program's only window: the board surface, the hidden picture buffers, the
// frame corners, the status line and the menu tree, with one handler per event.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "board/BoardHost.h"
#include "platform/toolkit/ControlArray.h"
#include "platform/toolkit/Form.h"
#include "platform/toolkit/Image.h"
#include "platform/toolkit/Label.h"
#include "platform/toolkit/Line.h"
#include "platform/toolkit/MenuItem.h"
#include "platform/toolkit/PictureBox.h"
#include "state/Global.h"
#include "window/BoardCursor.h"

class Game : public toolkit::Form, public BoardHost {
public:
    Game();
    ~Game() override;

    // Controls, in the form's layout order.
    toolkit::ControlArray<toolkit::PictureBox> Buff;
    toolkit::PictureBox Board;
    toolkit::Line Line1;
    toolkit::Image Image8;
    toolkit::Image Image7;
    toolkit::Image Image6;
    toolkit::Image Image5;
    toolkit::Label Text;
    // The board's keyboard cursor and cell names; the Board surface's table.
    BoardCursor Cursor;

    toolkit::MenuItem& mnuFile() const { return *mnuFile_; }
    toolkit::MenuItem& mnuNew() const { return *mnuNew_; }
    toolkit::MenuItem& mnuPlayer(std::int16_t Index) const;  // 1 or 2
    toolkit::MenuItem& mnuCheck(std::int16_t Index) const;  // 0 or 1
    toolkit::MenuItem& mnuEnd() const { return *mnuEnd_; }

    void NewGame();

    // The board's view of this window.
    toolkit::PictureBox& BoardSurface() override { return Board; }
    toolkit::PictureBox& PictureBuffer(std::int16_t Index) override { return Buff(Index); }
    void RefreshBoard() override { Board.Refresh(); }
    void StatusText(const std::string& Status) override { Text.Caption(Status); }

    // Event handlers; virtual so that a test can observe what reaches them.
    virtual void Board_MouseDown(std::int16_t Button, std::int16_t Shift, float X, float Y);
    virtual void mnuNew_Click();
    virtual void mnuPlayer_Click(std::int16_t Index);
    virtual void mnuCheck_Click(std::int16_t Index);
    virtual void mnuEnd_Click();

protected:
    void Form_Load() override;
    void Form_Unload(std::int16_t& Cancel) override;

private:
    void BuildMenus();
    void WireEvents();
    void TileBackground();
    void DrawFrameStrips();
    // NewGame, announced after what led to it.
    void NewGame(const std::string& Lead);
    void ComputerOpens();
    void AnnounceMoves(const Global::CellMatrix& Before, std::uint8_t Mover);
    void ChooseOption(const toolkit::MenuItem& Menu, const std::map<std::int16_t, toolkit::MenuItem*>& Options,
                      const char* Name, std::int16_t Index);

    toolkit::MenuItem* mnuFile_ = nullptr;
    toolkit::MenuItem* mnuNew_ = nullptr;
    toolkit::MenuItem* mnuBegin_ = nullptr;
    std::map<std::int16_t, toolkit::MenuItem*> mnuPlayer_;
    toolkit::MenuItem* mnuPlayer2_ = nullptr;
    std::map<std::int16_t, toolkit::MenuItem*> mnuCheck_;
    toolkit::MenuItem* mnuEnd_ = nullptr;
};
