#include "frontend/cli_symmetry.hpp"

#include <charconv>
#include <cmath>
#include <fstream>

#include "expfile/read_exp_file.hpp"
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

const char* const USAGE = "Usage: vorlane symmetry [--json FILE] [--tolerance DEG] EXPFILE INFILE\n";

struct SymmetryOptions {
  std::string json_file, exp_file, input_file;
  double tolerance = 3.0;
  std::string error;
};

SymmetryOptions parse(const std::vector<std::string>& args) {
  SymmetryOptions o;
  std::vector<std::string> files;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--json" || a == "--tolerance") {
      if (i + 1 >= args.size()) {
        o.error = a + " needs a value";
        return o;
      }
      const std::string& v = args[++i];
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
    } else if (a.size() > 1 && a[0] == '-') {
      o.error = "unknown option '" + a + "'";
      return o;
    } else {
      files.push_back(a);
    }
  }
  if (files.size() != 2) {
    o.error = "give an experiment file and an input data file";
    return o;
  }
  o.exp_file = files[0];
  o.input_file = files[1];
  return o;
}

std::string trimmed(const std::string& s) {
  const auto e = s.find_last_not_of(' ');
  return e == std::string::npos ? std::string() : s.substr(0, e + 1);
}

std::string agreement(const sa::Analysis& a, const std::string& given,
                      const std::vector<sa::Measurement>& data) {
  if (given.empty()) return "The experiment file gives no space group.\n";
  if (!a.determinable) return "The experiment file gives " + given + ".\n";
  const sa::GivenGroupCheck check = sa::check_given_group(data, a, given);
  if (check.checked && check.contradicted) {
    std::string why;
    if (check.laue_probability < 0.05)
      why = "its Laue class has probability " + sa::fixed(check.laue_probability, 3);
    if (sa::absences_contradicted(check))
      why += (why.empty() ? "" : "; ") + std::to_string(check.n_absent_strong) + " of the " +
             std::to_string(check.n_absent) + " reflections it declares absent are above 3 sigma";
    return "The data contradict the experiment file's " + given + ": " + why + ".\n";
  }
  for (std::size_t i = 0; i < a.space_groups.rows.size(); ++i) {
    const sa::SpaceGroupRow& r = a.space_groups.rows[i];
    bool here = r.symbol == given;
    for (const std::string& t : r.ties) here = here || t == given;
    if (!here) continue;
    if (i == 0) return "The experiment file's " + given + " agrees with the suggestion.\n";
    return "The experiment file gives " + given + ", ranked " + std::to_string(i + 1) +
           " with probability " + sa::fixed(r.probability, 3) + ".\n";
  }
  return "The experiment file gives " + given + ", which is not among the candidates.\n";
}

}  // namespace

int run_symmetry_cli(const std::vector<std::string>& args, CliStreams io) {
  const SymmetryOptions o = parse(args);
  if (!o.error.empty()) {
    io.err << "vorlane symmetry: " << o.error << "\n" << USAGE;
    return 2;
  }
  for (const std::string* path : {&o.exp_file, &o.input_file}) {
    const std::string why = unreadable_reason(*path);
    if (!why.empty()) {
      io.err << "vorlane symmetry: cannot open '" << *path << "' (" << why << ")\n";
      return 2;
    }
  }
  run::RunState rs;
  const int infmt = run::format_from_name(run::base_name(o.input_file), run::INPUT);
  if (infmt < 0) {
    io.err << "vorlane symmetry: cannot tell the format of input data file '" << o.input_file
           << "' from its name (use .abs or .hkl)\n";
    return 2;
  }
  if (!run::open_run_file(rs.files, run::EXPERIMENT, o.exp_file) ||
      !run::open_run_file(rs.files, run::INPUT, o.input_file)) {
    io.err << "vorlane symmetry: cannot open the experiment file or the input data file\n";
    run::close_run_files(rs.files);
    return 2;
  }
  rs.files.INFMT = infmt;
  const std::string content = input::content_check_message(o.input_file, infmt);
  if (!content.empty()) {
    io.err << "vorlane symmetry: " << content << "\n";
    run::close_run_files(rs.files);
    return 1;
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

  io.out << sa::tables_text(a) << agreement(a, given, data);
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
