#pragma once
#include <array>
#include <vector>

#include "averaging/rint_sums.hpp"
#include "run/run_state.hpp"

namespace vorlane::averaging {

// Prints the table of internal agreement factors for up to five classes of reflections, each
// over all, greater-than and less-than sets, then the sigma-ratio line. Keeps RINT and RSIG of
// the "All Reflections" class over all sets in rs.res, and R(int) over the sets that are not
// systematic absences, which the CIF fragment reports.
void CALC_RINT(run::RunState& rs);

// Which sets and members a row of the table takes in.
// not_absent: every set that is not a space-group violation (inside the 2theta window or not).
enum class SetRule { all, inside_2theta, allowed, not_absent };
enum class MemberRule { all, not_dac_dip, accepted };
struct RowRule {
  SetRule sets;
  MemberRule members;
};

// The finished sums of each row (all, greater-than and less-than sets), every one exactly
// what a pass of RINT_SUMS of its own over its sets and members gives.
std::vector<std::array<RintSums, 3>> rint_table_sums(const run::ReflectionList& refl,
                                                     const std::vector<RowRule>& rows);

}  // namespace vorlane::averaging
