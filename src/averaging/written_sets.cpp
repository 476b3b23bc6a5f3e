#include "averaging/written_sets.hpp"

namespace vorlane::averaging {

bool set_left_out(const run::EquivSet& set, int IABSENT) {
  return set.IABS == 2 || set.IABS == 3 || (IABSENT == 2 && set.IABS == 1);
}

bool set_record_due(const run::EquivSet& set, const expfile::RunControls& ctl) {
  if (set_left_out(set, ctl.IABSENT)) return false;
  if (set.IGT == 0 && ctl.IREJLT == 1) return false;
  return !(ctl.INOSING == 1 && set.NAVE == 1);
}

bool member_record_due(const run::EquivSet& set, const run::Member& m,
                       const expfile::RunControls& ctl) {
  if (set_left_out(set, ctl.IABSENT)) return false;
  if (m.IREJ != 0) return false;
  return !(m.IOBS == 0 && ctl.IREJLT == 1);
}

bool record_greater(const run::EquivSet& set, bool observed, const expfile::RunControls& ctl) {
  return observed && !(ctl.IABSENT == 1 && set.IABS == 1);
}

WrittenData written_data(const run::ReflectionList& list, const expfile::RunControls& ctl,
                         const RunResults& res) {
  WrittenData w;
  const std::size_t nsets = list.sets.size();
  w.set_written.assign(nsets, 0);
  if (ctl.IOUTAVE == 1) {
    std::vector<std::uint8_t> overflow(nsets, 0);
    for (std::uint32_t s : res.overflowed_sets) {
      if (s < nsets) overflow[s] = 1;
    }
    for (std::size_t s = 0; s < nsets; ++s) {
      const run::EquivSet& set = list.sets[s];
      if (!set_record_due(set, ctl)) continue;
      if (overflow[s] != 0) {
        ++w.overflowed;
        continue;
      }
      w.set_written[s] = 1;
      ++w.lines;
      if (record_greater(set, set.IGT == 1, ctl)) ++w.lines_gt;
    }
    return w;
  }
  std::vector<std::uint8_t> overflow(list.members.size(), 0);
  for (std::uint32_t m : res.overflowed_members) {
    if (m < overflow.size()) overflow[m] = 1;
  }
  for (std::size_t s = 0; s < nsets; ++s) {
    const run::EquivSet& set = list.sets[s];
    if (set_left_out(set, ctl.IABSENT)) continue;
    for (int j = 1; j <= set.NEQ; ++j) {
      const run::Member& m = list.member(set, j);
      if (!member_record_due(set, m, ctl)) continue;
      if (overflow[set.first + static_cast<std::uint32_t>(j - 1)] != 0) {
        ++w.overflowed;
        continue;
      }
      w.set_written[s] = 1;
      ++w.lines;
      if (record_greater(set, m.IOBS == 1, ctl)) ++w.lines_gt;
    }
  }
  return w;
}

}  // namespace vorlane::averaging
