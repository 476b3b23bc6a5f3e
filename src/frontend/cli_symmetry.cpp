#include "frontend/cli_symmetry.hpp"

#include <cctype>
#include <charconv>
#include <cmath>
#include <fstream>
#include <optional>
#include <sstream>

#include "expfile/read_exp_file.hpp"
#include "frontend/cli_inputs.hpp"
#include "frontend/experiment_text.hpp"
#include "frontend/run_settings.hpp"
#include "frontend/run_file_checks.hpp"
#include "input/content_check.hpp"
#include "input/read_data.hpp"
#include "pipeline/symmetry_check.hpp"
#include "run/run_files.hpp"
#include "run/run_state.hpp"
#include "symmetry_analysis/tables_text.hpp"

namespace vorlane::frontend {
namespace {

namespace sa = symmetry_analysis;

const char* const USAGE =
    "Usage: vorlane symmetry [--json FILE] [--tolerance DEG] EXPFILE INFILE\n"
    "       vorlane symmetry [--json FILE] [--tolerance DEG]\n"
    "               [--cell a b c alpha beta gamma] [--wavelength L|Mo|Cu|Ag] INFILE\n";

const char* const HELP =
    "vorlane symmetry - the symmetry of unmerged data: lattice centring, Laue class, space\n"
    "group and intensity statistics, ranked with their evidence\n"
    "\n"
    "Files:\n"
    "  EXPFILE    experiment file: its CELL and WAVEL cards (its symmetry cards only to say\n"
    "             whether the data agree)\n"
    "  INFILE     measured reflections: Zezor abs (.abs), SHELX hkl (.hkl), XDS_ASCII,\n"
    "             reflection CIF/mmCIF (_diffrn_refln loop) or unmerged MTZ\n"
    "\n"
    "Options:\n"
    "  --json FILE                 write the analysis as JSON\n"
    "  --tolerance DEG             obliquity allowed for a lattice 2-fold (default 3)\n"
    "  --help                      this text\n"
    "Without an experiment file (cell and wavelength from the options, else from INFILE's\n"
    "header):\n"
    "  --cell a b c alpha beta gamma   cell constants (Angstrom, degrees)\n"
    "  --wavelength L|Mo|Cu|Ag     wavelength in Angstrom, or the anode (0.71073, 1.54184,\n"
    "                              0.56087)\n"
    "\n"
    "Exit status: 0 with an answer, 1 not determinable (or INFILE cannot be read), 2 usage\n"
    "error or a file that cannot be opened.\n";

struct SymmetryOptions {
  std::string json_file, exp_file, input_file;
  double tolerance = 3.0;
  RunSettings settings;  // --cell and --wavelength of the form without EXPFILE
  bool help = false;
  std::string error;
};

SymmetryOptions parse(const std::vector<std::string>& args) {
  SymmetryOptions o;
  std::vector<std::string> files;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string a = args[i];
    std::optional<std::string> inline_value;
    if (a.rfind("--", 0) == 0 && a.find('=') != std::string::npos) {
      inline_value = a.substr(a.find('=') + 1);
      a = a.substr(0, a.find('='));
    }
    if (a == "--help") {
      o.help = true;
      return o;
    }
    if (a == "--json" || a == "--tolerance") {
      if (!inline_value && i + 1 >= args.size()) {
        o.error = a + " needs a value";
        return o;
      }
      const std::string v = inline_value ? *inline_value : args[++i];
      if (a == "--json") {
        o.json_file = v;
        continue;
      }
      const auto r = std::from_chars(v.data(), v.data() + v.size(), o.tolerance);
      if (r.ec != std::errc() || r.ptr != v.data() + v.size() || !(o.tolerance > 0.0) ||
          o.tolerance > 10.0) {
        o.error = "--tolerance takes an angle in degrees above 0 and at most 10, not '" + v + "'";
        return o;
      }
      continue;
    }
    const SettingOption taken = take_setting_option(args, i, a, inline_value, o.settings, o.error);
    if (taken == SettingOption::error) return o;
    if (taken == SettingOption::taken) {
      if (a != "--cell" && a != "--wavelength") {
        o.error = "option " + a + " is for merging runs; vorlane symmetry takes --cell and "
                  "--wavelength";
        return o;
      }
      continue;
    }
    if (a.size() > 1 && a[0] == '-') {
      o.error = "unknown option '" + args[i] + "'";
      return o;
    }
    files.push_back(args[i]);
  }
  if (files.empty() || files.size() > 2) {
    o.error = "give an input data file, with an experiment file before it or --cell and "
              "--wavelength";
    return o;
  }
  if (files.size() == 2 && !o.settings.first_given.empty()) {
    o.error = "option " + o.settings.first_given +
              " is for vorlane symmetry without an experiment file (INFILE alone); with EXPFILE "
              "give it as a card";
    return o;
  }
  if (files.size() == 2) o.exp_file = files[0];
  o.input_file = files.back();
  return o;
}

std::string trimmed(const std::string& s) {
  const auto e = s.find_last_not_of(' ');
  return e == std::string::npos ? std::string() : s.substr(0, e + 1);
}

// Where the symmetry cards come from: the experiment file, or (without one) INFILE's header.
struct GivenSource {
  std::string name;  // "the experiment file", "the XDS_ASCII header of X.HKL"
  bool experiment_file = true;
  std::string subject() const {
    std::string s = name;
    if (!s.empty()) s[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(s[0])));
    return s;
  }
  std::string group(const std::string& given) const {
    return experiment_file ? name + "'s " + given : given + " of " + name;
  }
};

