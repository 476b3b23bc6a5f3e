#pragma once
// The few lines a command-line run prints on standard output when it has finished.
#include <string>
#include <vector>

#include "run/run_state.hpp"

namespace vorlane::frontend {

struct RunOutcome {
  int sets = 0;              // equivalent sets (unique reflections) formed
  int reflections = 0;       // measurements read
  int dac_dips = 0;          // members rejected as DAC dips
  int outliers = 0;          // members rejected as outliers
  int singlets = 0;
  float rint = 0.0f;          // over the equivalents that formed the averages; < 0 unknown
  bool sigma_of_mean = false;  // output sigmas are those of means (SIGMA MEAN)
  std::string scale_note;      // how the output was scaled, when it was
  std::string space_group_choice;  // SPACEGROUP AUTO: the group found and its probability
  float rsigma = 0.0f;
  bool rint_known = true;    // R(int) and R(sigma) could be formed
  float completeness_max = -1.0f;
  float completeness_full = -1.0f;
  averaging::DataFigures figures;  // the CIF fragment's figures
  std::string print_file, output_file, cif_file;
  bool cif_written = false;
  std::vector<std::string> setting;  // wavelength, symmetry and Friedel mates used
  std::vector<std::string> notes;    // the run's notes (run::note)
  std::vector<std::string> shell_lines;  // compact shell table
  std::string stats_file, ledger_file, html_file;  // empty: not written
  bool html_asked = true;
  bool has_dac = false;
  double dac_completeness = 0.0;
};

// Gathered while the files are still known, before they are closed.
RunOutcome describe_outcome(const run::RunState& rs);

std::string summary_text(const RunOutcome& o);

}  // namespace vorlane::frontend
