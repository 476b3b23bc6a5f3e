#include "frontend/result_summary.hpp"

#include <algorithm>
#include <cmath>

#include "expfile/laue_classes.hpp"
#include "records/edit_list.hpp"

namespace vorlane::frontend {
namespace {

std::string trimmed(std::string_view s) {
  const auto b = s.find_first_not_of(' ');
  if (b == std::string_view::npos) return {};
  return std::string(s.substr(b, s.find_last_not_of(' ') - b + 1));
}

std::string number(double v, int decimals) {
  if (!std::isfinite(v)) return "-";
  return trimmed(records::format_F(v, 14, decimals));
}

std::string count(std::int64_t n) { return std::to_string(n); }

}  // namespace

std::vector<SummaryRow> result_summary(const run::RunState& rs) {
  std::vector<SummaryRow> rows;
  auto add = [&rows](std::string label, std::string value, std::string item = {}) {
    rows.push_back({std::move(label), std::move(value), std::move(item)});
  };
  const auto& refl = rs.refl;
  const auto& res = rs.res;
  const auto& ctl = rs.ctl;

  add("Title", trimmed(ctl.TITLE));
  add("Reflections read", count(static_cast<std::int64_t>(refl.members.size())));
  add("Equivalent sets", count(refl.NSET()));
  add("Sets measured once", count(res.NSINGLET));
  add("Measurements of the sets written", count(res.NINDIV_ALLOWED), "_diffrn_reflns_number");

  const auto& r = rs.stats.rejections;
  add("Rejected: space-group violation", count(r.violation));
  add("Rejected: outside the 2theta window", count(r.outside_2theta));
  add("Rejected: less-than", count(r.less_than));
  add("Rejected: singlet dropped", count(r.singlet_dropped));
  add("Rejected: DAC dip", count(r.dac_dip));
  add("Rejected: outlier", count(r.outlier));
  add("Rejected: value too wide for its field", count(r.overflow));

  add("R(int)", number(res.RINT_ALL, 4), "_diffrn_reflns_av_R_equivalents");
  add("R(sigma)", number(res.RSIG_ALL, 4), "_diffrn_reflns_av_unetI/netI");

  // theta_max and theta_full as the CIF fragment gives them: the largest 2theta of the sets'
  // first members, and the 2theta limit.
  float largest = 0.0f;
  for (const auto& set : refl.sets) largest = std::max(largest, refl.member(set, 1).REFANG[0]);
  const std::string theta_max = refl.sets.empty() ? "?" : number(largest / 2.0f, 2);
  const std::string theta_full = number(ctl.TTHMAX / 2.0f, 2);
  auto fraction = [](float f) { return f < 0.0f ? std::string("?") : number(f, 3); };
  add("theta_max (deg)", theta_max, "_diffrn_reflns_theta_max");
  add("theta_full (deg)", theta_full, "_diffrn_reflns_theta_full");
  add("Completeness to theta_max", fraction(res.completeness_max),
      "_diffrn_measured_fraction_theta_max");
  add("Completeness to theta_full", fraction(res.completeness_full),
      "_diffrn_measured_fraction_theta_full");

  add("Friedel mates", ctl.INOFLIP == 1 ? "kept apart (FRIEDEL NOFLIP)"
                                        : "merged as equivalent");
  std::string symmetry = std::to_string(rs.sg.NSYMOP) + " operators, " +
                         std::to_string(rs.sg.NCENVEC) + " centring vector" +
                         (rs.sg.NCENVEC == 1 ? "" : "s") + ", " +
                         (rs.sg.ICENTRIC == 2 ? "centrosymmetric" : "non-centrosymmetric");
  if (ctl.LAUECLS > 0 && ctl.LAUECLS <= static_cast<int>(expfile::LAUE_CLASSES.size()))
    symmetry += ", Laue class " +
                trimmed(expfile::LAUE_CLASSES[static_cast<std::size_t>(ctl.LAUECLS - 1)].symbol);
  add("Symmetry", symmetry);

  // The shell table's overall row, under its own label: it is not the CIF's R(int).
  if (rs.stats.has_shells) {
    const auto& o = rs.stats.overall;
    add("Shell table overall: d range (A)", number(o.d_max, 2) + " - " + number(o.d_min, 2));
    add("Shell table overall: <I/sigma>", number(o.i_over_sigma, 2));
    add("Shell table overall: R(int)", number(o.r_int, 4));
    add("Shell table overall: CC1/2", number(o.cc_half, 4));
    add("Shell table overall: completeness", number(o.completeness, 3));
  } else if (!rs.stats.no_shells_reason.empty()) {
    add("Shell table", rs.stats.no_shells_reason);
  }
  return rows;
}

}  // namespace vorlane::frontend