std::string agreement(const sa::Analysis& a, const std::string& given,
                      const std::vector<sa::Measurement>& data, const GivenSource& source) {
  if (given.empty())
    return source.experiment_file ? "The experiment file gives no space group.\n"
                                  : "No space group is given (no experiment file).\n";
  if (!a.determinable) return source.subject() + " gives " + given + ".\n";
  const sa::GivenGroupCheck check = sa::check_given_group(data, a, given);
  if (check.checked && check.contradicted) {
    std::string why;
    if (check.laue_probability < 0.05)
      why = "its Laue class has probability " + sa::fixed(check.laue_probability, 3);
    if (sa::absences_contradicted(check))
      why += (why.empty() ? "" : "; ") + std::to_string(check.n_absent_strong) + " of the " +
             std::to_string(check.n_absent) + " reflections it declares absent are above 3 sigma";
    return "The data contradict " + source.group(given) + ": " + why + ".\n";
  }
  for (std::size_t i = 0; i < a.space_groups.rows.size(); ++i) {
    const sa::SpaceGroupRow& r = a.space_groups.rows[i];
    bool here = r.symbol == given;
    for (const std::string& t : r.ties) here = here || t == given;
    if (!here) continue;
    if (i == 0)
      return source.subject() +
             (source.experiment_file ? "'s " + given : " gives " + given + ", which") +
             " agrees with the suggestion.\n";
    return source.subject() + " gives " + given + ", ranked " + std::to_string(i + 1) +
           " with probability " + sa::fixed(r.probability, 3) + ".\n";
  }
  return source.subject() + " gives " + given + ", which is not among the candidates.\n";
}

