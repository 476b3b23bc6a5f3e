#pragma once
// One record of the input as the parsing side hands it to the filing side: the measurement
// it holds (or why it holds none), with what the parsing side worked out ahead.
#include <array>
#include <cstdint>

#include "input/get_2theta.hpp"
#include "run/run_state.hpp"
#include "symmetry/representative_search.hpp"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vorlane::input {

// One accepted measurement, as read.
struct Measurement {
  std::array<int, 3> h{};
  float fsq = 0.0f;
  float sigfsq = 0.0f;
  std::array<float, 3> refang{};
  float itag = 0.0f;
  float aux = 0.0f;
  std::int32_t batch = 0;   // SHELX columns 29-32; 0 for Zezor records
  std::uint32_t line = 0;   // line in the input file, from 1
  // SHELX without direction cosines: 2theta comes from the indices and the cell, and is
  // worked out when the record is filed (it is kept per index triple).
  bool tth_from_cell = false;
  // Worked out ahead by the parsing side when it had time to spare (see Resolver).
  bool resolved = false;
  // SHELX: F squared and sigma fields written without a decimal point (0-2).
  std::uint8_t without_point = 0;
  std::array<int, 3> k{};  // the representative (sign-reversed under FRIEDEL NOFLIP)
  int isym = 0;            // the operator code of ASIND
  float tth_cell = 0.0f;   // 2theta from the cell, when tth_from_cell
};

// negative_sigma: the record reads but its sigma is below zero, which no measurement has.
// end_of_data: the SHELX 0 0 0 record (a blank line reads as one); twinned: a negative batch
// number (HKLF 5).
enum class Parsed { measurement, unreadable, negative_sigma, end_of_data, twinned };

struct ParsedRecord {
  Parsed parsed = Parsed::measurement;
  Measurement m;  // with its line number
};

// The representative of a measurement's indices, and its 2theta from the cell: functions of
// the indices alone within a run, which the reader would otherwise work out for every index
// triple it has not met before. The parsing side works them out ahead when it is well ahead
// of the reader (most triples are new early in a file, when the reader is the slower side).
class Resolver {
 public:
  explicit Resolver(const run::RunState& rs)
      : search_(rs.sg), cell_two_theta_(rs), noflip_(rs.ctl.INOFLIP == 1) {}

  // The representative k and operator code isym of indices h.
  void search(const std::array<int, 3>& h, std::array<int, 3>& k, int& isym) const {
    search_.find(h, k, isym);
    // Kept apart from its Friedel mate: the sign-reversed representative opens sets of its
    // own.
    if (isym < 0 && noflip_) k = {-k[0], -k[1], -k[2]};
  }
  // 2theta of indices h from the cell, 0 when it has none.
  float cell_tth(const std::array<int, 3>& h) const {
    float tth = 0.0f;
    int ierr = 0;
    cell_two_theta_(h, tth, ierr);
    return ierr != 0 ? 0.0f : tth;
  }
  void resolve(Measurement& m) const {
    search(m.h, m.k, m.isym);
    if (m.tth_from_cell) m.tth_cell = cell_tth(m.h);
    m.resolved = true;
  }

 private:
  const symmetry::RepresentativeSearch search_;
  const CellTwoTheta cell_two_theta_;
  const bool noflip_;
};

// A spinning thread's pause between two looks at what it waits for.
inline void spin_pause() {
#if defined(__SSE2__)
  _mm_pause();
#endif
}

}  // namespace vorlane::input
