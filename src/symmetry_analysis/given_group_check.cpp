#include "symmetry_analysis/given_group_check.hpp"

#include <algorithm>
#include <cmath>

#include "symmetry_analysis/reflection_sets.hpp"
#include "symmetry_analysis/settings_table.hpp"

namespace vorlane::symmetry_analysis {

bool absences_contradicted(const GivenGroupCheck& check) {
  return check.n_absent_strong > 0.01 * check.n_absent &&
         check.n_absent_strong >= MIN_STRONG_ABSENT;
}

GivenGroupCheck check_given_group(const std::vector<Measurement>& data, const Analysis& a,
                                  const std::string& symbol) {
  GivenGroupCheck check;
  if (!a.determinable) return check;
  const gemmi::SpaceGroup* sg = gemmi::find_spacegroup_by_name(symbol);
  if (sg == nullptr) return check;
  const auto setting = std::find_if(settings_table().begin(), settings_table().end(),
                                    [&](const Setting& s) { return s.group == sg; });
  if (setting == settings_table().end()) return check;
  check.checked = true;

  if (a.reindexing.empty()) {
    for (const LaueRow& r : a.laue)
      if (r.candidate.group.rotations == setting->laue.rotations)
        check.laue_probability = r.probability;
  } else {
    check.laue_probability = 1.0;  // the classes are in other axes: only the absences count
  }

  const std::vector<Measurement> sorted = canonical_order(data);
  const std::vector<double> s2 = inverse_d_squared(sorted, a.crystal_as_given.cell);
  const Orbits orbits = group_orbits(sorted, s2, setting->laue);
  std::vector<double> all_s2;
  for (const Orbit& o : orbits.sets) all_s2.push_back(o.s2);
  const Shells shells = equal_count_shells(all_s2, 300, 20);
  std::vector<double> sum(static_cast<std::size_t>(shells.size()), 0.0);
  std::vector<int> count(sum.size(), 0);
  for (const Orbit& o : orbits.sets) {
    const auto s = static_cast<std::size_t>(shells.of(o.s2));
    sum[s] += o.intensity;
    ++count[s];
  }
  std::vector<double> values;
  for (const Orbit& o : orbits.sets) {
    if (!setting->ops.is_systematically_absent(o.hkl)) continue;
    const auto s = static_cast<std::size_t>(shells.of(o.s2));
    const double floor = 0.02 * std::max(0.0, sum[s] / count[s]);
    // The median of the measurements: one outlier among them does not make the reflection
    // strong.
    values.clear();
    for (int i = 0; i < o.count; ++i)
      values.push_back(sorted[static_cast<std::size_t>(
                                  orbits.members[static_cast<std::size_t>(o.first + i)])]
                           .intensity);
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    const double median = n % 2 == 1 ? values[n / 2] : 0.5 * (values[n / 2 - 1] + values[n / 2]);
    ++check.n_absent;
    if (median > 3.0 * std::hypot(o.sigma, floor)) ++check.n_absent_strong;
  }
  check.contradicted = check.laue_probability < 0.05 || absences_contradicted(check);
  return check;
}

}  // namespace vorlane::symmetry_analysis
