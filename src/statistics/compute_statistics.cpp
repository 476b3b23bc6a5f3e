#include "statistics/compute_statistics.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <map>

#include "statistics/written_sets.hpp"

namespace vorlane::statistics {

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

// Running sums of one row of the shell table (or of the overall row).
struct Sums {
  std::int64_t n_obs = 0, n_unique = 0, n_possible = 0, n_accessible = 0;
  std::int64_t n_unique_accessible = 0;
  std::int64_t n_i_over_sigma = 0;
  double i_over_sigma = 0.0;
  double abs_dev = 0.0, abs_dev_meas = 0.0, abs_dev_pim = 0.0, sum_i = 0.0, sum_sigma = 0.0;
  // CC1/2 (sigma-tau): member means of the sets and the variance of their members.
  std::int64_t n_cc = 0;
  double mean_sum = 0.0, mean_sq_sum = 0.0, error_var = 0.0;
  std::int64_t n_dev = 0;
  double dev_sq = 0.0;
};

Sums& operator+=(Sums& a, const Sums& b) {
  a.n_obs += b.n_obs;
  a.n_unique += b.n_unique;
  a.n_possible += b.n_possible;
  a.n_accessible += b.n_accessible;
  a.n_unique_accessible += b.n_unique_accessible;
  a.n_i_over_sigma += b.n_i_over_sigma;
  a.i_over_sigma += b.i_over_sigma;
  a.abs_dev += b.abs_dev;
  a.abs_dev_meas += b.abs_dev_meas;
  a.abs_dev_pim += b.abs_dev_pim;
  a.sum_i += b.sum_i;
  a.sum_sigma += b.sum_sigma;
  a.n_cc += b.n_cc;
  a.mean_sum += b.mean_sum;
  a.mean_sq_sum += b.mean_sq_sum;
  a.error_var += b.error_var;
  a.n_dev += b.n_dev;
  a.dev_sq += b.dev_sq;
  return a;
}

double ratio(double a, double b) { return b != 0.0 ? a / b : NaN; }

// An R value is a ratio to the sum of the intensities: with that sum zero or negative (weak
// data, negative intensities) it means nothing, and is not formed.
double r_ratio(double a, double b) { return b > 0.0 ? a / b : NaN; }

ShellRow finish(const Sums& s, bool has_possible, bool has_dac) {
  ShellRow r;
  r.n_obs = s.n_obs;
  r.n_unique = s.n_unique;
  r.n_possible = s.n_possible;
  r.n_accessible = s.n_accessible;
  r.n_unique_accessible = s.n_unique_accessible;
  r.multiplicity = ratio(static_cast<double>(s.n_obs), static_cast<double>(s.n_unique));
  r.completeness = has_possible ? ratio(static_cast<double>(s.n_unique),
                                        static_cast<double>(s.n_possible))
                                : NaN;
  r.dac_completeness = has_dac ? ratio(static_cast<double>(s.n_unique_accessible),
                                       static_cast<double>(s.n_accessible))
                               : NaN;
  r.i_over_sigma = ratio(s.i_over_sigma, static_cast<double>(s.n_i_over_sigma));
  r.r_int = r_ratio(s.abs_dev, s.sum_i);
  r.r_sigma = r_ratio(s.sum_sigma, s.sum_i);
  r.r_meas = r_ratio(s.abs_dev_meas, s.sum_i);
  r.r_pim = r_ratio(s.abs_dev_pim, s.sum_i);
  if (s.n_cc >= 2) {
    const double k = static_cast<double>(s.n_cc);
    const double var_y = (s.mean_sq_sum - s.mean_sum * s.mean_sum / k) / (k - 1.0);
    const double var_e = s.error_var / k;
    // Without spread (the denominator zero or not positive) there is no correlation to state.
    r.cc_half = var_y + var_e / 2.0 > 0.0 ? (var_y - var_e / 2.0) / (var_y + var_e / 2.0) : NaN;
  } else {
    r.cc_half = NaN;
  }
  r.chi2 = ratio(s.dev_sq, static_cast<double>(s.n_dev));
  return r;
}

// The figures one written set adds to a row: its accepted members are `acc`.
void add_set(Sums& s, const run::EquivSet& set, const std::vector<const run::Member*>& acc,
             std::vector<float>* deviations) {
  const auto n = static_cast<std::int64_t>(acc.size());
  s.n_obs += n;
  s.n_unique += 1;
  if (set.SIGAVE > 0.0f) {
    s.i_over_sigma += static_cast<double>(set.FAVE) / static_cast<double>(set.SIGAVE);
    s.n_i_over_sigma += 1;
  }
  if (n < 2) return;
  const double nd = static_cast<double>(n);
  const double avg = set.FAVE;
  double dev = 0.0, mean = 0.0, sw = 0.0, swi = 0.0;
  // Each member's weight once (the deviations below need it again).
  std::array<double, 64> weights;
  const bool keep = acc.size() <= weights.size();
  for (std::size_t a = 0; a < acc.size(); ++a) {
    const run::Member* m = acc[a];
    dev += std::fabs(m->FSQ - avg);
    s.sum_i += m->FSQ;
    s.sum_sigma += m->SIGFSQ;
    mean += m->FSQ;
    const double w = 1.0 / (static_cast<double>(m->SIGFSQ) * m->SIGFSQ);
    if (keep) weights[a] = w;
    sw += w;
    swi += w * m->FSQ;
  }
  s.abs_dev += dev;
  s.abs_dev_meas += std::sqrt(nd / (nd - 1.0)) * dev;
  s.abs_dev_pim += std::sqrt(1.0 / (nd - 1.0)) * dev;
  mean /= nd;
  double ss = 0.0;
  for (const run::Member* m : acc) ss += (m->FSQ - mean) * (m->FSQ - mean);
  s.n_cc += 1;
  s.mean_sum += mean;
  s.mean_sq_sum += mean * mean;
  s.error_var += ss / (nd - 1.0) / (nd / 2.0);
  // Each member against the weighted mean of the others.
  for (std::size_t a = 0; a < acc.size(); ++a) {
    const run::Member* m = acc[a];
    const double sigma2 = static_cast<double>(m->SIGFSQ) * m->SIGFSQ;
    const double w = keep ? weights[a] : 1.0 / sigma2;
    const double sw_other = sw - w;
    if (!(sw_other > 0.0) || !std::isfinite(w)) continue;
    const double mean_other = (swi - w * m->FSQ) / sw_other;
    const double delta = (m->FSQ - mean_other) / std::sqrt(sigma2 + 1.0 / sw_other);
    s.dev_sq += delta * delta;
    s.n_dev += 1;
    if (deviations != nullptr) deviations->push_back(static_cast<float>(delta));
  }
}

int shell_of(double inv_d, double lo3, double step, int n_shells) {
  if (!(step > 0.0)) return 0;
  const int k = static_cast<int>(std::floor((inv_d * inv_d * inv_d - lo3) / step));
  return std::clamp(k, 0, n_shells - 1);
}

// Sorts floats (no NaN) by their bit patterns, 11 bits a pass: a million deviations sort
// several times faster than by comparisons.
void radix_sort(std::vector<float>& v) {
  const std::size_t n = v.size();
  std::vector<std::uint32_t> a(n), b(n);
  for (std::size_t i = 0; i < n; ++i) {
    std::uint32_t u;
    std::memcpy(&u, &v[i], sizeof u);
    // Negative numbers: all bits flipped; positive: the sign bit set. Unsigned order is then
    // the numbers' order.
    a[i] = (u >> 31) != 0 ? ~u : u | 0x80000000u;
  }
  std::vector<std::size_t> count(1 << 11);
  for (int shift = 0; shift < 32; shift += 11) {
    std::fill(count.begin(), count.end(), 0);
    for (std::uint32_t u : a) ++count[(u >> shift) & 0x7FF];
    std::size_t sum = 0;
    for (std::size_t& c : count) {
      const std::size_t here = c;
      c = sum;
      sum += here;
    }
    for (std::uint32_t u : a) b[count[(u >> shift) & 0x7FF]++] = u;
    a.swap(b);
  }
  for (std::size_t i = 0; i < n; ++i) {
    const std::uint32_t u = (a[i] >> 31) != 0 ? a[i] & 0x7FFFFFFFu : ~a[i];
    std::memcpy(&v[i], &u, sizeof u);
  }
}

}  // namespace

