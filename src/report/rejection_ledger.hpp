#pragma once
// NAME_rejections.csv: one row per measurement that is not passed on, in input order, with
// the first reason that applies (order of statistics::Reason).
#include <string>

#include "expfile/run_controls.hpp"
#include "run/reflection_list.hpp"
#include "statistics/written_sets.hpp"

namespace vorlane::report {

inline constexpr const char* LEDGER_HEADER =
    "line,h,k,l,batch,two_theta,i,sigma_i,set_h,set_k,set_l,set_average,test_value,reason";

// The test value, for DAC dips and outliers, is the member's deviation from its set's
// average in units of its own sigma, (I - <I>)/sigma(I); empty for the other reasons.
std::string rejection_ledger(const run::ReflectionList& list, const expfile::RunControls& ctl,
                             const statistics::LeftOut* left_out = nullptr);

}  // namespace vorlane::report
