#include "symmetry_analysis/space_group_ranking.hpp"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <numbers>
#include <tuple>

#include "symmetry_analysis/reflection_sets.hpp"
#include "symmetry_analysis/settings_table.hpp"
#include "symmetry_analysis/space_group_prior.hpp"

namespace vorlane::symmetry_analysis {
namespace {

constexpr double SIGMA_FLOOR = 0.02;     // of the shell's <I/epsilon>
constexpr double ANYTHING_GOES = 1e-12;  // absent reflections that may be anything
constexpr int PATTERN_RANGE = 6;         // absences compared over |h|,|k|,|l| <= 6

double log_normal_cdf(double x) {
  if (x > -5.0) return std::log(0.5 * std::erfc(-x / std::numbers::sqrt2));
  return -0.5 * x * x - std::log(-x) - 0.5 * std::log(2.0 * std::numbers::pi) +
         std::log1p(-1.0 / (x * x));
}

// ln p(I) for an acentric Wilson intensity of mean `mean` measured with error `sigma`.
double log_wilson_acentric(double i, double sigma, double mean) {
  return -std::log(mean) - i / mean + sigma * sigma / (2.0 * mean * mean) +
         log_normal_cdf((i - sigma * sigma / mean) / sigma);
}

double log_normal(double x, double sigma) {
  return -0.5 * x * x / (sigma * sigma) - std::log(sigma) - 0.5 * std::log(2.0 * std::numbers::pi);
}

double log_sum_exp(double a, double b) {
  const double m = std::max(a, b);
  return m + std::log(std::exp(a - m) + std::exp(b - m));
}

bool fixed_by_some_op(const Hkl& h, const PointGroup& laue) {
  return std::any_of(laue.rotations.begin(), laue.rotations.end(),
                     [&](const Rot& r) { return r != IDENTITY && image_of(h, r) == h; });
}

std::vector<bool> absence_pattern(const gemmi::GroupOps& ops) {
  std::vector<bool> pattern;
  for (int h = -PATTERN_RANGE; h <= PATTERN_RANGE; ++h)
    for (int k = -PATTERN_RANGE; k <= PATTERN_RANGE; ++k)
      for (int l = -PATTERN_RANGE; l <= PATTERN_RANGE; ++l)
        pattern.push_back(ops.is_systematically_absent({h, k, l}));
  return pattern;
}

struct ZoneReflection {
  const Orbit* orbit = nullptr;
  double log_ratio = 0.0;  // ln p(I | absent) - ln p(I | Wilson)
};

struct Candidate {
  const Setting* setting = nullptr;
  std::vector<bool> pattern;
  double log_score = 0.0;
  double probability = 0.0;
  ClassFigures absent;
  std::size_t laue_index = 0;
};

ClassFigures figures_of(const std::vector<const Orbit*>& orbits) {
  ClassFigures f;
  for (const Orbit* o : orbits) {
    ++f.n;
    if (o->intensity > 3.0 * o->sigma) ++f.n_strong;
    f.mean_i += o->intensity;
    f.mean_i_over_sigma += o->intensity / o->sigma;
  }
  if (f.n > 0) {
    f.mean_i /= f.n;
    f.mean_i_over_sigma /= f.n;
  }
  return f;
}

// The unique reflections on the zones of one Laue class with their likelihood ratios.
std::vector<ZoneReflection> zone_reflections(const Orbits& orbits, const PointGroup& laue,
                                             const std::string& centring_name) {
  std::vector<const Orbit*> allowed;
  std::vector<double> s2;
  for (const Orbit& o : orbits.sets)
    if (!centring_forbids(centring_name, o.hkl)) {
      allowed.push_back(&o);
      s2.push_back(o.s2);
    }
  const Shells shells = equal_count_shells(s2, 300, 20);
  std::vector<double> sum(static_cast<std::size_t>(shells.size()), 0.0);
  std::vector<int> count(sum.size(), 0);
  for (const Orbit* o : allowed) {
    const auto s = static_cast<std::size_t>(shells.of(o->s2));
    sum[s] += o->intensity / std::max(1, laue.epsilon(o->hkl));
    ++count[s];
  }
  std::vector<ZoneReflection> zone;
  for (const Orbit* o : allowed) {
    if (!fixed_by_some_op(o->hkl, laue)) continue;
    const auto s = static_cast<std::size_t>(shells.of(o->s2));
    const double shell_mean = std::max(sum[s] / count[s], 1e-3 * o->sigma);
    const double mean = std::max(1, laue.epsilon(o->hkl)) * shell_mean;
    const double sigma0 = std::hypot(o->sigma, SIGMA_FLOOR * shell_mean);
    const double wilson = log_wilson_acentric(o->intensity, o->sigma, mean);
    const double zero = log_sum_exp(std::log(1.0 - ANYTHING_GOES) + log_normal(o->intensity, sigma0),
                                    std::log(ANYTHING_GOES) + wilson);
    zone.push_back({o, zero - wilson});
  }
  return zone;
}

}  // namespace

double centrosymmetry_weight(const IntensityStatistics& stats, bool centrosymmetric) {
  if (!stats.reliable) return 1.0;
  // The score's spread falls as the reflections behind it grow in number.
  const double width = std::clamp(0.1 * std::sqrt(300.0 / stats.n_used), 0.04, 0.2);
  const double c = 1.0 / (1.0 + std::exp(-(stats.centric_score - 0.5) / width));
  const double w = std::clamp(c, 0.005, 0.995);
  return centrosymmetric ? w : 1.0 - w;
}

SpaceGroupRanking rank_space_groups(const std::vector<Measurement>& data,
                                    const std::vector<double>& s2,
                                    const std::vector<LaueRow>& laue, char centring_letter,
                                    const std::string& centring_name,
                                    const IntensityStatistics& stats) {
  SpaceGroupRanking ranking;
  std::vector<Candidate> candidates;
  for (std::size_t li = 0; li < laue.size(); ++li) {
    if (li > 0 && laue[li].probability < 0.01) continue;
    const PointGroup& group = laue[li].candidate.group;
    const Orbits orbits = group_orbits(data, s2, group);
    const std::vector<ZoneReflection> zone = zone_reflections(orbits, group, centring_name);

    std::vector<Candidate> in_class;
    for (const Setting& s : settings_table()) {
      if (s.centring != centring_letter || s.laue.rotations != group.rotations) continue;
      Candidate c;
      c.setting = &s;
      c.pattern = absence_pattern(s.ops);
      c.laue_index = li;
      auto same = std::find_if(in_class.begin(), in_class.end(), [&](const Candidate& o) {
        return o.setting->group->number == s.group->number && o.pattern == c.pattern;
      });
      if (same == in_class.end()) {
        in_class.push_back(std::move(c));
      } else if (s.group->ext == '2' && same->setting->group->ext == '1') {
        same->setting = &s;  // origin choice 2 for the same group
      }
    }
    double best = -std::numeric_limits<double>::infinity();
    for (Candidate& c : in_class) {
      std::vector<const Orbit*> absent;
      double log_l = 0.0;
      for (const ZoneReflection& z : zone)
        if (c.setting->ops.is_systematically_absent(z.orbit->hkl)) {
          absent.push_back(z.orbit);
          log_l += z.log_ratio;
        }
      c.absent = figures_of(absent);
      c.log_score = log_l +
                    std::log(centrosymmetry_weight(stats, c.setting->group->is_centrosymmetric())) +
                    std::log(space_group_prior(c.setting->group->number));
      best = std::max(best, c.log_score);
    }
    double total = 0.0;
    for (Candidate& c : in_class) total += std::exp(c.log_score - best);
    for (Candidate& c : in_class) {
      c.probability = laue[li].probability * std::exp(c.log_score - best) / total;
      candidates.push_back(std::move(c));
    }

    if (li == 0) {
      // The reflection conditions of the first class's groups: one row per operator with a
      // translation that makes some measured reflections absent.
      std::vector<std::pair<Rot, std::vector<bool>>> seen;
      for (const Candidate& c : in_class)
        for (const gemmi::Op& op : c.setting->ops.sym_ops) {
          Rot r{};
          for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j) r[i * 3 + j] = op.rot[i][j] / gemmi::Op::DEN;
          std::vector<const Orbit*> on_zone, absent;
          std::vector<bool> flags;
          for (const ZoneReflection& z : zone) {
            if (image_of(z.orbit->hkl, r) != z.orbit->hkl) continue;
            on_zone.push_back(z.orbit);
            const Hkl& h = z.orbit->hkl;
            const bool out = (h[0] * op.tran[0] + h[1] * op.tran[1] + h[2] * op.tran[2]) %
                                 gemmi::Op::DEN != 0;
            flags.push_back(out);
            if (out) absent.push_back(z.orbit);
          }
          if (absent.empty()) continue;
          if (std::find(seen.begin(), seen.end(), std::make_pair(r, flags)) != seen.end())
            continue;
          seen.emplace_back(r, flags);
          ConditionRow row;
          row.op = op.triplet();
          row.n_zone = static_cast<int>(on_zone.size());
          row.absent = figures_of(absent);
          ranking.conditions.push_back(row);
        }
    }
  }

