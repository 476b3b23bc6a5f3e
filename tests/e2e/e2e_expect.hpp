#pragma once
// Expected print-file lines of a whole run, assembled from hand-worked values given as text.
// The record's leading carriage-control blank is not part of a line in the file.
#include <string>
#include <vector>

namespace vorlane::testing {

// The counts of the summary of averaging, as worked out by hand.
struct SummaryCounts {
  int read = 0;
  int viol_ind = 0;
  std::string treatment = "AND WERE REJECTED";
  int out_ind = 0;
  std::string tthmin = " 0.00";   // F5.2
  std::string tthmax = "180.00";  // F6.2
  int dac = 0;
  int outliers = 0;
  int passed = 0;
  int singlets = 0;
  int gt_ind = 0;
  int lt_ind = 0;
  int sets = 0;
  int viol_sets = 0;
  int out_sets = 0;
  int sets_passed = 0;
  int averaged = 0;
  int gt_sets = 0;
  int lt_sets = 0;
  bool lessthans_written = true;
  std::string lthresh = "2.0";
};

// The lines from "n REFLECTIONS READ FROM INPUT FILE:" to "... HAVE FSQ < n SIGFSQ (...)".
std::vector<std::string> summary_lines(const SummaryCounts& c);

// One column group of the R table: NREF (as "8.") and the four R values ("0.127").
std::string rgroup(const std::string& nref, const std::string& rint, const std::string& rint2,
                   const std::string& rsig, const std::string& rsig2);
// A whole R-table row: 15-character label and the three groups.
std::string rrow(const std::string& label, const std::string& all, const std::string& gt,
                 const std::string& lt);
// A group of zeros, as printed for an empty pass.
std::string rzero();

struct MemberText {
  std::string fsq;
  char mark = ' ';
};

// A listing line: indices (already in 3I3), flag, the six per-set values (F7.D text), NEQ,
// NAVE, then the members (each 1X, F7.D, mark; `with_marks` false for a singlet line).
std::string set_line(const std::string& hkl, char flag, const std::vector<std::string>& six,
                     int neq, int nave, const std::vector<MemberText>& members,
                     bool with_marks = true);

}  // namespace vorlane::testing
