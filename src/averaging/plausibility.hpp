#pragma once
// Warnings at the end of a run about results that cannot be right: a high R(int), many strong
// space-group violations, and SHELX data without any cell.
namespace vorlane::run { struct RunState; }

namespace vorlane::averaging {

void check_plausibility(run::RunState& rs);

}  // namespace vorlane::averaging
