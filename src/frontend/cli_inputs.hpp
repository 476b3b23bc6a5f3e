#pragma once
// The parts of a command-line run that come with the files of integration programs and with
// runs without an experiment file: which reader takes INFILE, the names of the files a run
// without experiment file writes, and the experiment file such a run uses.
#include <optional>
#include <ostream>
#include <string>

#include "frontend/cli_options.hpp"
#include "frontend/experiment_text.hpp"
#include "input/integration_data.hpp"
#include "run/run_state.hpp"

namespace vorlane::frontend {

// The reader of an integration program's file that INFILE needs: the option (--in-format
// xds|cif|mtz), else the content (an XDS_ASCII first line whatever the name, the MTZ mark, a
// CIF reflection loop), else the name (.cif, .mmcif, .mtz); nothing for SHELX and Zezor files.
std::optional<input::IntegrationFormat> integration_format_for(int in_format_option,
                                                               const std::string& path);

// OUTFILE of a run without an experiment file: as given, else INFILE's name without its last
// extension followed by "_merged.hkl" (".mtz" under --out-format mtz), beside INFILE. The print
// file: NAME.lis beside OUTFILE, NAME being OUTFILE's name up to its first dot.
std::string default_output_file(const std::string& input, bool mtz);
std::string print_file_beside(const std::string& output);

// Whether OUTFILE is to be an MTZ file: the option, else the name (.mtz).
bool mtz_output(int out_format_option, const std::string& output);

// Reads INFILE with the reader of `format` and attaches the equivalent SHELX records as the
// run's input (INFMT 1), with the reader's warnings for the print file. On failure says why on
// `err` and returns nothing.
std::optional<input::IntegrationData> attach_integration_input(
    run::RunState& rs, const std::string& path, input::IntegrationFormat format, std::ostream& err);

// With an experiment file (attached already): an integration program's file read as above,
// and the experiment file completed from its header (the cell, the wavelength and the group
// it lacks). False, with the reason on `err`, when either cannot be done.
bool attach_integration_with_experiment(run::RunState& rs, const std::string& path,
                                        input::IntegrationFormat format, std::ostream& err);

// "the XDS_ASCII header of NAME".
std::string header_name(const input::IntegrationData& data, const std::string& path);

// Attaches `e` as the run's experiment file (named `shown` in the listing) with the sources of
// its settings and its notes.
void attach_experiment_text(run::RunState& rs, const ExperimentText& e, const std::string& shown);

// The whole text of the run's experiment file as opened (read from its start).
std::string experiment_file_text(run::RunState& rs);

// Writes `text` to `path` (through a temporary file renamed over it). Empty, or why not.
std::string write_text_file(const std::string& path, const std::string& text);

}  // namespace vorlane::frontend
