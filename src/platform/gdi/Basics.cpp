#include "platform/gdi/Basics.h"

#include <algorithm>
#include <cstring>

namespace gdi {

// A short run is written pixel by pixel, then copied onto what follows it, doubling each time: the copies run
// at the C library's vector speed.
void FillPixels(std::uint32_t* first, std::size_t count, std::uint32_t pixel) {
    constexpr std::size_t Seed = 16;
    std::size_t done = std::min(count, Seed);
    std::fill_n(first, done, pixel);
    while (done < count) {
        const std::size_t step = std::min(done, count - done);
        std::memcpy(first + done, first, step * sizeof *first);
        done += step;
    }
}

}  // namespace gdi
