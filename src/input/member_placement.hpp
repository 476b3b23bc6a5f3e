#pragma once
// The last step of the reading: the filed members, which wait in the reflection list in
// reading order, each marked with its set (see staged_member.hpp), go to their sets: each
// set's members together, in reading order, member 1 of a new set carrying the set's
// representative.
#include <vector>

#include "run/large_array.hpp"
#include "run/reflection_list.hpp"

namespace vorlane::input {

// What the filing left for the placement.
struct FiledMembers {
  // Members this reading adds to every set, counted by the placement; one entry per set.
  std::vector<int> neq;
  // AUXVAL and representative of each set opened by this reading (the sets themselves are
  // made by the placement, in one allocation).
  std::vector<float> new_set_aux;
  std::vector<run::Indices> new_set_rep;
  std::size_t existing_sets = 0;                  // sets in the list before this reading
  run::LargeArray<run::Member> existing_members;  // their members, set aside while reading
};

// Makes the sets of `filed` and moves every member of `list.members` into its set's stretch.
void place_members(run::ReflectionList& list, FiledMembers& filed);

}  // namespace vorlane::input
