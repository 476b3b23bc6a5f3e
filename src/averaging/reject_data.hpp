#pragma once
// Classification of every set after averaging: space-group violation, outside the 2theta
// window, greater-than or less-than; and of every member: observed or not. Nothing is removed
// here; the codes decide what later stages count and write.
#include "run/run_state.hpp"

namespace vorlane::averaging {

// Writes IABS and IGT of every set and IOBS of every member (rejected members included).
void REJECTDATA(run::RunState& rs);

}  // namespace vorlane::averaging
