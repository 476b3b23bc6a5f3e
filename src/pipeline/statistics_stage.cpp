#include "pipeline/statistics_stage.hpp"

#include <algorithm>
#include <filesystem>
#include <future>
#include <limits>
#include <string>
#include <utility>

#include "pipeline/complete_set_adapter.hpp"
#include "report/html_report.hpp"
#include "report/print_tables.hpp"
#include "report/rejection_ledger.hpp"
#include "report/stats_json.hpp"
#include "report/svg_plot.hpp"
#include "run/messages.hpp"
#include "run/two_halves.hpp"
#include "statistics/compute_statistics.hpp"
#include "statistics/written_sets.hpp"

namespace vorlane::pipeline {

statistics::Statistics run_statistics(const run::RunState& rs) {
  const statistics::SetResolution resolution = statistics::set_resolution(rs.refl, rs.ctl);
  double top = 0.0;
  if (resolution.known) {
    for (std::size_t i = 0; i < rs.refl.sets.size(); ++i)
      if (statistics::set_written(rs.refl, rs.refl.sets[i], rs.ctl))
        top = std::max(top, resolution.inv_d[i]);
  }
  const statistics::PossibleSet possible = possible_reflections(rs, top);
  return statistics::compute_statistics(rs.refl, rs.ctl, resolution, possible, rs.report.shells);
}

void keep_run_statistics(run::RunState& rs, statistics::Statistics st) {
  rs.stats = std::move(st);
  rs.files.print.write_records(report::statistics_records(rs.stats));
}

void compute_run_statistics(run::RunState& rs) { keep_run_statistics(rs, run_statistics(rs)); }

namespace {

report::RunFigures figures(const run::RunState& rs) {
  report::RunFigures f;
  f.title = rs.ctl.TITLE;
  while (!f.title.empty() && f.title.back() == ' ') f.title.pop_back();
  // The card's columns end the title where they end, possibly inside a character.
  f.title = report::utf8_cut(f.title, f.title.size());
  f.wavelength = rs.ctl.WAVE;
  f.reflections_read = static_cast<long>(rs.refl.members.size());
  f.sets = rs.refl.NSET();
  f.singlets = rs.res.NSINGLET;
  // The CIF's R(int): the equivalents that formed the averages (NaN when it cannot be formed).
  f.r_int_all = rs.res.RINT_USED >= 0.0f ? rs.res.RINT_USED
                                         : std::numeric_limits<double>::quiet_NaN();
  f.r_sigma_all = rs.res.RSIG_ALL;
  f.r_known = rs.res.rint_known;
  f.completeness_max = rs.res.completeness_max;
  f.completeness_full = rs.res.completeness_full;
  f.dac_opening = rs.ctl.dac.opening;
  f.warnings = rs.report.warnings;
  f.print_file = rs.files.paths[run::PRINT - 1].string();
  f.output_file = rs.files.paths[run::OUTPUT - 1].string();
  f.cif_file = rs.res.cif_written ? rs.res.cif_path : std::string();
  return f;
}

// A file that cannot be written is a warning, as for the CIF fragment; the run goes on.
std::string write_beside_output(run::RunState& rs, std::string_view suffix,
                                const std::string& text) {
  const std::filesystem::path path = run::beside_output(rs.files.paths[run::OUTPUT - 1], suffix);
  const std::string name = path.filename().string();
  // Put in place, with the output, when the run has finished.
  if (!rs.files.staged.write(path, text)) {
    run::warn(rs, "FILE COULD NOT BE WRITTEN: " + name);
    return {};
  }
  return path.string();
}

}  // namespace

RejectionReport rejection_report(const run::RunState& rs, const statistics::LeftOut& left_out) {
  RejectionReport r;
  // The ledger's text is formed on a thread of its own (when one can be had) while the
  // counts are made: both read the sets only.
  const auto policy = rs.refl.sets.size() >= run::TWO_HALVES_MIN
                          ? std::launch::async | std::launch::deferred
                          : std::launch::deferred;
  std::future<std::string> ledger = std::async(policy, [&rs, &left_out] {
    return report::rejection_ledger(rs.refl, rs.ctl, &left_out);
  });
  r.counts = statistics::rejection_counts(rs.refl, rs.ctl, &left_out);
  r.ledger = ledger.get();
  return r;
}

void write_run_reports(run::RunState& rs) {
  // Counted after the output: the writer may leave records out (values too wide).
  const statistics::LeftOut left_out{rs.res.overflowed_sets, rs.res.overflowed_members};
  write_run_reports(rs, rejection_report(rs, left_out));
}

void write_run_reports(run::RunState& rs, RejectionReport rejections) {
  rs.stats.rejections = rejections.counts;
  const report::RunFigures f = figures(rs);
  rs.report.stats_path = write_beside_output(rs, "_stats.json", report::stats_json(rs.stats, f));
  rs.report.ledger_path = write_beside_output(rs, "_rejections.csv", rejections.ledger);
  if (rs.report.html) {
    // The warnings of the two writes above belong in the report too.
    report::RunFigures g = f;
    g.warnings = rs.report.warnings;
    g.symmetry = rs.symmetry;
    rs.report.html_path = write_beside_output(rs, "_report.html", report::html_report(rs.stats, g));
  } else {
    // A report of an earlier run beside this run's files would pass for this run's.
    rs.files.staged.remove_on_commit(
        run::beside_output(rs.files.paths[run::OUTPUT - 1], "_report.html"));
  }
}

}  // namespace vorlane::pipeline
