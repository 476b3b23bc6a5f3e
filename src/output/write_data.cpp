#include "output/write_data.hpp"

#include <array>

#include "output/write_one_reflection.hpp"
#include "run/messages.hpp"

namespace vorlane::output {

namespace {

// Sets that never reach the file: outside the 2theta limits (codes 2 and 3), and space-group
// violations when they are to be deleted.
bool set_left_out(const run::EquivSet& set, int IABSENT) {
  return set.IABS == 2 || set.IABS == 3 || (IABSENT == 2 && set.IABS == 1);
}

void write_averaged(run::RunState& rs, ReflectionRecordLayouts& layouts) {
  const expfile::RunControls& ctl = rs.ctl;
  const run::ReflectionList& list = rs.refl;
  int ISEQ = 0;
  for (const run::EquivSet& set : list.sets) {
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
    }
  }
}

}  // namespace

void WRITEDATA(run::RunState& rs) {
  ReflectionRecordLayouts layouts;
  if (rs.ctl.IOUTAVE == 1) {
    write_averaged(rs, layouts);
  } else {
    write_individuals(rs, layouts);
  }
  flush_records(rs, layouts);
  // A file that could not be written completely must not end the run as a success (the
  // same report as the run driver's).
  std::ostream* out = rs.files.out.get();
  if (out == nullptr || !out->flush()) {
    run::fatal(rs, "ERROR WRITING OUTPUT DATA FILE " + rs.files.FNAME[run::OUTPUT - 1]);
  }
}

}  // namespace vorlane::output
