#include "frontend/run_summary.hpp"

#include "expfile/setting_report.hpp"
#include "records/edit_list.hpp"
#include "report/print_tables.hpp"

namespace vorlane::frontend {

RunOutcome describe_outcome(const run::RunState& rs) {
  RunOutcome o;
  const auto& refl = rs.refl;
  o.sets = refl.NSET();
  o.reflections = static_cast<int>(refl.members.size());
  if (rs.res.cif_written || !rs.report.ledger_path.empty()) {
    // The counts every report of the run gives (print file, CIF, statistics, ledger, window).
    o.dac_dips = static_cast<int>(rs.stats.rejections.dac_dip);
    o.outliers = static_cast<int>(rs.stats.rejections.outlier);
  } else if (rs.res.NDIPS_ALL >= 0) {
    o.dac_dips = rs.res.NDIPS_ALL;
    o.outliers = rs.res.NOUTLIERS_ALL;
  } else {
    for (const auto& m : refl.members) {
      if (m.IREJ == 1) ++o.dac_dips;
      if (m.IREJ == 2) ++o.outliers;
    }
  }
  o.singlets = rs.res.NSINGLET;
  o.rint = rs.res.RINT_USED;
  o.sigma_of_mean = rs.ctl.sigma_of_mean();
  o.scale_note = rs.res.output_scale_note;
  o.space_group_choice = rs.res.space_group_choice;
  o.rsigma = rs.res.RSIG_ALL;
  o.rint_known = rs.res.rint_known;
  o.completeness_max = rs.res.completeness_max;
  o.completeness_full = rs.res.completeness_full;
  o.figures = rs.res.figures;
  o.print_file = rs.files.paths[run::PRINT - 1].string();
  o.output_file = rs.files.paths[run::OUTPUT - 1].string();
  o.cif_file = rs.res.cif_path;
  o.cif_written = rs.res.cif_written;
  o.setting = expfile::setting_lines(rs);
  o.notes = rs.report.notes;
  o.shell_lines = report::compact_shell_lines(rs.stats);
  o.stats_file = rs.report.stats_path;
  o.ledger_file = rs.report.ledger_path;
  o.html_file = rs.report.html_path;
  o.html_asked = rs.report.html;
  o.has_dac = rs.stats.has_dac;
  o.dac_completeness = rs.stats.overall.dac_completeness;
  return o;
}

namespace {

std::string fraction(float f) {
  return f < 0.0f ? std::string("?") : records::format_F(f, 5, 3).substr(0);
}

// A fraction as the CIF fragment gives it: "?" unless plausible.
std::string cif_fraction(float f) {
  return f > 0.01f && f < 1.005f ? records::format_F(f, 5, 3) : std::string("?");
}

std::string figure_lines(const averaging::DataFigures& f) {
  std::string s;
  if (f.lines_overflowed > 0) {
    s += "  left out (overflow)" + records::format_I(f.lines_overflowed, 9) +
         "   (a value overflowed its output field)\n";
  }
  if (!f.theta_known) return s;
  s += "  theta max / full   " + records::format_F(f.theta_max, 9, 2) + " / " +
       records::format_F(f.theta_full, 5, 2) + "\n";
  if (!f.completeness_known) return s;
  s += "  Laue group         " + std::string(4, ' ') + cif_fraction(f.laue_max.fraction()) +
       " to theta max, " + cif_fraction(f.laue_full.fraction()) + " to theta full\n";
  s += "  point group        " + std::string(4, ' ') +
       cif_fraction(f.point_group_max.fraction()) + " to theta max, " +
       cif_fraction(f.point_group_full.fraction()) + " to theta full\n";
  const float coverage = f.friedel_coverage();
  s += "  Friedel coverage   " + std::string(4, ' ') +
       (coverage >= 0.0f ? records::format_F(coverage, 5, 3) : std::string("?")) + "\n";
  return s;
}

}  // namespace

std::string summary_text(const RunOutcome& o) {
  using records::format_F;
  using records::format_I;
  std::string s = "VORLANE FINISHED SUCCESSFULLY\n";
  for (const std::string& line : o.setting) s += "  " + line + "\n";
  if (!o.space_group_choice.empty()) s += "  space group        " + o.space_group_choice + "\n";
  for (const std::string& note : o.notes) s += "  Note: " + note + "\n";
  s += "  reflections read   " + format_I(o.reflections, 9) + "\n";
  s += "  equivalent sets    " + format_I(o.sets, 9) + "   (" + std::to_string(o.singlets) +
       " measured once)\n";
  s += "  rejected           " + format_I(o.dac_dips + o.outliers, 9) + "   (" +
       std::to_string(o.dac_dips) + " DAC dips, " + std::to_string(o.outliers) + " outliers)\n";
  s += "  R(int)             " + (o.rint >= 0.0f ? format_F(o.rint, 9, 4) : "      n/a") + "\n";
  s += "  R(sigma)           " + (o.rint_known ? format_F(o.rsigma, 9, 4) : "      n/a") + "\n";
  s += "  completeness       " + std::string(4, ' ') + fraction(o.completeness_max) +
       " to theta max, " + fraction(o.completeness_full) + " to theta full\n";
  s += figure_lines(o.figures);
  s += o.sigma_of_mean ? "  output sigma       of the weighted mean (SIGMA MEAN)\n"
                       : "  output sigma       spread of one observation, not of the mean "
                         "(SIGMA MEAN for the sigma of the mean)\n";
  if (!o.scale_note.empty()) s += "  output scale       " + o.scale_note + "\n";
  s += "  print file         " + o.print_file + "\n";
  s += "  output file        " + o.output_file + "\n";
  s += "  CIF fragment       " + (o.cif_written ? o.cif_file : std::string("not written")) + "\n";
  auto written = [](const std::string& f) { return f.empty() ? std::string("not written") : f; };
  s += "  statistics         " + written(o.stats_file) + "\n";
  s += "  rejection ledger   " + written(o.ledger_file) + "\n";
  if (o.html_asked) s += "  report             " + written(o.html_file) + "\n";
  if (o.has_dac) s += "  DAC completeness   " + report::figure(o.dac_completeness, 9, 3) + "\n";
  for (const std::string& line : o.shell_lines) s += line + "\n";
  return s;
}

}  // namespace vorlane::frontend
