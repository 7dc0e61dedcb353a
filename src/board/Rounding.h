#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
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

// Nearest 16-bit integer, halves to even; nothing for a value that has none (NaN, infinities, beyond the range).
inline std::optional<std::int16_t> TryNearest16(double Value) {
    const double Rounded = std::nearbyint(Value);
    if (!(Rounded >= std::numeric_limits<std::int16_t>::min() && Rounded <= std::numeric_limits<std::int16_t>::max()))
        return std::nullopt;
    return static_cast<std::int16_t>(Rounded);
}

// The pixel at the centre of cell Index along a board side of Side pixels.
inline std::int16_t CellCentre16(double Side, std::int32_t Index) { return Nearest16(Side / 3.0 * Index + Side / 6.0); }

// Towards minus infinity.
inline std::int16_t Floor16(double Value) { return Fitting<std::int16_t>(std::floor(Value)); }
inline std::int32_t Floor32(double Value) { return Fitting<std::int32_t>(std::floor(Value)); }

}  // namespace Rounding
