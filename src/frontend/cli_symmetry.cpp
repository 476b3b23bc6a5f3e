#include "frontend/cli_symmetry.hpp"

#include <charconv>
#include <cmath>
#include <fstream>

#include <gemmi/symmetry.hpp>

#include "expfile/read_exp_file.hpp"
#include "frontend/run_file_checks.hpp"
#include "input/content_check.hpp"
#include "input/read_data.hpp"
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

// The experiment file's group as gemmi names it: the SPACEGROUP card's, or the group its
// SYMOP cards complete to; empty without symmetry cards or when gemmi's table lacks it.
std::string given_group(const run::RunState& rs) {
  if (!rs.ctl.space_group_name.empty()) {
    const gemmi::SpaceGroup* sg = gemmi::find_spacegroup_by_name(rs.ctl.space_group_name);
    return sg != nullptr ? sg->xhm() : rs.ctl.space_group_name;
  }
  const symmetry::SpaceGroup& g = rs.sg;
  if (g.NSYMOP <= 1 && g.NCENVEC <= 1 && g.ICENTRIC != 2) return {};
  gemmi::GroupOps ops;
  const auto den = [](float v) { return static_cast<int>(std::lround(v * gemmi::Op::DEN)); };
  for (int k = 0; k < g.NSYMOP; ++k) {
    gemmi::Op op;
    for (int r = 1; r <= 3; ++r) {
      for (int c = 1; c <= 3; ++c) op.rot[r - 1][c - 1] = den(symmetry::elem(g.SYMROT[static_cast<std::size_t>(k)], r, c));
      op.tran[r - 1] = den(g.SYMTRN[static_cast<std::size_t>(k)][static_cast<std::size_t>(r - 1)]);
    }
    ops.sym_ops.push_back(op.wrap());
  }
  for (int c = 0; c < g.NCENVEC; ++c) {
    gemmi::Op::Tran t;
    for (int r = 0; r < 3; ++r) t[static_cast<std::size_t>(r)] = den(g.CENVEC[static_cast<std::size_t>(c)][static_cast<std::size_t>(r)]);
    ops.cen_ops.push_back(t);
  }
  if (g.ICENTRIC == 2) ops.add_inversion();
  try {
    ops.add_missing_elements();
    const gemmi::SpaceGroup* sg = gemmi::find_spacegroup_by_ops(ops);
    return sg != nullptr ? sg->xhm() : std::string();
  } catch (const std::exception&) {
    return {};
  }
}

std::string agreement(const sa::Analysis& a, const std::string& given) {
  if (given.empty()) return "The experiment file gives no space group.\n";
  if (!a.determinable) return "The experiment file gives " + given + ".\n";
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

  std::vector<sa::Measurement> data;
  data.reserve(rs.refl.members.size());
  for (const run::Member& m : rs.refl.members)
    data.push_back({{m.hkl_read[0], m.hkl_read[1], m.hkl_read[2]}, m.FSQ, m.SIGFSQ});
  sa::Crystal crystal;
  for (std::size_t i = 0; i < 6; ++i) crystal.cell[i] = rs.ctl.CELLPAR[i];
  crystal.wavelength = rs.ctl.WAVE;
  const sa::Analysis a = sa::analyse(std::move(data), crystal, {o.tolerance});
  const std::string given = given_group(rs);

  io.out << sa::tables_text(a) << agreement(a, given);
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
