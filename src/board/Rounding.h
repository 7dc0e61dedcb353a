#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <stdexcept>
#include <string>

// Conversions from the board's double-precision geometry to stored integers. A value that does not fit its width is
// an error, never a wrap: NaN and infinities fail the range test as well.
namespace Rounding {

template <typename Int>
Int Fitting(double Value) {
    if (!(Value >= std::numeric_limits<Int>::min() && Value <= std::numeric_limits<Int>::max())) [[unlikely]]
        throw std::overflow_error("value " + std::to_string(Value) + " does not fit " +
                                  std::to_string(std::numeric_limits<Int>::digits + 1) + " bits");
    return static_cast<Int>(Value);
}

// Nearest integer, halves to the even neighbour (the default rounding mode).
inline std::int16_t Nearest16(double Value) { return Fitting<std::int16_t>(std::nearbyint(Value)); }
inline std::int32_t Nearest32(double Value) { return Fitting<std::int32_t>(std::nearbyint(Value)); }

// Towards minus infinity.
inline std::int16_t Floor16(double Value) { return Fitting<std::int16_t>(std::floor(Value)); }
inline std::int32_t Floor32(double Value) { return Fitting<std::int32_t>(std::floor(Value)); }

}  // namespace Rounding
