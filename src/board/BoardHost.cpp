#include "board/BoardHost.h"

#include <stdexcept>

namespace Global {

namespace {
BoardHost* Attached = nullptr;
}

void AttachBoardHost(BoardHost& Host) { Attached = &Host; }

void DetachBoardHost(const BoardHost& Host) {
    if (Attached == &Host) Attached = nullptr;
}

BoardHost& TheBoardHost() {
    if (Attached == nullptr) throw std::logic_error("the board has no window");
    return *Attached;
}

}  // namespace Global
