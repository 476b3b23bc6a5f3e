#pragma once
// The four run files: experiment (slot 1), print (2), input data (3), output data (4).
// Each is opened in the mode of its role and stays open for the whole run.
#include <array>
#include <filesystem>
#include <fstream>
#include <istream>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "records/print_file.hpp"
#include "run/staged_outputs.hpp"

namespace vorlane::run {

enum FileSlot { EXPERIMENT = 1, PRINT = 2, INPUT = 3, OUTPUT = 4 };

struct RunFiles {
  std::array<std::string, 4> FNAME;            // base names, slot n at index n-1
  std::array<std::filesystem::path, 4> paths;  // full paths as chosen
  int IEXPOPEN = 0;
  int IPRTOPEN = 0;
  int IINOPEN = 0;
  int IOUTOPEN = 0;
  int INFMT = 0;   // 0 Zezor, 1 SHELX hkl
  // An input file of an integration program (XDS_ASCII, CIF, MTZ) is read as the SHELX
  // records of the same measurements (INFMT 1): its format's name, and the reader's warnings,
  // given once the print file has its header. Empty for SHELX and Zezor files.
  std::string integration_format;
  std::vector<std::string> input_notes;
  int OUTFMT = 0;

  // The output data file and the files beside it, in temporary files until the run has
  // finished (declared before the streams: it outlives the output stream).
  StagedOutputs staged;

  // Streams: files opened by open_run_file, or any stream a caller attaches (tests).
  std::unique_ptr<std::istream> exp;
  std::unique_ptr<std::ostream> print_stream;
  std::unique_ptr<std::istream> in;
  std::unique_ptr<std::ostream> out;
  records::PrintFile print;

  int& open_flag(int slot);
};

// Opens `path` in the mode of `slot` (experiment and input: existing file, read only; print:
// created or appended to; output: a new temporary file beside `path`, which replaces it only
// when commit_outputs is called), closing a file of that slot first.
// On success stores the base name and sets the open flag; on failure leaves the slot closed
// with a blank name and returns false.
bool open_run_file(RunFiles& files, int slot, const std::filesystem::path& path);

// Closes one slot or all four. Returns false when a written file could not be flushed
// completely. Closing all four also removes the temporary files of a run that did not commit
// them.
bool close_run_file(RunFiles& files, int slot);
bool close_run_files(RunFiles& files);

// At the end of a run that finished: closes the output data file and puts it and the files
// beside it in place. Returns the file that could not be written or put in place, empty when
// everything was.
std::string commit_outputs(RunFiles& files);

// The format a file name implies: 0 Zezor, 1 SHELX, -1 not recognised (ask the user).
// Uses the three characters after the first "." of the base name, or its first three
// characters when it has none, upper-cased: input "ABS"/"HKL", output "AVG"/"ABS"/"HKL".
int format_from_name(std::string_view base_name, int slot);

// The CIF fragment's name: the output base name up to its first "." followed by
// "_vorlane.cif".
std::string cif_name(std::string_view output_base_name);

// The base name of a path: the text after its last separator ("/" or "\").
std::string base_name(std::string_view path);

}  // namespace vorlane::run
