#pragma once
// The experiment file of a run that has none (made from the options and the header of the
// input file), and the cards an experiment file leaves out filled from that header.
#include <string>
#include <vector>

#include "frontend/run_settings.hpp"
#include "input/integration_data.hpp"

namespace vorlane::frontend {

// Where the cell, the wavelength and the symmetry of a run came from, for the summary ("the
// option --cell", "the XDS_ASCII header of FILE"); empty: from the experiment file's cards.
struct SettingSources {
  std::string cell, wavelength, symmetry;
};

struct ExperimentText {
  std::string text;                // 80-column cards, one a line
  SettingSources sources;
  std::vector<std::string> notes;  // warnings for the run: disagreements, values filled in
  std::string error;               // a value a run needs that nothing gives: names the option
};

// The cards of a run without an experiment file: TITLE (`title`), CELL, WAVEL and SPACEGROUP
// from the options, else from `header` (may be null; `header_name` says whose header it is),
// FRIEDEL NOFLIP when the header says Friedel's law does not hold, and the controls of the
// options. A cell, wavelength or space group that neither gives is an error naming the option;
// without `space_group_needed` (the symmetry analysis, which finds the group) a missing group
// leaves the symmetry cards out.
ExperimentText experiment_text(const RunSettings& settings, const input::FileHeader* header,
                               const std::string& header_name, const std::string& title,
                               bool space_group_needed = true);

// An experiment file's text with the cards it lacks (CELL, WAVEL, a symmetry card, FRIEDEL
// NOFLIP) taken from `header`; where both give a value and they differ by more than their
// precision, a note, and the experiment file's value stands.
ExperimentText completed_experiment_text(const std::string& exp_text,
                                         const input::FileHeader& header,
                                         const std::string& header_name);

// A number as short as it can be written and still read back as the same value (single
// precision's shortest when double's is long: values that came from single precision).
std::string card_number(double v);

}  // namespace vorlane::frontend
