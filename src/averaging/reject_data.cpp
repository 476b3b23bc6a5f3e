#include "averaging/reject_data.hpp"

#include <array>
#include <cmath>

#include "run/two_halves.hpp"
#include "symmetry/absences.hpp"

namespace vorlane::averaging {

void REJECTDATA(run::RunState& rs) {
  const expfile::RunControls& ctl = rs.ctl;
  run::ReflectionList& refl = rs.refl;
  // Each set is classified on its own, so the list is done in two halves.
  auto classify = [&](std::size_t from, std::size_t to) {
    for (std::size_t i = from; i < to; ++i) {
      run::EquivSet& set = refl.sets[i];
      refl.prefetch_first(i + run::ReflectionList::PREFETCH_SETS);
      const run::Member& first = refl.member(set, 1);
      set.IABS = 0;
      // Absences are tested on every set whatever IABSENT says; IABSENT only decides later
      // how a violation is treated.
      const std::array<float, 3> h{static_cast<float>(first.IHKL[0]),
                                   static_cast<float>(first.IHKL[1]),
                                   static_cast<float>(first.IHKL[2])};
      if (symmetry::ISPABS(rs.sg, h) + symmetry::LATABS(rs.sg, h) != 2) set.IABS = 1;
      // Only the first-read member's 2theta decides; a limit value itself is inside.
      const float tth = std::fabs(first.REFANG[0]);
      if (tth < ctl.TTHMIN || tth > ctl.TTHMAX) set.IABS += 2;
      set.IGT = ctl.LTHRESH * set.SIGAVE < set.FAVE ? 1 : 0;
      for (int j = 1; j <= set.NEQ; ++j) {
        run::Member& m = refl.member(set, j);
        m.IOBS = ctl.LTHRESH * m.SIGFSQ < m.FSQ ? 1 : 0;
      }
    }
  };
  run::in_two_halves(refl.sets.size(), classify);
}

}  // namespace vorlane::averaging
