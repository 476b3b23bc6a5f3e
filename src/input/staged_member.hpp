#pragma once
#include <cstdint>

#include "run/reflection_list.hpp"

namespace vorlane::input {

// Filed members wait in the reflection list itself, in reading order, until the sets are
// complete; then they are moved to their sets in place. Until then IHKL, which is filled
// from the indices as read (and, for member 1 of a new set, the representative) once the
// member is in its place, holds the member's set in two 16-bit halves; its line number
// gives its place in reading order.
inline void stage(run::Member& m, std::uint32_t set) {
  m.IHKL.v = {static_cast<std::int16_t>(static_cast<std::uint16_t>(set & 0xFFFFu)),
              static_cast<std::int16_t>(static_cast<std::uint16_t>(set >> 16)), 0};
}
inline std::uint32_t staged_set(const run::Member& m) {
  return static_cast<std::uint32_t>(static_cast<std::uint16_t>(m.IHKL.v[0])) |
         static_cast<std::uint32_t>(static_cast<std::uint16_t>(m.IHKL.v[1])) << 16;
}

}  // namespace vorlane::input
