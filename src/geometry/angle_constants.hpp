#pragma once
// Degree/radian factors as single-precision values. Every angle conversion of the cell
// routines uses exactly these, so printed cells and the tiny non-zero off-diagonal terms of a
// right-angled cell come out the same on every platform.
#include <bit>
#include <cstdint>

namespace vorlane::geometry {

inline constexpr float DEGRAD = 0.017453292f;  // pi/180
inline constexpr float RADDEG = 57.295776f;    // 180/pi

static_assert(std::bit_cast<std::uint32_t>(DEGRAD) == 0x3C8EFA35u);
static_assert(std::bit_cast<std::uint32_t>(RADDEG) == 0x42652EE0u);

}  // namespace vorlane::geometry
