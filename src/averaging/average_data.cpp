#include "averaging/average_data.hpp"

#include <optional>
#include <span>

#include "averaging/average_data_set.hpp"

namespace vorlane::averaging {

void AVERAGE_DATA(run::RunState& rs) {
  RunResults& res = rs.res;
  res.RATIO = 0.0f;
  res.NRATIO = 0;
  res.NSINGLET = 0;
  run::ReflectionList& refl = rs.refl;
  for (run::EquivSet& set : refl.sets) {
    std::span<run::Member> members(refl.members.data() + set.first,
                                   static_cast<std::size_t>(set.NEQ));
    for (run::Member& m : members) m.IREJ = 0;
    set.NAVE = set.NEQ;
    if (set.NEQ == 1) {
      ++res.NSINGLET;  // completed by HANDLE_SINGLETS
      continue;
    }
    if (const std::optional<float> term = average_data_set(set, members, rs.ctl)) {
      res.RATIO += *term;
      ++res.NRATIO;
    }
  }
  // The mean ratio of output sigma to rms input sigma over the averaged greater-than sets.
  if (res.NRATIO >= 1) res.RATIO = res.RATIO / static_cast<float>(res.NRATIO);
}

}  // namespace vorlane::averaging
