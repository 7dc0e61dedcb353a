#include "support/CellCentre.h"

#include <cmath>

namespace testsupport {

std::int16_t CellCentre(int Size, int Index) {
    return static_cast<std::int16_t>(std::nearbyint(Size / 3.0 * Index + Size / 6.0));
}

}  // namespace testsupport
