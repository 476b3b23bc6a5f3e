#pragma once
// The options of a run without an experiment file: `vorlane [options] INFILE [OUTFILE]`. They
// stand for the experiment-file cards a run needs (cell, wavelength, space group) and the
// controls changed most often.
#include <array>
#include <optional>
#include <string>
#include <vector>

namespace vorlane::frontend {

struct RunSettings {
  std::optional<std::array<double, 6>> cell;  // --cell a b c alpha beta gamma
  std::optional<double> wavelength;           // --wavelength (Angstrom, or Mo, Cu, Ag)
  std::string space_group;                    // --spacegroup SYMBOL|NUMBER
  std::optional<double> twotheta_min, twotheta_max;
  bool no_rejection = false;                  // --no-rejection: OUTLIER NONE
  std::optional<double> less_than;            // --less-than N: LESSTHAN N
  std::string write_exp;                      // --write-exp FILE
  // The first option given, for the message when they come with an experiment file.
  std::string first_given;
};

enum class SettingOption { not_one, taken, error };

// Takes the option args[i] (with `inline_value` after '=' when given) when it is one of the
// run settings, advancing `i` past the values it takes. On a bad value sets `error`.
SettingOption take_setting_option(const std::vector<std::string>& args, std::size_t& i,
                                  const std::string& name, const std::optional<std::string>& inline_value,
                                  RunSettings& settings, std::string& error);

// The wavelength of an X-ray tube's anode named by its element (Mo, Cu, Ag; Kalpha mean), or
// nothing.
std::optional<double> anode_wavelength(const std::string& name);

// The lines of --help about these options.
std::string run_settings_help();

}  // namespace vorlane::frontend
