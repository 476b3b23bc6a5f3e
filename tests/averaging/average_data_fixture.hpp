#pragma once
// Small hand-made reflection lists for the averaging tests.
#include <array>
#include <cmath>
#include <initializer_list>
#include <span>

#include "expfile/run_controls.hpp"
#include "run/reflection_list.hpp"

namespace vorlane::testing {

struct Obs {
  float FSQ;
  float SIGFSQ;
};

// Appends a set whose members have the given intensities and sigmas; member 1 carries `hkl`
// and 2theta `tth`, later members 2theta 10. The reference returned is only good until the
// next set is added.
inline run::EquivSet& add_set(run::ReflectionList& refl, std::initializer_list<Obs> obs,
                              std::array<int, 3> hkl = {1, 2, 3}, float tth = 20.0f) {
  run::EquivSet set;
  set.first = static_cast<std::uint32_t>(refl.members.size());
  set.NEQ = static_cast<int>(obs.size());
  bool first = true;
  for (const Obs& o : obs) {
    run::Member m;
    m.IHKL = hkl;
    m.FSQ = o.FSQ;
    m.SIGFSQ = o.SIGFSQ;
    m.REFANG = {first ? tth : 10.0f};
    refl.members.push_back(m);
    first = false;
  }
  refl.sets.push_back(set);
  return refl.sets.back();
}

inline std::span<run::Member> members_of(run::ReflectionList& refl, const run::EquivSet& set) {
  return {refl.members.data() + set.first, static_cast<std::size_t>(set.NEQ)};
}

inline expfile::RunControls controls(int irejmode,
                                     std::array<float, 4> bless = {0.05f, 3.29f, 2.58f, 1.0f}) {
  expfile::RunControls c;
  c.IREJMODE = irejmode;
  c.BLESS = bless;
  return c;
}

// Every per-set value is an ordinary finite number.
inline bool all_finite(const run::EquivSet& s) {
  return std::isfinite(s.FAVE) && std::isfinite(s.SIGAVE) && std::isfinite(s.SIGINT_) &&
         std::isfinite(s.SIGEXT) && std::isfinite(s.SIGINT2) && std::isfinite(s.SIGEXT2);
}

}  // namespace vorlane::testing
