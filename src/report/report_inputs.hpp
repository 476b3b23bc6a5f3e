#pragma once
// What the JSON and the HTML report carry beside the statistics: the run's summary figures
// under the CIF's names, its warnings and the files it wrote.
#include <memory>
#include <string>
#include <vector>

#include "statistics/statistics.hpp"

namespace vorlane::symmetry_analysis { struct Analysis; }

namespace vorlane::report {

struct RunFigures {
  std::string title;
  double wavelength = 0.0;
  long reflections_read = 0;
  long sets = 0;
  long singlets = 0;
  double r_int_all = 0.0;    // _diffrn_reflns_av_R_equivalents (NaN: cannot be formed)
  double r_sigma_all = 0.0;  // _diffrn_reflns_av_unetI/netI
  bool r_known = true;       // both could be formed (otherwise null / "n/a")
  double completeness_max = -1.0;   // negative: not known
  double completeness_full = -1.0;
  double dac_opening = 0.0;  // degrees; 0 without an OPENING card
  std::vector<std::string> warnings;
  std::string print_file, output_file, cif_file;
  // The symmetry found from the measurements; null when the run has no cell to find it with.
  std::shared_ptr<const symmetry_analysis::Analysis> symmetry;
};

}  // namespace vorlane::report
