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
  // One scatter: every member goes to its set's start plus the members of that set read
  // before it (the set's `first` serves as the cursor and is restored afterwards). Reading in
  // order and writing to independent places keeps the memory system busy in parallel, which a
  // permutation in place, one dependent swap after another, cannot.
  std::vector<run::Member> placed(list.members.size());
  for (std::size_t i = 0; i < list.members.size(); ++i) {
    placed[list.sets[set_of[i]].first++] = list.members[i];
  }
  for (run::EquivSet& set : list.sets) set.first -= static_cast<std::uint32_t>(set.NEQ);
  std::vector<std::uint32_t>().swap(set_of);
  list.members = std::move(placed);
}

}  // namespace vorlane::input