double normal_quantile(double p) {
  // Acklam's rational approximation (relative error below 1.2e-9: far below what a plot or
  // a fitted slope can show, and cheap enough for a million deviations).
  static constexpr double a[] = {-3.969683028665376e+01, 2.209460984245205e+02,
                                 -2.759285104469687e+02, 1.383577518672690e+02,
                                 -3.066479806614716e+01, 2.506628277459239e+00};
  static constexpr double b[] = {-5.447609879822406e+01, 1.615858368580409e+02,
                                 -1.556989798598866e+02, 6.680131188771972e+01,
                                 -1.328068155288572e+01};
  static constexpr double c[] = {-7.784894002430293e-03, -3.223964580411365e-01,
                                 -2.400758277161838e+00, -2.549732539343734e+00,
                                 4.374664141464968e+00,  2.938163982698783e+00};
  static constexpr double d[] = {7.784695709041462e-03, 3.224671290700398e-01,
                                 2.445134137142996e+00, 3.754408661907416e+00};
  const double plow = 0.02425;
  double x = 0.0;
  if (p < plow) {
    const double q = std::sqrt(-2.0 * std::log(p));
    x = (((((c[0] * q + c[1]) * q + c[2]) * q + c[3]) * q + c[4]) * q + c[5]) /
        ((((d[0] * q + d[1]) * q + d[2]) * q + d[3]) * q + 1.0);
  } else if (p <= 1.0 - plow) {
    const double q = p - 0.5, r = q * q;
    x = (((((a[0] * r + a[1]) * r + a[2]) * r + a[3]) * r + a[4]) * r + a[5]) * q /
        (((((b[0] * r + b[1]) * r + b[2]) * r + b[3]) * r + b[4]) * r + 1.0);
  } else {
    const double q = std::sqrt(-2.0 * std::log(1.0 - p));
    x = -(((((c[0] * q + c[1]) * q + c[2]) * q + c[3]) * q + c[4]) * q + c[5]) /
        ((((d[0] * q + d[1]) * q + d[2]) * q + d[3]) * q + 1.0);
  }
  return x;
}

