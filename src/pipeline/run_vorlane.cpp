#include "pipeline/run_vorlane.hpp"

#include <cmath>
#include <exception>
#include <chrono>
#include <future>
#include <new>
#include <string>

#include "averaging/average_data.hpp"
#include "averaging/calc_rint.hpp"
#include "averaging/count_data_figures.hpp"
#include "averaging/handle_singlets.hpp"
#include "averaging/plausibility.hpp"
#include "averaging/reject_data.hpp"
#include "averaging/totals.hpp"
#include "expfile/read_exp_file.hpp"
#include "expfile/symmetry_cards.hpp"
#include "geometry/angle_constants.hpp"
#include "input/after_reading_checks.hpp"
#include "input/read_data.hpp"
#include "output/create_cif_vorlane.hpp"
#include "output/printdata.hpp"
#include "output/print_header.hpp"
#include "output/output_scale.hpp"
#include "output/print_summary.hpp"
#include "output/write_data.hpp"
#include "pipeline/space_group_from_data.hpp"
#include "pipeline/statistics_stage.hpp"
#include "pipeline/symmetry_check.hpp"
#include "records/program_stop.hpp"
#include "run/two_halves.hpp"
#include "symmetry/recell.hpp"
#include "symmetry/opsym.hpp"
#include "symmetry/syminv.hpp"

