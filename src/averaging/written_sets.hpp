#pragma once
// Which sets and measurements reach the output file, decided by the run's controls exactly as
// the output writer decides them, less the records it left out because a value overflowed
// its field.
#include <cstdint>
#include <vector>

#include "averaging/run_results.hpp"
#include "expfile/run_controls.hpp"
#include "run/reflection_list.hpp"

namespace vorlane::averaging {

// Sets never written: outside the 2theta limits (codes 2 and 3), and space-group violations
// under ABSENT REJECT.
bool set_left_out(const run::EquivSet& set, int IABSENT);
// Averaged output: the set's record is due (left-out sets, less-thans under LESSTHAN REJECT
// and singlets under OUTPUT NOSINGLET are not).
bool set_record_due(const run::EquivSet& set, const expfile::RunControls& ctl);
// Individual output: member m's record is due (the set is not left out; DAC dips, outliers
// and less-thans under LESSTHAN REJECT are not).
bool member_record_due(const run::EquivSet& set, const run::Member& m,
                       const expfile::RunControls& ctl);
// The record is flagged as above the less-than threshold (violations kept as less-thans are
// not).
bool record_greater(const run::EquivSet& set, bool observed, const expfile::RunControls& ctl);

struct WrittenData {
  std::vector<std::uint8_t> set_written;  // per set: 1 when it (or one of its members) is written
  int lines = 0;
  int lines_gt = 0;
  int overflowed = 0;
};

WrittenData written_data(const run::ReflectionList& list, const expfile::RunControls& ctl,
                         const RunResults& res);

}  // namespace vorlane::averaging
