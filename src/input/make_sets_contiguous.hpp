#pragma once
// Members are filed in reading order; the reflection list keeps the members of each set
// together. This moves them there.
#include <cstdint>
#include <vector>

#include "run/reflection_list.hpp"

namespace vorlane::input {

// `set_of[i]` is the 0-based set of members[i], and every set's NEQ counts its members.
// Afterwards the members of set 1 come first, then those of set 2 and so on, each set in
// reading order, and every set's `first` points at its member 1. `set_of` is left empty.
// Linear time; the members are copied once into storage of exactly their number.
void make_sets_contiguous(run::ReflectionList& list, std::vector<std::uint32_t>& set_of);

}  // namespace vorlane::input
