#include "frontend/run_settings.hpp"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>

namespace vorlane::frontend {
namespace {

bool to_real(const std::string& text, double& v) {
  std::string_view t = text;
  if (!t.empty() && t.front() == '+') t.remove_prefix(1);
  if (t.empty()) return false;
  const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
  return ec == std::errc() && end == t.data() + t.size() && std::isfinite(v);
}

std::string lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

}  // namespace

std::optional<double> anode_wavelength(const std::string& name) {
  // Weighted means of Kalpha1 and Kalpha2 (International Tables C, 4.2.2).
  const std::string n = lower(name);
  if (n == "mo") return 0.71073;
  if (n == "cu") return 1.54184;
  if (n == "ag") return 0.56087;
  return std::nullopt;
}

SettingOption take_setting_option(const std::vector<std::string>& args, std::size_t& i,
                                  const std::string& name, const std::optional<std::string>& inline_value,
                                  RunSettings& s, std::string& error) {
  static const char* const NAMES[] = {"--cell", "--wavelength", "--spacegroup", "--twotheta-min",
                                      "--twotheta-max", "--no-rejection", "--less-than",
                                      "--write-exp"};
  if (std::find(std::begin(NAMES), std::end(NAMES), name) == std::end(NAMES)) {
    return SettingOption::not_one;
  }
  if (s.first_given.empty()) s.first_given = name;
  if (name == "--no-rejection") {
    if (inline_value) {
      error = "option --no-rejection takes no value";
      return SettingOption::error;
    }
    s.no_rejection = true;
    return SettingOption::taken;
  }
  // The values: after '=' (the six cell constants separated by commas), else the next words.
  const std::size_t count = name == "--cell" ? 6 : 1;
  std::vector<std::string> values;
  if (inline_value) {
    std::string v = *inline_value;
    if (count == 6) {
      std::replace(v.begin(), v.end(), ',', ' ');
      std::size_t p = 0;
      while ((p = v.find_first_not_of(' ', p)) != std::string::npos) {
        const std::size_t e = std::min(v.find(' ', p), v.size());
        values.push_back(v.substr(p, e - p));
        p = e;
      }
    } else {
      values.push_back(v);
    }
  } else {
    while (values.size() < count && i + 1 < args.size()) values.push_back(args[++i]);
  }
  if (values.size() != count) {
    error = count == 6 ? "option --cell needs six numbers: a b c alpha beta gamma"
                       : "option " + name + " needs a value";
    return SettingOption::error;
  }
  if (name == "--cell") {
    std::array<double, 6> c{};
    for (std::size_t k = 0; k < 6; ++k) {
      if (!to_real(values[k], c[k]) || !(c[k] > 0.0) || (k >= 3 && !(c[k] < 180.0))) {
        error = "option --cell: '" + values[k] + "' is not a cell " +
                (k < 3 ? "length (above 0)" : "angle (0 to 180 degrees)");
        return SettingOption::error;
      }
    }
    s.cell = c;
  } else if (name == "--wavelength") {
    double w = 0.0;
    if (const auto anode = anode_wavelength(values[0])) {
      w = *anode;
    } else if (!to_real(values[0], w) || !(w > 0.0) || !(w < 100.0)) {
      error = "option --wavelength takes a wavelength in Angstrom or Mo, Cu, Ag, not '" + values[0] + "'";
      return SettingOption::error;
    }
    s.wavelength = w;
  } else if (name == "--spacegroup") {
    if (values[0].empty()) {
      error = "option --spacegroup needs a symbol or a number";
      return SettingOption::error;
    }
    s.space_group = values[0];
  } else if (name == "--twotheta-min" || name == "--twotheta-max") {
    double v = 0.0;
    if (!to_real(values[0], v) || v < 0.0 || v > 180.0) {
      error = "option " + name + " takes an angle from 0 to 180 degrees, not '" + values[0] + "'";
      return SettingOption::error;
    }
    (name == "--twotheta-min" ? s.twotheta_min : s.twotheta_max) = v;
  } else if (name == "--less-than") {
    double v = 0.0;
    if (!to_real(values[0], v) || v < 0.0) {
      error = "option --less-than takes a number of sigmas (0 or more), not '" + values[0] + "'";
      return SettingOption::error;
    }
    s.less_than = v;
  } else {
    s.write_exp = values[0];
  }
  return SettingOption::taken;
}

std::string run_settings_help() {
  return "Without an experiment file (cell, wavelength and space group from the options, else\n"
         "from INFILE's header; OUTFILE defaults to INFILE's name with _merged.hkl, the print file\n"
         "is NAME.lis beside OUTFILE):\n"
         "  --cell a b c alpha beta gamma   cell constants (Angstrom, degrees)\n"
         "  --wavelength L|Mo|Cu|Ag     wavelength in Angstrom, or the anode (0.71073, 1.54184,\n"
         "                              0.56087)\n"
         "  --spacegroup SYMBOL|NUMBER|auto   space group (\"P 21/c\" or 14), or found from\n"
         "                              the data (VORLAN SPACEGROUP AUTO)\n"
         "  --twotheta-min A, --twotheta-max A   2theta window (VORLAN 2THETA)\n"
         "  --no-rejection              no outlier or DAC-dip rejection (VORLAN OUTLIER NONE)\n"
         "  --less-than N               less-than threshold N sigma (VORLAN LESSTHAN N)\n"
         "  --write-exp FILE            write the experiment file that reproduces the run\n";
}

}  // namespace vorlane::frontend
