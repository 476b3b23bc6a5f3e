#pragma once
// Reflections that reached the asymmetric unit only through their Friedel mates and were
// merged with them: counted, listed, and reported at the end of the data.
#include <array>
#include <vector>

#include "run/run_state.hpp"

namespace vorlane::input {

class SwappedReflections {
 public:
  // Counts one reflection (indices as read) and lists it while fewer than `max_listed` are.
  void add(const std::array<int, 3>& h, int max_listed);
  int count() const { return count_; }
  const std::vector<std::array<int, 3>>& listed() const { return listed_; }

  // When any were counted: the warning "<count> Reflections transformed to Friedel mates.
  // Check consistency of UNITIN and SYMOP cards" (a note that says what happened when the
  // group came by name, from SPACEGROUP), then in the print file an empty line, the heading,
  // an empty line and one line of h, k, l per listed reflection.
  void report(run::RunState& rs) const;

 private:
  int count_ = 0;
  std::vector<std::array<int, 3>> listed_;
};

}  // namespace vorlane::input
