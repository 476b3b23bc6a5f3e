#include "averaging/average_data.hpp"

#include <algorithm>
#include <optional>
#include <span>
#include <vector>

#include "averaging/average_data_set.hpp"
#include "run/two_halves.hpp"

namespace vorlane::averaging {

void AVERAGE_DATA(run::RunState& rs) {
  RunResults& res = rs.res;
  res.RATIO = 0.0f;
  res.NRATIO = 0;
  res.NSINGLET = 0;
  run::ReflectionList& refl = rs.refl;
  // Each set is averaged on its own, so the list is done in two halves; each set's sigma-ratio
  // term is kept, to be summed afterwards.
  std::vector<std::optional<float>> terms(refl.sets.size());
  auto average = [&](std::size_t from, std::size_t to) {
    std::vector<SortedMember> scratch;
    for (std::size_t i = from; i < to; ++i) {
      run::EquivSet& set = refl.sets[i];
      std::span<run::Member> members(refl.members.data() + set.first,
                                     static_cast<std::size_t>(set.NEQ));
      for (run::Member& m : members) m.IREJ = 0;
      set.NAVE = set.NEQ;
      if (set.NEQ == 1) continue;  // completed by HANDLE_SINGLETS
      terms[i] = average_data_set(set, members, rs.ctl, scratch);
    }
  };
  run::in_two_halves(refl.sets.size(), average);
  std::vector<float> ratio_terms;
  for (std::size_t i = 0; i < refl.sets.size(); ++i) {
    if (refl.sets[i].NEQ == 1) ++res.NSINGLET;
    if (terms[i]) ratio_terms.push_back(*terms[i]);
  }
  // The mean ratio of output sigma to rms input sigma over the averaged greater-than sets,
  // summed in double over the terms in increasing order: the same bits whatever the order of
  // the sets.
  std::sort(ratio_terms.begin(), ratio_terms.end());
  double sum = 0.0;
  for (const float t : ratio_terms) sum += t;
  res.NRATIO = static_cast<int>(ratio_terms.size());
  if (res.NRATIO >= 1) res.RATIO = static_cast<float>(sum / res.NRATIO);
}

}  // namespace vorlane::averaging
