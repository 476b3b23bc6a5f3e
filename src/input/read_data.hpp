#pragma once
// The input data reader: every record of the input reflection file becomes a member of its
// equivalent set in the reflection list.
#include "run/run_state.hpp"

namespace vorlane::input {

// The bound on the listing of reflections moved to their Friedel mates. Tests may lower it.
struct ReadLimits {
  int max_swapped = 100000;       // entries of the listing of reflections moved to their
                                  // Friedel mates (beyond it they are counted, not listed)
};

// Reads the input data file in the format INFMT (0 Zezor abs, 1 SHELX hkl), maps every
// reflection into the asymmetric unit and files it into its equivalent set: sets in the order
// of first appearance, members in reading order, member 1 carrying the representative indices.
// Unreadable records (a negative sigma among them) are skipped with a warning; a zero sigma or
// an unmappable reflection is fatal (the list then holds what was filed before). Ends with the
// warning and print-file listing of reflections merged with their Friedel mates.
void READ_DATA(run::RunState& rs);
void read_data(run::RunState& rs, const ReadLimits& limits);

}  // namespace vorlane::input