namespace vorlane::run {
namespace {

// The real-lattice half of the cell table from the CELL card, then the reciprocal cell.
void reciprocal_cell_from_card(RunState& rs) {
  const float factor = geometry::DEGRAD;
  for (int i = 1; i <= 3; ++i) {
    const float angle = rs.ctl.CELLPAR[static_cast<std::size_t>(i + 2)] * factor;
    rs.celltab.at(i, symmetry::CELL_SIDE, symmetry::REAL_SPACE) =
        rs.ctl.CELLPAR[static_cast<std::size_t>(i - 1)];
    rs.celltab.at(i, symmetry::CELL_COS, symmetry::REAL_SPACE) = std::cos(angle);
    rs.celltab.at(i, symmetry::CELL_SIN, symmetry::REAL_SPACE) = std::sin(angle);
  }
  symmetry::RECELL(rs.celltab, 2, rs.files.print);
}

// A write that failed leaves an incomplete file: the run must not finish as a success.
bool output_written(RunState& rs) {
  if (!rs.files.out) return true;
  rs.files.out->flush();
  if (!rs.files.out->fail()) return true;
  fatal(rs, "ERROR WRITING OUTPUT DATA FILE " + rs.files.FNAME[OUTPUT - 1]);
  return false;
}

void stages(RunState& rs) {
  output::PRINT_HEADER(rs);
  // What the reader of an integration program's file left out or doubted, and what its header
  // filled in.
  for (const std::string& note : rs.files.input_notes) warn(rs, note);
  expfile::READ_EXP_FILE(rs);
  if (rs.msg.IHALT != 0) return;
  if (rs.ctl.ICELL == 1) reciprocal_cell_from_card(rs);
  if (rs.ctl.space_group_auto) {
    pipeline::space_group_from_data(rs);
    if (rs.msg.IHALT != 0) return;
  }
  symmetry::OPSYM(rs.sg, rs.files.print);
  symmetry::SYMINV(rs.sg, 2, rs.files.print);
  symmetry::OPSYM(rs.sg, rs.files.print);
  expfile::UNITIN_EXP(rs.sg, rs.files.print);
  output::PRINT_SUMMARY(rs);
  input::READ_DATA(rs);
  if (rs.msg.IHALT != 0) return;
  input::check_data_as_read(rs);
  // The symmetry of the data, for the report and for a warning when they contradict the group
  // given, is worked out on a copy of the measurements beside the averaging.
  std::future<std::optional<pipeline::SymmetryVerdict>> symmetry_verdict =
      pipeline::start_symmetry_check(rs, rs.refl.sets.size() >= run::TWO_HALVES_MIN
                                             ? std::launch::async | std::launch::deferred
                                             : std::launch::deferred);
  averaging::AVERAGE_DATA(rs);
  if (rs.msg.IHALT != 0) return;
  averaging::HANDLE_SINGLETS(rs);
  averaging::REJECTDATA(rs);
  if (rs.msg.IHALT != 0) return;
  rs.res.output_scale_note = output::choose_output_scale(rs);
  if (rs.msg.IHALT != 0) return;
  // From here on no stage changes the list, the controls or the symmetry. The statistics and
  // then the ledger of the measurements not passed on (with their counts) are worked out on
  // one thread, the figures of the data written on another (when threads can be had), while
  // the totals, the R table, the listing and the output file are written (the totals and the
  // R table fill run results these threads do not read). The ledger and the figures are
  // made as if every record fitted its output fields; when one did not, they are made again
  // once the output is written. (The futures are waited for before this function is left,
  // also by an exception.)
  // (Only a long list is worth threads: a short one is done in turn, in the order below.)
  const auto ahead = rs.refl.sets.size() >= run::TWO_HALVES_MIN
                         ? std::launch::async | std::launch::deferred
                         : std::launch::deferred;
  std::promise<statistics::Statistics> stats_promise;
  std::future<statistics::Statistics> stats = stats_promise.get_future();
  std::future<pipeline::RejectionReport> rejections = std::async(ahead, [&rs, &stats_promise] {
    try {
      stats_promise.set_value(pipeline::run_statistics(rs));
    } catch (...) {
      stats_promise.set_exception(std::current_exception());
    }
    return pipeline::rejection_report(rs, statistics::LeftOut{});
  });
  std::future<averaging::DataFigures> figures =
      std::async(ahead, [&rs] { return averaging::count_data_figures(rs, averaging::RunResults{}); });
  averaging::TOTALS(rs);
  if (rs.msg.IHALT != 0) return;
  averaging::CALC_RINT(rs);
  if (rs.msg.IHALT != 0) return;
  if (rejections.wait_for(std::chrono::seconds(0)) == std::future_status::deferred) {
    rejections.wait();
  }
  // The statistics are written before the listing: until they are ready, this thread forms
  // the listing's first blocks.
  output::ListingBlocks listing(rs.refl);
  while (stats.wait_for(std::chrono::seconds(0)) == std::future_status::timeout &&
         listing.form_next()) {
  }
  pipeline::keep_run_statistics(rs, stats.get());
  // The output file is written beside the listing: its records touch neither the print file
  // nor the messages, and its overflow warnings come after the listing as before.
  std::future<int> held_warnings =
      std::async(ahead, [&rs] { return output::write_output_records(rs); });
  output::PRINTDATA(rs, listing);
  const int overflows = held_warnings.get();
  if (rs.msg.IHALT != 0) return;
  output::finish_output_file(rs, overflows);
  if (rs.msg.IHALT != 0 || !output_written(rs)) return;
  const bool none_left_out = rs.res.overflowed_sets.empty() && rs.res.overflowed_members.empty();
  // The rejection counts are known before the CIF fragment, whose text names them: every
  // report of the run takes them from this one count.
  pipeline::RejectionReport report =
      none_left_out ? rejections.get()
                    : pipeline::rejection_report(rs, statistics::LeftOut{rs.res.overflowed_sets,
                                                                         rs.res.overflowed_members});
  rs.stats.rejections = report.counts;
  if (none_left_out) {
    output::CREATE_CIF_VORLANE(rs, figures.get());
  } else {
    output::CREATE_CIF_VORLANE(rs);
  }
  if (rs.msg.IHALT != 0) return;
  averaging::check_plausibility(rs);
  pipeline::keep_symmetry(rs, symmetry_verdict.get());
  // The counts of the warnings only counted belong in the report too.
  report_warnings_not_shown(rs);
  pipeline::write_run_reports(rs, std::move(report));
}

// Ends the run as halted without a print-file block of its own: the message is already where
// the stopping routine put it.
void halt(RunState& rs, const std::string& message) {
  set_errmsg(rs, message);
  rs.msg.IHALT = 1;
  if (rs.dialogs != nullptr) rs.dialogs->fatal_box(fatal_box_text(rs.msg.ERRMSG));
}

// The run could not get the memory it needed. The message goes into the print file when that
// can still be written; a second failure there leaves the message to the dialogs alone.
void halt_out_of_memory(RunState& rs) {
  const std::string message = "PROGRAM HALTED - NOT ENOUGH MEMORY";
  rs.refl = ReflectionList();  // gives back the memory of the list before anything is written
  try {
    fatal(rs, message);
  } catch (const std::bad_alloc&) {
    halt(rs, message);
  }
}

// The stages, then how many warnings of each kind were only counted.
void run_stages(RunState& rs) {
  try {
    stages(rs);
  } catch (...) {
    report_warnings_not_shown(rs);
    throw;
  }
  report_warnings_not_shown(rs);
}

}  // namespace

void RUN_VORLANE(RunState& rs) {
  try {
    run_stages(rs);
  } catch (const records::ProgramStop& stop) {
    if (stop.to_standard_output() && rs.dialogs != nullptr)
      rs.dialogs->standard_output(stop.what());
    halt(rs, stop.what());
    return;
  } catch (const std::bad_alloc&) {
    // Storage grows with the data; data larger than the memory ends the run, not the program.
    halt_out_of_memory(rs);
    return;
  } catch (const std::exception& e) {
    // Anything else is a fault of the program itself; report it like a fatal error so the
    // print file says why the run ended.
    fatal(rs, std::string("INTERNAL ERROR: ") + e.what());
    return;
  }
  if (rs.msg.IHALT == 0 && rs.files.print.failed()) {
    halt(rs, "ERROR WRITING PRINT FILE " + rs.files.FNAME[PRINT - 1]);
  }
}

}  // namespace vorlane::run
