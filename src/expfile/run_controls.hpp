#pragma once
// What the experiment file sets: title, wavelength, orientation cards, cell constants and the
// run controls with their defaults.
#include <array>
#include <string>

namespace vorlane::expfile {

// VORLAN OPENING alpha [AXIS x y z]: the opening half-angle of a diamond-anvil cell in degrees
// (0: no card) and its load axis in the laboratory frame of the UB matrix.
struct CellOpening {
  float opening = 0.0f;
  std::array<float, 3> axis{1.0f, 0.0f, 0.0f};
};

struct RunControls {
  std::string TITLE = std::string(80, ' ');  // kept from before a reading
  float WAVE = 0.7093f;
  std::array<int, 3> BLAXES{1, 2, 3};
  int NUBLIN = 0;
  int ICELL = 0;                        // not reset by a reading
  std::array<float, 7> CELLPAR{};       // not reset by a reading
  float EXPVOL = 0.0f;
  int IBMAT = 0;
  int LAUECLS = 0;

  int IREJMODE = 1;
  std::array<float, 4> BLESS{0.05f, 3.29f, 2.58f, 1.0f};
  int IOUTAVE = 1;
  int INOSING = 0;
  int IABSENT = 3;
  float LTHRESH = 2.0f;
  int IREJLT = 0;
  float TTHMAX = 180.0f;
  float TTHMIN = 0.0f;
  float OSCALE = 1.0f;
  int INOFLIP = 0;
  // The output sigma of an averaged set: 0 the larger of two estimates of the spread of one
  // observation (never divided by sqrt(n)); 1 (SIGMA MEAN) the sigma of the weighted mean.
  int sigma_convention = 0;

  // What the print file and the summary report about the setting of the run.
  int wave_from_card = 0;          // 1 once a WAVEL card set WAVE
  int scale_from_card = 0;         // 1 once a SCALE keyword set OSCALE
  std::string space_group_name;    // Hermann-Mauguin symbol of a SPACEGROUP card, else empty
  int space_group_number = 0;      // its number, 0 without a SPACEGROUP card
  // SPACEGROUP AUTO: the group is found from the data once they are read; the name and the
  // number above are then those of the group found.
  bool space_group_auto = false;
  int laue_row = 0;                // row of the Laue table the operators belong to, 0 if none
  // Friedel mates from the command line, overriding FRIEDEL NOFLIP: -1 not given, 0 merge,
  // 1 keep apart. Not reset by a reading.
  int friedel_option = -1;
  // The sigma convention from the command line, overriding SIGMA: -1 not given, 0 spread,
  // 1 mean. Not reset by a reading.
  int sigma_option = -1;
  // Where the cell, the wavelength and the symmetry came from when not from the experiment
  // file's own cards ("the option --cell", "the XDS_ASCII header of FILE"); empty otherwise.
  // Set by the front end; not reset by a reading.
  std::string cell_source, wave_source, symmetry_source;
  CellOpening dac;

  bool sigma_of_mean() const { return sigma_convention == 1; }
};

}  // namespace vorlane::expfile
