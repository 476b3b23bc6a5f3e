#pragma once
// The reflection list: every measured reflection, grouped into equivalent sets.
//
// Storage grows with the data: there is no fixed number of sets or of members of a set.
// Containers count from 0: set i of the text (1..NSET) is sets[i-1], member j of a set
// (1..NEQ) is members[first + j - 1]. Members of one set are contiguous, in the order they
// were read; member 1 holds the set's representative indices.
#include <array>
#include <cstdint>
#include <vector>

namespace vorlane::run {

struct Member {
  std::array<int, 3> IHKL{};
  float FSQ = 0.0f;
  float SIGFSQ = 0.0f;
  std::array<float, 3> REFANG{};  // 2theta first
  float ITAG = 0.0f;
  std::int8_t IREJ = 0;  // 0 accepted, 1 DAC dip, 2 outlier
  std::int8_t IOBS = 0;  // 1 observed (greater-than)
  // The record as read, for reports that must describe the measurement itself: its indices
  // (member 1 too, whose IHKL holds the representative; index fields are at most four
  // columns wide, so 16 bits hold them), its batch number (0 when the format has none) and
  // its line in the input file (from 1).
  std::array<std::int16_t, 3> hkl_read{};
  std::int32_t batch = 0;
  std::uint32_t line = 0;
};

struct EquivSet {
  std::uint32_t first = 0;  // index of member 1 in ReflectionList::members
  int NEQ = 0;
  int NAVE = 0;
  float AUXVAL = 0.0f;
  float FAVE = 0.0f;
  float SIGAVE = 0.0f;
  // SIGINT is a macro of <csignal> (the interrupt signal): the underscore keeps the name
  // findable without colliding with it.
  float SIGINT_ = 0.0f;
  float SIGEXT = 0.0f;
  float SIGINT2 = 0.0f;
  float SIGEXT2 = 0.0f;
  int IABS = 0;  // 0 allowed, 1 space-group violation, 2 outside 2theta limits, 3 both
  int IGT = 0;   // 1 greater-than
};

struct ReflectionList {
  std::vector<EquivSet> sets;
  std::vector<Member> members;

  int NSET() const { return static_cast<int>(sets.size()); }
  Member& member(const EquivSet& s, int j) { return members[s.first + j - 1]; }  // j from 1
  const Member& member(const EquivSet& s, int j) const { return members[s.first + j - 1]; }
};

}  // namespace vorlane::run
