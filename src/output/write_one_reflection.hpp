#pragma once
// One record of the output reflection file.
#include <array>
#include <string_view>

#include "output/write_one_reflection_layouts.hpp"
#include "run/run_state.hpp"

namespace vorlane::output {

inline constexpr std::string_view OVERFLOW_WARNING = "  OVERFLOW WRITING TO OUTPUT DATAFILE";

// Writes one record in the format OUTFMT (0 Zezor, 1 SHELX hkl) to the output data file.
// H: indices; FSQ, SIG: F squared and its sigma, already scaled; AUX: the auxiliary value
// (Zezor only); IFLAG: 1 observed, 2 less-than; ANG: the four angle values (Zezor only);
// ISEQ: sequence number (Zezor only). ISTAT = 1 when written, 0 when the intensity does not
// fit its field: the overflow warning is given and nothing is written. A sigma that does not
// fit is written as 9999. (Zezor sigma of F) or 999999. (SHELX) and SIG is replaced: for
// Zezor by the sigma of F 9999.0, for SHELX by 999999.0.
//
// With `layouts`, records are collected in layouts.pending() and reach the file in blocks:
// call flush_records() when done. The overload without layouts writes through at once.
void WRITE_ONE_REFLECTION(run::RunState& rs, ReflectionRecordLayouts& layouts,
                          const std::array<int, 3>& H, float FSQ, float& SIG, float AUX,
                          int IFLAG, const std::array<float, 4>& ANG, int ISEQ, int& ISTAT);

// Passes the collected records to the output data file.
void flush_records(run::RunState& rs, ReflectionRecordLayouts& layouts);

// The same with layouts made for this one call.
void WRITE_ONE_REFLECTION(run::RunState& rs, const std::array<int, 3>& H, float FSQ,
                          float& SIG, float AUX, int IFLAG, const std::array<float, 4>& ANG,
                          int ISEQ, int& ISTAT);

}  // namespace vorlane::output
