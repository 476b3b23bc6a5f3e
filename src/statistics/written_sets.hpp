#pragma once
// Which sets and members the shell and batch tables and the rejection ledger describe: the
// sets written to the output file and their members, with the reason a measurement was not
// passed on. Mirrors the output writer's decisions without writing anything.
#include <string_view>

#include "expfile/run_controls.hpp"
#include "run/reflection_list.hpp"

namespace vorlane::statistics {

// First reason that applies to a measurement that is not passed on, in the ledger's order.
enum class Reason {
  passed = 0,
  violation,        // space-group violation, set not written (ABSENT REJECT)
  outside_2theta,   // set outside the 2theta window
  less_than,        // less-than not written (LESSTHAN REJECT)
  singlet_dropped,  // singlet not written (OUTPUT NOSINGLET)
  dac_dip,
  outlier,
  overflow,  // a value overflowed its output field
};

std::string_view reason_text(Reason r);

// True when the set (averaged output) or any of its members (OUTPUT INDIVIDUAL) goes to the
// output file.
bool set_written(const run::ReflectionList& list, const run::EquivSet& set,
                 const expfile::RunControls& ctl);

// Why every member of the set is not passed on (the set is not written), or Reason::passed.
Reason set_reason(const run::EquivSet& set, const expfile::RunControls& ctl);

// Why member j (from 1) of `set` is not passed on, or Reason::passed.
Reason member_reason(const run::ReflectionList& list, const run::EquivSet& set, int j,
                     const expfile::RunControls& ctl);

// The one place that reads whether a record was left out of the output file because a value
// overflowed its field. The reader and writer do not mark such records yet: always false.
bool value_overflowed(const run::Member& member);

}  // namespace vorlane::statistics
