#include "input/make_sets_contiguous.hpp"

#include <utility>

namespace vorlane::input {

void make_sets_contiguous(run::ReflectionList& list, std::vector<std::uint32_t>& set_of) {
  // Counting pass: each set starts where the sets before it end.
  std::uint32_t next = 0;
  for (run::EquivSet& set : list.sets) {
    set.first = next;
    next += static_cast<std::uint32_t>(set.NEQ);
  }
  // Destination of every member: its set's start plus the members of that set read before
  // it. The set's `first` serves as the cursor and is restored afterwards.
  std::vector<std::uint32_t>& dest = set_of;
  for (std::uint32_t& d : dest) d = list.sets[d].first++;
  for (run::EquivSet& set : list.sets) set.first -= static_cast<std::uint32_t>(set.NEQ);
  // Apply the permutation in place, cycle by cycle: every swap puts one member home.
  std::vector<run::Member>& members = list.members;
  for (std::uint32_t i = 0; i < dest.size(); ++i) {
    while (dest[i] != i) {
      const std::uint32_t j = dest[i];
      std::swap(members[i], members[j]);
      std::swap(dest[i], dest[j]);
    }
  }
  std::vector<std::uint32_t>().swap(set_of);
}

}  // namespace vorlane::input