NormalProbability normal_probability(std::vector<float> dev, std::size_t max_points) {
  NormalProbability np;
  np.slope = NaN;
  np.intercept = NaN;
  if (dev.empty()) return np;
  // Beyond MAX_FIT_POINTS deviations the fit and the plot take every m-th one in the order
  // they are given (set by set in the order of the representative indices), a fixed sample
  // whose sorted values follow the same distribution: sorting a million of them would cost
  // more than the rest of the figures.
  if (dev.size() > MAX_FIT_POINTS) {
    const std::size_t m = (dev.size() + MAX_FIT_POINTS - 1) / MAX_FIT_POINTS;
    std::size_t kept = 0;
    for (std::size_t i = 0; i < dev.size(); i += m) dev[kept++] = dev[i];
    dev.resize(kept);
  }
  const std::size_t n = dev.size();
  if (n < 4096) std::sort(dev.begin(), dev.end());
  else radix_sort(dev);
  double sx = 0, sy = 0, sxx = 0, sxy = 0;
  std::int64_t m = 0;
  const std::size_t stride = std::max<std::size_t>(1, (n + max_points - 1) / max_points);
  // Only the central part (|quantile| < 1: p between the normal distribution function at -1
  // and at +1, with a margin) and the plotted points need their quantile.
  constexpr double p_lo = 0.1586552539314570 - 1e-6, p_hi = 0.8413447460685430 + 1e-6;
  for (std::size_t k = 0; k < n; ++k) {
    const double p = (static_cast<double>(k) + 0.5) / static_cast<double>(n);
    const bool plotted = k % stride == 0;
    if (!plotted && (p < p_lo || p > p_hi)) continue;
    const double q = normal_quantile(p);
    if (std::fabs(q) < 1.0) {
      sx += q;
      sy += dev[k];
      sxx += q * q;
      sxy += q * dev[k];
      ++m;
    }
    if (plotted) {
      np.expected.push_back(q);
      np.observed.push_back(dev[k]);
    }
  }
  if (m >= 2) {
    const double md = static_cast<double>(m);
    const double den = md * sxx - sx * sx;
    if (den != 0.0) {
      np.slope = (md * sxy - sx * sy) / den;
      np.intercept = (sy - np.slope * sx) / md;
    }
  }
  return np;
}

