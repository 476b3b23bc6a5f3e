#include "statistics/written_sets.hpp"

#include "averaging/written_sets.hpp"

#include <algorithm>

namespace vorlane::statistics {

std::string_view reason_text(Reason r) {
  switch (r) {
    case Reason::passed: return "passed";
    case Reason::impossible: return "impossible for the cell and wavelength";
    case Reason::violation: return "space-group violation";
    case Reason::outside_2theta: return "outside 2theta window";
    case Reason::less_than: return "less-than rejected";
    case Reason::singlet_dropped: return "singlet dropped";
    case Reason::dac_dip: return "DAC dip";
    case Reason::outlier: return "outlier";
    case Reason::overflow: return "value overflowed its output field";
  }
  return "";
}

bool value_overflowed(const run::ReflectionList& list, const run::EquivSet& set, int j,
                      const LeftOut* left_out) {
  if (left_out == nullptr || left_out->empty()) return false;
  // The writer lists records in writing order, which is list order: both lists ascend.
  const auto listed = [](const std::vector<std::uint32_t>& v, std::size_t i) {
    return std::binary_search(v.begin(), v.end(), static_cast<std::uint32_t>(i));
  };
  const auto s = static_cast<std::size_t>(&set - list.sets.data());
  if (!left_out->sets.empty() && listed(left_out->sets, s)) return true;
  const std::size_t m = set.first + static_cast<std::size_t>(j - 1);
  return !left_out->members.empty() && listed(left_out->members, m);
}

// The writer's own rule decides whether a set reaches the file; the reason names the first
// rule that keeps it out.
Reason set_reason(const run::EquivSet& set, const expfile::RunControls& ctl) {
  if (averaging::set_left_out(set, ctl.IABSENT)) {
    const bool violation = set.IABS == 1 || set.IABS == 3;
    return violation && ctl.IABSENT == 2 ? Reason::violation : Reason::outside_2theta;
  }
  if (ctl.IOUTAVE == 1 && !averaging::set_record_due(set, ctl))
    return set.IGT == 0 && ctl.IREJLT == 1 ? Reason::less_than : Reason::singlet_dropped;
  return Reason::passed;
}

Reason member_reason(const run::ReflectionList& list, const run::EquivSet& set, int j,
                     const expfile::RunControls& ctl, const LeftOut* left_out) {
  const Reason r = set_reason(set, ctl);
  if (r != Reason::passed) return r;
  return member_reason_in_passed_set(list, set, j, ctl, left_out);
}

Reason member_reason_in_passed_set(const run::ReflectionList& list, const run::EquivSet& set,
                                   int j, const expfile::RunControls& ctl,
                                   const LeftOut* left_out) {
  const run::Member& m = list.member(set, j);
  if (ctl.IOUTAVE == 0 && m.IOBS == 0 && ctl.IREJLT == 1) return Reason::less_than;
  if (m.IREJ == 1) return Reason::dac_dip;
  if (m.IREJ == 2) return Reason::outlier;
  if (value_overflowed(list, set, j, left_out)) return Reason::overflow;
  return Reason::passed;
}

bool set_written(const run::ReflectionList& list, const run::EquivSet& set,
                 const expfile::RunControls& ctl, const LeftOut* left_out) {
  if (set_reason(set, ctl) != Reason::passed) return false;
  if (ctl.IOUTAVE == 1) return true;
  for (int j = 1; j <= set.NEQ; ++j)
    if (member_reason_in_passed_set(list, set, j, ctl, left_out) == Reason::passed) return true;
  return false;
}

}  // namespace vorlane::statistics
