#include "board/Grid.h"
#include "state/Global.h"

#include <memory>

namespace Global {

namespace {
std::unique_ptr<Grid> TheGrid;
}

Grid& GameGrid() {
    if (!TheGrid) TheGrid = std::make_unique<Grid>();
    return *TheGrid;
}

void ReleaseGameGrid() { TheGrid.reset(); }

}  // namespace Global
