#include "frontend/cli_options.hpp"

namespace vorlane::frontend {
namespace {

int parse_format(const std::string& v, bool input) {
  if (v == "zezor") return 0;
  if (v == "shelx") return 1;
  if (input && v == "xds") return IN_FORMAT_XDS;
  if (input && v == "cif") return IN_FORMAT_CIF;
  if (v == "mtz") return input ? IN_FORMAT_MTZ : OUT_FORMAT_MTZ;
  return -1;
}

// 1 to 100, or 0 when the text is not such a number.
int parse_shells(const std::string& v) {
  if (v.empty() || v.size() > 3 || v.find_first_not_of("0123456789") != std::string::npos)
    return 0;
  const int n = std::stoi(v);
  return n <= 100 ? n : 0;
}

}  // namespace

std::string cli_usage() {
  return "usage: vorlane [--in-format zezor|shelx|xds|cif|mtz] [--out-format zezor|shelx|mtz]\n"
         "               [--sigma-ratio apply|keep|ask] [--friedel merge|keep]\n"
         "               [--sigma spread|mean]\n"
         "               [--report none|html] [--shells N]\n"
         "               EXPFILE PRINTFILE INFILE OUTFILE\n"
         "       vorlane [--cell a b c alpha beta gamma] [--wavelength L|Mo|Cu|Ag]\n"
         "               [--spacegroup SYMBOL|NUMBER] [--twotheta-min A] [--twotheta-max A]\n"
         "               [--no-rejection] [--less-than N] [--write-exp FILE] [options]\n"
         "               INFILE [OUTFILE]\n"
         "       vorlane symmetry [--json FILE] [--tolerance DEG] EXPFILE INFILE\n"
         "       vorlane symmetry [--json FILE] [--tolerance DEG]\n"
         "               [--cell a b c alpha beta gamma] [--wavelength L|Mo|Cu|Ag] INFILE\n"
         "       vorlane --help | --version | symmetry --help\n";
}

std::string cli_help() {
  return "vorlane - averages symmetry-equivalent single-crystal reflections\n"
         "\n" +
         cli_usage() +
         "\n"
         "Files:\n"
         "  EXPFILE    experiment file (80-column cards: TITLE, WAVEL, UB/UBL, CELL, BLAXES, and\n"
         "             VORLAN control cards: SPACEGROUP, SYMOP, UNITIN, LAUE, OUTLIER,\n"
         "             BLESSING, OUTPUT, ABSENT, LESSTHAN, 2THETA, SCALE, FRIEDEL, SIGMA)\n"
         "  PRINTFILE  listing of the run; created, or appended to when it exists\n"
         "  INFILE     measured reflections: Zezor abs (.abs), SHELX hkl (.hkl), XDS_ASCII,\n"
         "             reflection CIF/mmCIF (_diffrn_refln loop) or unmerged MTZ\n"
         "  OUTFILE    averaged (or individual) reflections: Zezor (.avg, .abs), SHELX (.hkl)\n"
         "             or averaged as MTZ (.mtz);\n"
         "             replaced when it exists. The CIF fragment NAME_vorlane.cif is written\n"
         "             beside it (NAME = OUTFILE's name up to its first dot).\n"
         "\n"
         "Options:\n"
         "  --in-format zezor|shelx|xds|cif|mtz\n"
         "                              format of INFILE (otherwise from its content and name)\n"
         "  --out-format zezor|shelx|mtz\n"
         "                              format of OUTFILE (otherwise from its extension)\n"
         "  --sigma-ratio apply|keep|ask\n"
         "                              scale the sigmas of singly-measured reflections by the\n"
         "                              ratio output sigma / external sigma of the averaged ones\n"
         "                              (default: ask on a terminal, keep otherwise)\n"
         "  --friedel merge|keep        merge Friedel mates or keep them apart (overrides\n"
         "                              FRIEDEL NOFLIP of the experiment file)\n"
         "  --sigma spread|mean          sigma of an average: the spread of one observation\n"
         "                              (default), or the sigma of the weighted mean that\n"
         "                              refinement programs expect (overrides SIGMA MEAN)\n"
         "  --report none|html          write NAME_report.html beside OUTFILE (default html);\n"
         "                              NAME_stats.json and NAME_rejections.csv are always written\n"
         "  --shells N                  resolution shells of the shell tables (default 10)\n"
         "  --help                      this text\n"
         "  --version                   the program's version\n"
         "\n" + run_settings_help() +
         "\n"
         "Exit status: 0 finished successfully, 1 the run halted on a fatal error (see the\n"
         "print file) or INFILE's content cannot be read, 2 usage error or a file that cannot\n"
         "be opened.\n";
}

CliParse parse_cli(const std::vector<std::string>& args) {
  CliParse r;
  auto& o = r.options;
  std::vector<std::string> files;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string a = args[i];
    std::string value;
    bool has_value = false;
    if (a.rfind("--", 0) == 0) {
      const auto eq = a.find('=');
      if (eq != std::string::npos) {
        value = a.substr(eq + 1);
        a = a.substr(0, eq);
        has_value = true;
      }
    }
    auto take = [&](const std::string& name) -> bool {
      if (has_value) return true;
      if (i + 1 >= args.size()) {
        r.error = "option " + name + " needs a value";
        return false;
      }
      value = args[++i];
      return true;
    };
    if (a == "--help" || a == "-h") {
      o.help = true;
    } else if (a == "--version") {
      o.version = true;
    } else if (a == "--in-format" || a == "--out-format") {
      if (!take(a)) return r;
      const bool input = a == "--in-format";
      const int f = parse_format(value, input);
      if (f < 0) {
        r.error = "option " + a + " takes " + (input ? "zezor, shelx, xds, cif or mtz" : "zezor, shelx or mtz") +
                  ", not '" + value + "'";
        return r;
      }
      (a == "--in-format" ? o.in_format : o.out_format) = f;
    } else if (a == "--sigma-ratio") {
      if (!take(a)) return r;
      if (value == "apply") o.sigma_ratio = SigmaRatioAnswer::apply;
      else if (value == "keep") o.sigma_ratio = SigmaRatioAnswer::keep;
      else if (value == "ask") o.sigma_ratio = SigmaRatioAnswer::ask;
      else {
        r.error = "option --sigma-ratio takes apply, keep or ask, not '" + value + "'";
        return r;
      }
    } else if (a == "--friedel") {
      if (!take(a)) return r;
      if (value == "merge") o.friedel = 0;
      else if (value == "keep") o.friedel = 1;
      else {
        r.error = "option --friedel takes merge or keep, not '" + value + "'";
        return r;
      }
    } else if (a == "--sigma") {
      if (!take(a)) return r;
      if (value == "spread") o.sigma = 0;
      else if (value == "mean") o.sigma = 1;
      else {
        r.error = "option --sigma takes spread or mean, not '" + value + "'";
        return r;
      }
    } else if (a == "--report") {
      if (!take(a)) return r;
      if (value == "none") o.html_report = false;
      else if (value == "html") o.html_report = true;
      else {
        r.error = "option --report takes none or html, not '" + value + "'";
        return r;
      }
    } else if (a == "--shells") {
      if (!take(a)) return r;
      const int n = parse_shells(value);
      if (n < 1) {
        r.error = "option --shells takes a whole number from 1 to 100, not '" + value + "'";
        return r;
      }
      o.shells = n;
    } else if (const SettingOption taken = take_setting_option(
                   args, i, a, has_value ? std::optional<std::string>(value) : std::nullopt,
                   o.settings, r.error);
               taken != SettingOption::not_one) {
      if (taken == SettingOption::error) return r;
    } else if (a.size() > 1 && a[0] == '-' && a != "-") {
      r.error = "unknown option '" + args[i] + "'";
      return r;
    } else {
      files.push_back(args[i]);
    }
  }
  if (o.help || o.version) return r;
  // One or two files: a run without an experiment file.
  if (files.size() == 1 || files.size() == 2) {
    o.input_file = files[0];
    if (files.size() == 2) o.output_file = files[1];
    return r;
  }
  if (files.size() != 4) {
    r.error = files.size() < 4 ? "expected 4 files (EXPFILE PRINTFILE INFILE OUTFILE) or 1 or 2 "
                                 "(INFILE [OUTFILE]), got " + std::to_string(files.size())
                               : "too many arguments: expected 4 files, got " +
                                     std::to_string(files.size());
    return r;
  }
  if (!o.settings.first_given.empty()) {
    r.error = "option " + o.settings.first_given +
              " is for a run without an experiment file (INFILE [OUTFILE]); with EXPFILE give "
              "it as a card";
    return r;
  }
  o.exp_file = files[0];
  o.print_file = files[1];
  o.input_file = files[2];
  o.output_file = files[3];
  return r;
}

}  // namespace vorlane::frontend
