#pragma once
// Reflection lists built by hand for the summary, R-table and listing tests.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "run/reflection_list.hpp"

namespace vorlane::testing {

struct MemberSpec {
  float FSQ = 0.0f;
  float SIGFSQ = 1.0f;
  int IREJ = 0;
  int IOBS = 1;
};

struct SetSpec {
  std::array<int, 3> hkl{1, 0, 0};
  std::vector<MemberSpec> members;
  float FAVE = 0.0f;
  int IABS = 0;
  int IGT = 1;
  int NAVE = -1;  // -1: the members with IREJ = 0
};

// Appends one set with contiguous members; member 1 carries the set's indices.
inline void add_set(run::ReflectionList& refl, const SetSpec& wanted) {
  run::EquivSet set;
  set.first = static_cast<std::uint32_t>(refl.members.size());
  set.NEQ = static_cast<int>(wanted.members.size());
  int accepted = 0;
  for (const MemberSpec& m : wanted.members) {
    run::Member member;
    member.IHKL = wanted.hkl;
    member.hkl_read = wanted.hkl;
    member.FSQ = m.FSQ;
    member.SIGFSQ = m.SIGFSQ;
    member.REFANG = {10.0f};
    member.IREJ = static_cast<std::int8_t>(m.IREJ);
    member.IOBS = static_cast<std::int8_t>(m.IOBS);
    refl.members.push_back(member);
    accepted += m.IREJ == 0 ? 1 : 0;
  }
  set.NAVE = wanted.NAVE >= 0 ? wanted.NAVE : accepted;
  set.FAVE = wanted.FAVE;
  set.IABS = wanted.IABS;
  set.IGT = wanted.IGT;
  refl.sets.push_back(set);
}

inline std::string blanks(std::size_t n) { return std::string(n, ' '); }

// The lines of `all` from the first that equals `first`, `count` of them (fewer when the text
// ends); empty when `first` does not occur.
inline std::vector<std::string> lines_from(const std::vector<std::string>& all,
                                           const std::string& first, std::size_t count) {
  for (std::size_t i = 0; i < all.size(); ++i) {
    if (all[i] == first) {
      const std::size_t end = std::min(all.size(), i + count);
      return std::vector<std::string>(all.begin() + static_cast<std::ptrdiff_t>(i),
                                      all.begin() + static_cast<std::ptrdiff_t>(end));
    }
  }
  return {};
}

}  // namespace vorlane::testing
