#pragma once
// Run-wide results of averaging, totals and R statistics.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "averaging/data_figures.hpp"

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
  // Members marked as DAC dips and as outliers in all sets, violations and sets outside the
  // 2theta limits too (filled by the totals stage; negative until then).
  int NDIPS_ALL = -1;
  int NOUTLIERS_ALL = -1;
  // R values of the "All Reflections" class.
  float RINT_ALL = 0.0f;
  float RSIG_ALL = 0.0f;
  // R(int) over the equivalents used to form the averages: every set of two or more members
  // that is not a systematic absence of the space group (what published values give);
  // negative when it cannot be formed.
  float RINT_USED = -1.0f;
  // The power of ten the output intensities were scaled by when they would not have fitted
  // their fields or were all below 1 (0: not scaled), and the note that says so.
  int output_scale_power = 0;
  std::string output_scale_note;
  // With SPACEGROUP AUTO: the group found from the data and its probability; else empty.
  std::string space_group_choice;
  // Whether they could be formed: members in sets of two or more, intensities summing above
  // zero. Otherwise they are "?" in the CIF, null in the JSON and "n/a" where shown.
  bool rint_known = false;
  // The CIF fragment: its path, and whether it was written completely.
  std::string cif_path;
  bool cif_written = false;
  // Completeness as the CIF fragment reports it (to theta_max and to theta_full, in the
  // run's own grouping); negative when it could not be determined.
  float completeness_max = -1.0f;
  float completeness_full = -1.0f;
  // Records the output writer left out because a value overflowed its output field, in
  // writing order: with averaged output the sets (index into ReflectionList::sets, from 0),
  // with individual output the members (index into ReflectionList::members, from 0). Every
  // measurement of such a set, or such a member, was not passed on for that reason.
  std::vector<std::uint32_t> overflowed_sets;
  std::vector<std::uint32_t> overflowed_members;
  // The figures of the CIF fragment, the completeness block and the run summary.
  DataFigures figures;
};

}  // namespace vorlane::averaging