// The experiment file's cards (with EXPFILE, completed from the header of an integration
// program's file; without, made from --cell, --wavelength and INFILE's header) and the input,
// attached to the run state. On failure says why on `err` and returns the exit status.
int attach_files(const SymmetryOptions& o, run::RunState& rs, GivenSource& source,
                 std::ostream& err) {
  const bool direct = o.exp_file.empty();
  if ((!direct && !run::open_run_file(rs.files, run::EXPERIMENT, o.exp_file)) ||
      !run::open_run_file(rs.files, run::INPUT, o.input_file)) {
    err << "vorlane symmetry: cannot open the experiment file or the input data file\n";
    return 2;
  }
  const auto integration = integration_format_for(-1, o.input_file);
  std::optional<input::IntegrationData> data;
  if (integration) {
    std::ostringstream why;
    data = attach_integration_input(rs, o.input_file, *integration, why);
    if (!data) {
      err << "vorlane symmetry: " << why.str().substr(why.str().find(": ") + 2);
      return 1;
    }
  } else {
    const int infmt = run::format_from_name(run::base_name(o.input_file), run::INPUT);
    if (infmt < 0) {
      err << "vorlane symmetry: cannot tell the format of input data file '" << o.input_file
          << "' from its name (use .abs or .hkl)\n";
      return 2;
    }
    rs.files.INFMT = infmt;
    const std::string content = input::content_check_message(o.input_file, infmt);
    if (!content.empty()) {
      err << "vorlane symmetry: " << content << "\n";
      return 1;
    }
  }
  if (!direct && !data) return 0;
  const std::string header = data ? header_name(*data, o.input_file) : std::string();
  const ExperimentText e =
      direct ? experiment_text(o.settings, data ? &data->header : nullptr, header,
                               run::base_name(o.input_file), false)
             : completed_experiment_text(experiment_file_text(rs), data->header, header);
  if (!e.error.empty()) {
    err << "vorlane symmetry: " << e.error << ", or give an experiment file before INFILE\n";
    return 2;
  }
  attach_experiment_text(rs, e, direct ? std::string("(options)") : std::string());
  if (direct) source = {e.sources.symmetry, false};
  return 0;
}

}  // namespace

int run_symmetry_cli(const std::vector<std::string>& args, CliStreams io) {
  const SymmetryOptions o = parse(args);
  if (o.help) {
    io.out << HELP;
    return 0;
  }
  if (!o.error.empty()) {
    io.err << "vorlane symmetry: " << o.error << "\n" << USAGE;
    return 2;
  }
  for (const std::string* path : {&o.exp_file, &o.input_file}) {
    if (path->empty()) continue;
    const std::string why = unreadable_reason(*path);
    if (!why.empty()) {
      io.err << "vorlane symmetry: cannot open '" << *path << "' (" << why << ")\n";
      return 2;
    }
  }
  run::RunState rs;
  GivenSource source{"the experiment file", true};
  const int status = attach_files(o, rs, source, io.err);
  if (status != 0) {
    run::close_run_files(rs.files);
    return status;
  }
  expfile::READ_EXP_FILE(rs);
  if (rs.msg.IHALT == 0 && rs.ctl.ICELL != 1) {
    io.err << "vorlane symmetry: the experiment file '" << o.exp_file << "' has no CELL card\n";
    run::close_run_files(rs.files);
    return 2;
  }
  if (rs.msg.IHALT == 0) input::READ_DATA(rs);
  run::close_run_files(rs.files);
  if (rs.msg.IHALT != 0) {
    io.out << "Space group not determinable: " << trimmed(rs.msg.ERRMSG) << "\n";
    return 1;
  }

  const std::vector<sa::Measurement> data = pipeline::measurements_as_read(rs);
  const sa::Analysis a = sa::analyse(data, pipeline::run_crystal(rs), {o.tolerance});
  std::string given = pipeline::given_space_group(rs);
  if (given.empty()) given = rs.ctl.space_group_name;

  io.out << sa::tables_text(a) << agreement(a, given, data, source);
  if (!o.json_file.empty()) {
    std::ofstream json(o.json_file, std::ios::binary);
    json << symmetry_json(a, given);
    json.close();
    if (!json) {
      io.err << "vorlane symmetry: cannot write '" << o.json_file << "'\n";
      return 2;
    }
  }
  return a.determinable ? 0 : 1;
}

}  // namespace vorlane::frontend