  // Ties: one Laue class, the same absences and, unless the statistics are reliable, either
  // centrosymmetry.
  double sum = 0.0;
  for (const Candidate& c : candidates) sum += c.probability;
  std::vector<const Candidate*> order;
  for (const Candidate& c : candidates) order.push_back(&c);
  std::stable_sort(order.begin(), order.end(), [](const Candidate* a, const Candidate* b) {
    if (a->probability != b->probability) return a->probability > b->probability;
    return a->setting->group->xhm() < b->setting->group->xhm();
  });
  std::vector<bool> placed(order.size(), false);
  for (std::size_t i = 0; i < order.size(); ++i) {
    if (placed[i]) continue;
    const Candidate& lead = *order[i];
    SpaceGroupRow row;
    row.symbol = lead.setting->group->xhm();
    row.number = lead.setting->group->number;
    row.centrosymmetric = lead.setting->group->is_centrosymmetric();
    row.laue_symbol = laue[lead.laue_index].candidate.symbol;
    row.absent = lead.absent;
    row.probability = lead.probability;
    for (std::size_t j = i + 1; j < order.size(); ++j) {
      const Candidate& o = *order[j];
      if (placed[j] || o.laue_index != lead.laue_index || o.pattern != lead.pattern) continue;
      if (stats.reliable &&
          o.setting->group->is_centrosymmetric() != lead.setting->group->is_centrosymmetric())
        continue;
      placed[j] = true;
      row.probability += o.probability;
      row.ties.push_back(o.setting->group->xhm());
    }
    if (sum > 0.0) row.probability /= sum;
    ranking.rows.push_back(row);
  }
  std::stable_sort(ranking.rows.begin(), ranking.rows.end(),
                   [](const SpaceGroupRow& a, const SpaceGroupRow& b) {
                     return a.probability > b.probability;
                   });
  return ranking;
}

}  // namespace vorlane::symmetry_analysis
