#pragma once
// Run-wide results of averaging, totals and R statistics.
#include <array>
#include <string>

namespace vorlane::averaging {

struct RunResults {
  int NSINGLET = 0;
  float RATIO = 0.0f;
  int NRATIO = 0;
  float SIGFACT = 1.0f;
  // Summary counts (filled by the totals stage; read by the CIF writer).
  int NINDIV_PASSED = 0;    // individuals passed
  int NSET_PASSED = 0;      // sets passed
  int NSET_ALLOWED = 0;     // sets that are not space-group violations
  int NINDIV_GT = 0;        // greater-than individuals
  int NSET_GT = 0;          // greater-than sets
  int NINDIV_ALLOWED = 0;   // individuals outside violating sets
  // R values of the "All Reflections" class.
  float RINT_ALL = 0.0f;
  float RSIG_ALL = 0.0f;
  // The CIF fragment: its path, and whether it was written completely.
  std::string cif_path;
  bool cif_written = false;
  // Completeness as the CIF fragment reports it (up to the largest measured angle and up to
  // the 2theta limit); negative when it could not be determined.
  float completeness_max = -1.0f;
  float completeness_full = -1.0f;
};

}  // namespace vorlane::averaging