RejectionCounts rejection_counts(const run::ReflectionList& list, const expfile::RunControls& ctl,
                                 const LeftOut* left_out) {
  RejectionCounts n;
  auto add = [&n](Reason r, std::int64_t count) {
    switch (r) {
      case Reason::passed: break;
      case Reason::impossible: n.impossible += count; break;
      case Reason::violation: n.violation += count; break;
      case Reason::outside_2theta: n.outside_2theta += count; break;
      case Reason::less_than: n.less_than += count; break;
      case Reason::singlet_dropped: n.singlet_dropped += count; break;
      case Reason::dac_dip: n.dac_dip += count; break;
      case Reason::outlier: n.outlier += count; break;
      case Reason::overflow: n.overflow += count; break;
    }
  };
  // With no less-thans rejected one by one and no value left out by the writer (the usual
  // run), a member of a passed set is left out only for its mark.
  add(Reason::impossible, static_cast<std::int64_t>(list.impossible.size()));
  const bool marks_only =
      !(ctl.IOUTAVE == 0 && ctl.IREJLT == 1) && (left_out == nullptr || left_out->empty());
  for (const run::EquivSet& set : list.sets) {
    const Reason whole = set_reason(set, ctl);
    if (whole != Reason::passed) {
      add(whole, set.NEQ);
      continue;
    }
    if (marks_only) {
      for (int j = 1; j <= set.NEQ; ++j) {
        const std::int8_t mark = list.member(set, j).IREJ;
        n.dac_dip += mark == 1;
        n.outlier += mark == 2;
      }
      continue;
    }
    for (int j = 1; j <= set.NEQ; ++j) {
      add(member_reason_in_passed_set(list, set, j, ctl, left_out), 1);
    }
  }
  return n;
}

