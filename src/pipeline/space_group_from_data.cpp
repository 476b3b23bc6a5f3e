#include "pipeline/space_group_from_data.hpp"

#include <istream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "expfile/exp_card.hpp"
#include "expfile/put_space_group.hpp"
#include "expfile/symmetry_cards.hpp"
#include "input/read_data.hpp"
#include "pipeline/symmetry_check.hpp"
#include "records/edit_list.hpp"
#include "run/messages.hpp"
#include "run/run_state.hpp"
#include "symmetry/opsym.hpp"
#include "symmetry/recell.hpp"
#include "symmetry/syminv.hpp"
#include "symmetry_analysis/analysis.hpp"
#include "symmetry_analysis/tables_text.hpp"

namespace vorlane::pipeline {
namespace {

namespace sa = symmetry_analysis;

// A second candidate with at least this share of the first's probability is worth a warning.
constexpr double CLOSE_SECOND = 1.0 / 3.0;

std::string probability(double p) { return records::format_F(p, 5, 3); }

// The measurements of the input file as read without symmetry, on a state of their own with
// no print file and no dialogs: the reading's warnings are given once, by the reading that
// files the data for the merging. Returns the reading's fatal message when it failed.
std::string read_measurements(run::RunState& rs, std::vector<sa::Measurement>& data) {
  run::RunState scratch;
  scratch.files.FNAME = rs.files.FNAME;
  scratch.files.paths = rs.files.paths;
  scratch.files.INFMT = rs.files.INFMT;
  scratch.files.integration_format = rs.files.integration_format;
  scratch.files.IINOPEN = rs.files.IINOPEN;
  scratch.files.in = std::move(rs.files.in);
  scratch.ctl = rs.ctl;
  scratch.cell = rs.cell;
  scratch.sg = rs.sg;
  scratch.celltab = rs.celltab;
  symmetry::OPSYM(scratch.sg, scratch.files.print);
  symmetry::SYMINV(scratch.sg, 2, scratch.files.print);
  symmetry::OPSYM(scratch.sg, scratch.files.print);
  input::READ_DATA(scratch);
  rs.files.in = std::move(scratch.files.in);
  if (scratch.msg.IHALT != 0) {
    const std::string& m = scratch.msg.ERRMSG;
    return m.substr(0, m.find_last_not_of(' ') + 1);
  }
  data = measurements_as_read(scratch);
  return {};
}

void print_tables(run::RunState& rs, const sa::Analysis& a) {
  static const records::EditList heading(
      R"e(("0",20("*"),"SPACE GROUP FROM THE DATA (SPACEGROUP AUTO)",20("*"),/," "))e");
  static const records::EditList line("1X,A");
  rs.files.print.put(heading);
  const std::string text = sa::tables_text(a);
  std::size_t begin = 0;
  while (begin < text.size()) {
    const std::size_t end = text.find('\n', begin);
    const std::size_t stop = end == std::string::npos ? text.size() : end;
    rs.files.print.put(line, std::string_view(text).substr(begin, stop - begin));
    begin = stop + 1;
  }
}

// What the run chose and how sure the data make it, for the summary and the window.
std::string choice_text(const sa::SpaceGroupRow& best) {
  std::string s = best.symbol + " (No. " + std::to_string(best.number) +
                  ") found from the data, probability " + probability(best.probability);
  if (!best.ties.empty()) s += ", tied with " + std::to_string(best.ties.size()) + " more";
  return s;
}

void warn_about_doubts(run::RunState& rs, const sa::Analysis& a) {
  const std::vector<sa::SpaceGroupRow>& rows = a.space_groups.rows;
  const sa::SpaceGroupRow& best = rows.front();
  for (const std::string& tie : best.ties)
    run::warn(rs, "SPACEGROUP AUTO: " + best.symbol + " CANNOT BE TOLD FROM " + tie +
                      " BY INTENSITIES ALONE");
  if (rows.size() > 1 && rows[1].probability >= CLOSE_SECOND * best.probability)
    run::warn(rs, "SPACEGROUP AUTO: SECOND CANDIDATE " + rows[1].symbol + " HAS PROBABILITY " +
                      probability(rows[1].probability) + " AGAINST " + probability(best.probability));
  if (a.statistics.twinning_suspected)
    run::warn(rs, "SPACEGROUP AUTO: TWINNING SUSPECTED (MEAN |L|" +
                      records::format_F(a.statistics.mean_abs_l, 6, 3) +
                      "): THE LAUE CLASS MAY BE TOO HIGH");
}

}  // namespace

void space_group_from_data(run::RunState& rs) {
  if (rs.ctl.ICELL != 1) {
    run::fatal(rs, "SPACEGROUP AUTO NEEDS THE CELL: GIVE A CELL CARD OR THE UB MATRIX");
    return;
  }
  std::istream* in = rs.files.in.get();
  const std::streampos start = in != nullptr ? in->tellg() : std::streampos(-1);
  if (start == std::streampos(-1)) {
    run::fatal(rs, "SPACEGROUP AUTO READS THE INPUT TWICE: '" + rs.files.FNAME[2] +
                       "' CANNOT BE READ AGAIN; GIVE THE SPACE GROUP");
    return;
  }
  std::vector<sa::Measurement> data;
  if (const std::string error = read_measurements(rs, data); !error.empty()) {
    run::fatal(rs, error);
    return;
  }
  in->clear();
  in->seekg(start);
  if (!*in) {
    run::fatal(rs, "SPACEGROUP AUTO READS THE INPUT TWICE: '" + rs.files.FNAME[2] +
                       "' CANNOT BE READ AGAIN; GIVE THE SPACE GROUP");
    return;
  }

  const sa::Crystal crystal = run_crystal(rs);
  auto analysis = std::make_shared<sa::Analysis>(sa::analyse(thinned(std::move(data), crystal),
                                                             crystal, sa::Options{}));
  print_tables(rs, *analysis);
  rs.symmetry = analysis;
  if (!analysis->determinable) {
    std::string reason = analysis->reason;
    expfile::upper_case(reason);
    run::fatal(rs, "SPACEGROUP AUTO: THE SPACE GROUP IS NOT DETERMINABLE: " + reason);
    return;
  }
  const sa::SpaceGroupRow& best = analysis->space_groups.rows.front();
  if (!analysis->reindexing.empty()) {
    run::fatal(rs, "SPACEGROUP AUTO: " + best.symbol + " NEEDS THE DATA REINDEXED " +
                       analysis->reindexing + ": SEE THE TABLES ABOVE");
    return;
  }
  if (!expfile::use_space_group_found(rs, best.symbol)) return;
  rs.res.space_group_choice = choice_text(best);
  warn_about_doubts(rs, *analysis);
}

}  // namespace vorlane::pipeline
