#include "output/write_data.hpp"

#include <array>
#include <cstdint>

#include "averaging/written_sets.hpp"
#include "output/write_one_reflection.hpp"
#include "run/messages.hpp"

namespace vorlane::output {

namespace {

using averaging::set_left_out;

void write_averaged(run::RunState& rs, ReflectionRecordLayouts& layouts) {
  const expfile::RunControls& ctl = rs.ctl;
  const run::ReflectionList& list = rs.refl;
  int ISEQ = 0;
  for (const run::EquivSet& set : list.sets) {
    list.prefetch_first(static_cast<std::size_t>(ISEQ) + run::ReflectionList::PREFETCH_SETS);
    ISEQ = ISEQ + 1;  // the set's position, written or not
    if (set_left_out(set, ctl.IABSENT)) continue;
    const float fsq = ctl.OSCALE * set.FAVE;
    float sig = ctl.OSCALE * set.SIGAVE;
    const run::Member& first = list.member(set, 1);
    const std::array<float, 4> ang{first.REFANG[0], 0.0f, 0.0f, 0.0f};
    int IFLAG = 1;
    if (set.IGT == 0) {
      IFLAG = 2;
      if (ctl.IREJLT == 1) continue;
    }
    if (ctl.INOSING == 1 && set.NAVE == 1) continue;
    if (ctl.IABSENT == 1 && set.IABS == 1) IFLAG = 2;  // violations kept as less-thans
    int ISTAT = 0;
    WRITE_ONE_REFLECTION(rs, layouts, first.IHKL, fsq, sig, set.AUXVAL, IFLAG, ang, ISEQ,
                         ISTAT);
    if (ISTAT == 0) rs.res.overflowed_sets.push_back(static_cast<std::uint32_t>(ISEQ - 1));
  }
}

void write_individuals(run::RunState& rs, ReflectionRecordLayouts& layouts) {
  const expfile::RunControls& ctl = rs.ctl;
  const run::ReflectionList& list = rs.refl;
  int ISEQ = 0;
  for (const run::EquivSet& set : list.sets) {
    if (set_left_out(set, ctl.IABSENT)) continue;
    for (int m = 1; m <= set.NEQ; ++m) {
      ISEQ = ISEQ + 1;  // every member of a set that is not left out
      const run::Member& member = list.member(set, m);
      if (member.IREJ != 0) continue;  // DAC dips and outliers
      const float fsq = ctl.OSCALE * member.FSQ;
      float sig = ctl.OSCALE * member.SIGFSQ;
      const std::array<float, 4> ang{member.REFANG[0], 0.0f, 0.0f, 0.0f};
      int IFLAG = 1;
      if (member.IOBS == 0) {
        IFLAG = 2;
        if (ctl.IREJLT == 1) continue;
      }
      if (ctl.IABSENT == 1 && set.IABS == 1) IFLAG = 2;
      int ISTAT = 0;
      WRITE_ONE_REFLECTION(rs, layouts, member.IHKL, fsq, sig, set.AUXVAL, IFLAG, ang, ISEQ,
                           ISTAT);
      if (ISTAT == 0) {
        rs.res.overflowed_members.push_back(set.first + static_cast<std::uint32_t>(m - 1));
      }
    }
  }
}

}  // namespace

int write_output_records(run::RunState& rs) {
  ReflectionRecordLayouts layouts;
  layouts.hold_warnings();
  rs.res.overflowed_sets.clear();
  rs.res.overflowed_members.clear();
  if (rs.ctl.IOUTAVE == 1) {
    write_averaged(rs, layouts);
  } else {
    write_individuals(rs, layouts);
  }
  flush_records(rs, layouts);
  return layouts.held_warnings();
}

void WRITEDATA(run::RunState& rs) { finish_output_file(rs, write_output_records(rs)); }

void finish_output_file(run::RunState& rs, int held_warnings) {
  for (int i = 0; i < held_warnings; ++i) run::warn(rs, OVERFLOW_WARNING);
  // A file that could not be written completely must not end the run as a success (the
  // same report as the run driver's).
  std::ostream* out = rs.files.out.get();
  if (out == nullptr || !out->flush()) {
    run::fatal(rs, "ERROR WRITING OUTPUT DATA FILE " + rs.files.FNAME[run::OUTPUT - 1]);
    return;
  }
  // Every record that was due overflowed its fields: the output file holds no data, and the
  // run cannot count as a success.
  const bool any_overflow = !rs.res.overflowed_sets.empty() || !rs.res.overflowed_members.empty();
  if (any_overflow && averaging::written_data(rs.refl, rs.ctl, rs.res).lines == 0) {
    run::fatal(rs, "NO REFLECTION COULD BE WRITTEN: EVERY VALUE OVERFLOWED ITS OUTPUT FIELD");
  }
}

}  // namespace vorlane::output
