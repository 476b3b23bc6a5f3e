#pragma once
// A whole run of the vorlane command line in a folder of its own, with the helpers the
// whole-run tests share: input records in their fixed columns, print-file lines by text.
#include <cstddef>
#include <string>
#include <vector>

#include "e2e/cli_support.hpp"

namespace vorlane::testing {

class E2eRun {
 public:
  explicit E2eRun(const std::string& tag);
  ~E2eRun();
  E2eRun(const E2eRun&) = delete;
  E2eRun& operator=(const E2eRun&) = delete;

  void write(const std::string& name, const std::string& text) const;
  bool exists(const std::string& name) const;
  std::string read(const std::string& name) const;
  std::vector<std::string> lines(const std::string& name) const;
  CliResult run(const std::string& args) const;

  const std::string dir;
};

// A SHELX hkl record: h, k, l in 4 columns each, F2 and its sigma right-justified in 8.
std::string shelx_record(int h, int k, int l, const std::string& fsq, const std::string& sig);
// A Zezor abs record: h, k, l in 3 columns each, F in 10, sigma(F) in 6, the auxiliary value
// in 10, ten skipped columns, then the four angles in 7 columns each (2theta first).
std::string zezor_record(int h, int k, int l, const std::string& f, const std::string& sigf,
                         const std::string& aux, const std::string& tth);

// Twelve reflections of a 5 6 7 cell, each measured twice consistently (R(int) small), without
// the terminating record. sin(theta)/lambda of the largest, (4 1 3), is 0.49 per A: possible
// up to lambda 2.0 A.
std::string consistent_pairs();

// The terminating 0 0 0 record of a SHELX file, and the CELL card of the 5 6 7 cell.
inline const std::string kEnd = shelx_record(0, 0, 0, "0.", "0.");
inline const std::string kCell = "CELL   5.0 6.0 7.0 90 90 90\n";

// Index of the first line at or after `from` that contains `text`; lines.size() when none.
std::size_t find_line(const std::vector<std::string>& lines, const std::string& text,
                      std::size_t from = 0);
// `count` lines starting at the first line containing `text` (fewer at the end of the file;
// empty when the text is not found).
std::vector<std::string> lines_from(const std::vector<std::string>& lines, const std::string& text,
                                    std::size_t count);
// The lines after the header's "VORLANE RUN ON:" date line.
std::vector<std::string> after_date(const std::vector<std::string>& lines);
// How many lines contain `text`.
int count_lines(const std::vector<std::string>& lines, const std::string& text);

// `text` right-justified in `width` columns (the test's own padding, for expected lines).
std::string rj(const std::string& text, std::size_t width);
// `n` blanks.
std::string blanks(std::size_t n);

}  // namespace vorlane::testing
