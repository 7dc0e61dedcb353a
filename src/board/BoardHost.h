#pragma once

#include <cstdint>
#include <string>

#include "platform/toolkit/PictureBox.h"

// What the board needs of the window it is shown in. The window implements it and attaches itself while it lives, so
// the board never learns which window that is.
class BoardHost {
public:
    virtual ~BoardHost() = default;

    // The surface the board draws on; its handle and size are read again before every drawing.
    virtual toolkit::PictureBox& BoardSurface() = 0;
    // Picture buffer Index: 0 stages pictures and then holds the highlight, 1 the background, 2 the blue piece,
    // 3 the red piece.
    virtual toolkit::PictureBox& PictureBuffer(std::int16_t Index) = 0;
    // Puts what the board surface holds on screen now.
    virtual void RefreshBoard() = 0;
    virtual void StatusText(const std::string& Status) = 0;
};

namespace Global {

// Host becomes the board's window; a host detaches only itself, so a refused second window cannot detach the first.
void AttachBoardHost(BoardHost& Host);
void DetachBoardHost(const BoardHost& Host);
// The attached window; throws std::logic_error while there is none.
BoardHost& TheBoardHost();

}  // namespace Global
