#pragma once
// Whole runs and experiment-file readings driven by raw bytes, shared by the fuzz targets and
// the regression tests of what they found.
//
// A whole-run input is one selector byte, then the experiment file, a NUL byte and the input
// reflection file (no NUL: all of it is the experiment file and the reflection file is empty).
// Selector bits: 0 input format (0 Zezor, 1 SHELX), 1 output format, 2-3 the answer to the
// sigma-ratio question (0 no, 1 yes, 2 or 3 the box closed).
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

namespace vorlane::fuzz {

struct RunOutcome {
  bool halted = false;
  std::string print;   // the print file
  std::string output;  // the output reflection file
};

// A whole run in process, as the command line makes it: the two input files are written into
// `folder` and opened like a user's files; print and output files stay in memory; files the run
// writes beside the output go to `folder`. Questions are answered from the selector byte.
// With `bounded_cells`, inputs whose cell edges exceed 200 angstroms are not run (the
// complete-set count of a longer cell is refused by its bound just the same). `ran` says
// whether the run was made.
RunOutcome run_from_bytes(const std::uint8_t* data, std::size_t size,
                          const std::filesystem::path& folder, bool bounded_cells = false,
                          bool* ran = nullptr);

// A new folder under /tmp for a fuzz target's files, removed when the process exits. Aborts
// when it cannot be made.
std::filesystem::path temporary_folder();

// Reads `exp_text` as the experiment file and lists the symmetry as a run does before the
// data (READ_EXP_FILE, OPSYM, SYMINV, OPSYM, UNITIN_EXP, PRINT_SUMMARY).
RunOutcome read_experiment_file(const std::string& exp_text);

}  // namespace vorlane::fuzz
