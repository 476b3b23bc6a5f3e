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
  const averaging::DataFigures& f = res.figures;
  add("Measurements of the sets written", count(f.reflections), "_diffrn_reflns_number");
  add("Lines written", count(f.lines_total), "_reflns_number_total");
  add("Lines above the threshold", count(f.lines_gt), "_reflns_number_gt");

  const auto& r = rs.stats.rejections;
  if (r.impossible > 0)
    add("Left out: impossible for the cell and wavelength", count(r.impossible));
  add("Rejected: space-group violation", count(r.violation));
  add("Rejected: outside the 2theta window", count(r.outside_2theta));
  add("Rejected: less-than", count(r.less_than));
  add("Rejected: singlet dropped", count(r.singlet_dropped));
  add("Rejected: DAC dip", count(r.dac_dip));
  add("Rejected: outlier", count(r.outlier));
  add("Rejected: value too wide for its field", count(r.overflow));

  // "n/a" where the CIF writes "?": no pairs, or intensities that sum to zero or less.
  const auto r_value = [&res](float v) { return res.rint_known ? number(v, 4) : std::string("n/a"); };
  add("R(int)", res.RINT_USED >= 0.0f ? number(res.RINT_USED, 4) : std::string("n/a"),
      "_diffrn_reflns_av_R_equivalents");
  add("R(sigma)", r_value(res.RSIG_ALL), "_diffrn_reflns_av_unetI/netI");
  add("Output sigma", ctl.sigma_of_mean() ? "sigma of the weighted mean"
                                          : "spread of one observation (not of the mean)");
  if (!res.output_scale_note.empty()) add("Output scale", res.output_scale_note);
  if (!res.space_group_choice.empty()) add("Space group", res.space_group_choice);

  // The CIF fragment's figures, "?" where it writes "?".
  auto angle = [&f](float t) { return f.theta_known ? number(t, 2) : std::string("?"); };
  auto fraction = [](float v) {
    return v < 0.0f || v > 1.005f ? std::string("?") : number(v, 3);
  };
  add("theta_min (deg)", angle(f.theta_min), "_diffrn_reflns_theta_min");
  add("theta_max (deg)", angle(f.theta_max), "_diffrn_reflns_theta_max");
  add("theta_full (deg)", angle(f.theta_full), "_diffrn_reflns_theta_full");
  add("Completeness to theta_max", fraction(f.run_max().fraction()),
      "_diffrn_measured_fraction_theta_max");
  add("Completeness to theta_full", fraction(f.run_full().fraction()),
      "_diffrn_measured_fraction_theta_full");
  add("Laue completeness to theta_max", fraction(f.laue_max.fraction()),
      "_diffrn_reflns_Laue_measured_fraction_max");
  add("Point-group completeness to theta_max", fraction(f.point_group_max.fraction()),
      "_diffrn_reflns_point_group_measured_fraction_max");
  add("Friedel coverage", fraction(f.friedel_coverage()), "_reflns_Friedel_coverage");

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
