#pragma once
// Which sets and members the shell and batch tables and the rejection ledger describe: the
// sets written to the output file and their members, with the reason a measurement was not
// passed on. Mirrors the output writer's decisions without writing anything.
#include <cstdint>
#include <string_view>
#include <vector>

#include "expfile/run_controls.hpp"
#include "run/reflection_list.hpp"

namespace vorlane::statistics {

// Records the output writer left out because a value overflowed its field, as it lists them:
// sets (averaged output) and members (individual output), indices into the list from 0, in
// writing order. Empty until the output file is written.
struct LeftOut {
  std::vector<std::uint32_t> sets;
  std::vector<std::uint32_t> members;
  bool empty() const { return sets.empty() && members.empty(); }
};

// First reason that applies to a measurement that is not passed on, in the ledger's order.
enum class Reason {
  passed = 0,
  impossible,       // beyond the limiting sphere (lambda/2d > 1), left out by the reader
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
                 const expfile::RunControls& ctl, const LeftOut* left_out = nullptr);

// Why every member of the set is not passed on (the set is not written), or Reason::passed.
Reason set_reason(const run::EquivSet& set, const expfile::RunControls& ctl);

// Why member j (from 1) of `set` is not passed on, or Reason::passed.
Reason member_reason(const run::ReflectionList& list, const run::EquivSet& set, int j,
                     const expfile::RunControls& ctl, const LeftOut* left_out = nullptr);
// The same for a set whose set_reason is Reason::passed (a pass over a set's members asks
// about the set once).
Reason member_reason_in_passed_set(const run::ReflectionList& list, const run::EquivSet& set,
                                   int j, const expfile::RunControls& ctl,
                                   const LeftOut* left_out = nullptr);

// Whether member j (from 1) of `set` was left out of the output file because a value of its
// record (or of its set's record) overflowed its field.
bool value_overflowed(const run::ReflectionList& list, const run::EquivSet& set, int j,
                      const LeftOut* left_out);

}  // namespace vorlane::statistics