Statistics compute_statistics(const run::ReflectionList& list, const expfile::RunControls& ctl,
                              const SetResolution& resolution, const PossibleSet& possible,
                              int n_shells) {
  Statistics st;
  n_shells = std::max(1, n_shells);
  const bool has_dac = possible.known && !possible.accessible.empty() &&
                       possible.set_accessible.size() == list.sets.size();
  st.has_dac = has_dac;

  // The written sets, the resolution range they span and the accepted members of each.
  std::vector<std::size_t> written;
  double lo = std::numeric_limits<double>::infinity(), hi = 0.0;
  for (std::size_t i = 0; i < list.sets.size(); ++i) {
    if (!set_written(list, list.sets[i], ctl)) continue;
    written.push_back(i);
    if (resolution.known) {
      lo = std::min(lo, resolution.inv_d[i]);
      hi = std::max(hi, resolution.inv_d[i]);
    }
  }
  // Every sum below runs over the sets in the order of their representative indices and over
  // each set's members in the order of their values, so that no figure depends on the order
  // in which the records were read.
  std::sort(written.begin(), written.end(), [&list](std::size_t a, std::size_t b) {
    return list.member(list.sets[a], 1).IHKL.v < list.member(list.sets[b], 1).IHKL.v;
  });
  st.has_shells = resolution.known && !written.empty() && hi > 0.0;
  if (!resolution.known) st.no_shells_reason = resolution.reason;
  else if (!st.has_shells) st.no_shells_reason = "NO WRITTEN SETS: NO RESOLUTION SHELLS";

  const double lo3 = lo * lo * lo, hi3 = hi * hi * hi;
  const double step = (hi3 - lo3) / n_shells;
  std::vector<Sums> shell(st.has_shells ? static_cast<std::size_t>(n_shells) : 0);
  Sums all;
  std::vector<float> deviations;
  deviations.reserve(list.members.size());
  // Batches by number: a flat table over the numbers' range (a map when that is sparse).
  std::int32_t first_batch = 0, last_batch = 0;
  for (const run::Member& m : list.members) {
    first_batch = std::min<std::int32_t>(first_batch, m.batch);
    last_batch = std::max<std::int32_t>(last_batch, m.batch);
  }
  const bool any_batch = first_batch != 0 || last_batch != 0;
  const std::int64_t span = std::int64_t{last_batch} - first_batch + 1;
  const bool flat = span <= 1 << 20;
  std::vector<std::pair<Sums, BatchRow>> batch_table(flat ? static_cast<std::size_t>(span) : 0);
  std::map<std::int32_t, std::pair<Sums, BatchRow>> batch_map;
  auto batch_entry = [&](std::int32_t b) -> std::pair<Sums, BatchRow>& {
    auto& e = flat ? batch_table[static_cast<std::size_t>(b - first_batch)] : batch_map[b];
    e.second.batch = b;
    return e;
  };

  std::vector<const run::Member*> acc, sorted;
  for (std::size_t i : written) {
    const run::EquivSet& set = list.sets[i];
    sorted.clear();
    for (int j = 1; j <= set.NEQ; ++j) sorted.push_back(&list.member(set, j));
    std::sort(sorted.begin(), sorted.end(), [](const run::Member* a, const run::Member* b) {
      if (a->FSQ != b->FSQ) return a->FSQ < b->FSQ;
      if (a->SIGFSQ != b->SIGFSQ) return a->SIGFSQ < b->SIGFSQ;
      if (a->batch != b->batch) return a->batch < b->batch;
      return a->IREJ < b->IREJ;
    });
    acc.clear();
    for (const run::Member* m : sorted)
      if (m->IREJ == 0) acc.push_back(m);
    const std::size_t size = acc.size();
    if (st.set_size_histogram.size() <= size) st.set_size_histogram.resize(size + 1, 0);
    ++st.set_size_histogram[size];
    Sums one;
    add_set(one, set, acc, &deviations);
    one.n_unique_accessible = has_dac && possible.set_accessible[i] != 0 ? 1 : 0;
    all += one;
    if (st.has_shells && !std::isnan(resolution.inv_d[i]))
      shell[static_cast<std::size_t>(shell_of(resolution.inv_d[i], lo3, step, n_shells))] += one;
    // By batch: each member against its set's average (the entry looked up again only when
    // the batch changes: members of one batch mostly follow each other).
    std::pair<Sums, BatchRow>* entry = nullptr;
    std::int32_t entry_batch = 0;
    for (std::size_t j = 0; any_batch && j < sorted.size(); ++j) {
      const run::Member& m = *sorted[j];
      if (entry == nullptr || m.batch != entry_batch) {
        entry = &batch_entry(m.batch);
        entry_batch = m.batch;
      }
      auto& [sums, row] = *entry;
      if (m.IREJ == 1) ++row.n_dac_dips;
      if (m.IREJ == 2) ++row.n_outliers;
      if (m.IREJ != 0) continue;
      ++row.n_obs;
      if (m.SIGFSQ > 0.0f) {
        sums.i_over_sigma += static_cast<double>(m.FSQ) / m.SIGFSQ;
        ++sums.n_i_over_sigma;
      }
      if (size >= 2) {
        sums.abs_dev += std::fabs(static_cast<double>(m.FSQ) - set.FAVE);
        sums.sum_i += m.FSQ;
      }
    }
  }

  // The complete set, shell by shell; reflections beyond the data's low-resolution edge
  // belong to the first shell (they were missed there).
  if (possible.known && st.has_shells) {
    const double top = hi * (1.0 + 1e-9);
    for (std::size_t p = 0; p < possible.inv_d.size(); ++p) {
      const double x = possible.inv_d[p];
      if (x > top) continue;
      const int k = x < lo ? 0 : shell_of(x, lo3, step, n_shells);
      auto& s = shell[static_cast<std::size_t>(k)];
      ++s.n_possible;
      ++all.n_possible;
      if (has_dac && possible.accessible[p]) {
        ++s.n_accessible;
        ++all.n_accessible;
      }
    }
  }

  for (int k = 0; k < static_cast<int>(shell.size()); ++k) {
    ShellRow r = finish(shell[static_cast<std::size_t>(k)], possible.known, has_dac);
    r.d_max = 1.0 / std::cbrt(lo3 + step * k);
    r.d_min = 1.0 / std::cbrt(lo3 + step * (k + 1));
    st.shells.push_back(r);
  }
  st.overall = finish(all, possible.known && st.has_shells, has_dac && st.has_shells);
  if (st.has_shells) {
    st.overall.d_max = 1.0 / lo;
    st.overall.d_min = 1.0 / hi;
  }
  st.normal_probability = normal_probability(std::move(deviations), MAX_PLOT_POINTS);
  if (any_batch) {
    if (flat)
      for (const auto& e : batch_table)
        if (e.second.n_obs + e.second.n_outliers + e.second.n_dac_dips > 0)
          batch_map.emplace(e.second.batch, e);
    for (auto& [b, entry] : batch_map) {
      BatchRow row = entry.second;
      row.i_over_sigma = ratio(entry.first.i_over_sigma,
                               static_cast<double>(entry.first.n_i_over_sigma));
      row.r_int = r_ratio(entry.first.abs_dev, entry.first.sum_i);
      st.batches.push_back(row);
    }
  }
  return st;
}

}  // namespace vorlane::statistics
