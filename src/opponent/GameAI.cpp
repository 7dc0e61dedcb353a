#include "opponent/PlayerAI.h"

#include <memory>

namespace Global {

namespace {
std::unique_ptr<PlayerAI> TheAI;
}

PlayerAI& GameAI() {
    if (!TheAI) TheAI = std::make_unique<PlayerAI>();
    return *TheAI;
}

void ReleaseGameAI() { TheAI.reset(); }

}  // namespace Global
