#pragma once
// Shared helpers for tests: a run state wired to in-memory files and a fake Dialogs.
#include <memory>
#include <sstream>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "run/run_state.hpp"
#include "support/fake_dialogs.hpp"

namespace vorlane::testing {

struct MemoryRun {
  run::RunState rs;
  FakeDialogs dialogs;
  std::ostringstream* print = nullptr;  // owned by rs.files
  std::ostringstream* out = nullptr;    // owned by rs.files

  // Experiment file text, input data text; the print and output files are in memory.
  explicit MemoryRun(const std::string& exp_text = "", const std::string& input_text = "");
  // The print file as plain-text lines.
  std::vector<std::string> print_lines() const;
  std::string print_text() const;
  std::string output_text() const;
};

// Reads a whole file (throws std::runtime_error when it cannot be read).
std::string read_text_file(const std::string& path);
// Splits text into lines (without line ends).
std::vector<std::string> split_lines(const std::string& text);
// The items of a CIF fragment as name -> first value (loops and text fields left out).
std::map<std::string, std::string> cif_items(const std::string& text);
// How often `what` occurs in `text` (overlapping occurrences counted).
std::size_t occurrences(const std::string& text, const std::string& what);
// `s` in lower case (ASCII).
std::string lower(std::string s);

// Every setting of tests/data/symmetry/centric_cctbx.txt (gemmi's xhm()) in the file's order,
// and whether cctbx finds it centrosymmetric.
std::vector<std::pair<std::string, bool>> centric_reference();
// A fresh empty folder under the system temp folder for one test.
std::string make_temp_dir(const std::string& tag);

}  // namespace vorlane::testing
