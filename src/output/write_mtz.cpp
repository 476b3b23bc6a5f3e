// gemmi's MTZ writing code lives in this one file of the program; it formats its header
// records with the standard snprintf (Debian's gemmi-dev does not ship the bundled stb header).
#define GEMMI_WRITE_IMPLEMENTATION
#define USE_STD_SNPRINTF
#include <gemmi/mtz.hpp>
#include <gemmi/symmetry.hpp>

#include "output/write_mtz.hpp"

#include <charconv>
#include <cmath>
#include <limits>
#include <map>
#include <system_error>
#include <vector>

namespace vorlane::output {
namespace {

// The operators of the run's table as gemmi operators (denominator 24), with the centring
// vectors and, for a centrosymmetric table, the inversion.
std::vector<gemmi::Op> run_operators(const symmetry::SpaceGroup& sg) {
  std::vector<gemmi::Op> ops;
  auto add = [&](const gemmi::Op& op) {
    gemmi::Op w = op;
    w.wrap();
    for (const gemmi::Op& o : ops)
      if (o == w) return;
    ops.push_back(w);
  };
  auto to24 = [](float v) { return static_cast<int>(std::lround(v * 24.0f)); };
  for (int k = 0; k < sg.NSYMOP; ++k) {
    const auto& r = sg.SYMROT[static_cast<std::size_t>(k)];
    const auto& t = sg.SYMTRN[static_cast<std::size_t>(k)];
    gemmi::Op op;
    for (int i = 1; i <= 3; ++i) {
      for (int j = 1; j <= 3; ++j) {
        // After SYMINV the table acts on indices as columns: the transposed position matrix.
        const float v = sg.IMATMODE == 2 ? symmetry::elem(r, j, i) : symmetry::elem(r, i, j);
        op.rot[i - 1][j - 1] = to24(v);
      }
      op.tran[i - 1] = to24(t[static_cast<std::size_t>(i - 1)]);
    }
    for (int c = 0; c < sg.NCENVEC; ++c) {
      gemmi::Op shifted = op;
      for (int i = 0; i < 3; ++i)
        shifted.tran[i] += to24(sg.CENVEC[static_cast<std::size_t>(c)][static_cast<std::size_t>(i)]);
      add(shifted);
      if (sg.ICENTRIC == 2) {
        gemmi::Op inverted = shifted;
        inverted.rot = shifted.negated_rot();
        for (int& shift : inverted.tran) shift = -shift;
        add(inverted);
      }
    }
  }
  return ops;
}

const gemmi::SpaceGroup* space_group_of(const run::RunState& rs) {
  if (!rs.ctl.space_group_name.empty()) {
    if (const gemmi::SpaceGroup* g = gemmi::find_spacegroup_by_name(rs.ctl.space_group_name))
      return g;
  }
  if (rs.ctl.space_group_number > 0) {
    if (const gemmi::SpaceGroup* g = gemmi::find_spacegroup_by_number(rs.ctl.space_group_number))
      return g;
  }
  try {
    const gemmi::GroupOps gops = gemmi::split_centering_vectors(run_operators(rs.sg));
    if (const gemmi::SpaceGroup* g = gemmi::find_spacegroup_by_ops(gops)) return g;
  } catch (const std::exception&) {
    // Operators gemmi cannot take: P 1 below.
  }
  return gemmi::find_spacegroup_by_name("P 1");
}

struct Record {
  gemmi::Op::Miller h;
  float i, sigma;
};

bool parse_records(std::string_view text, std::vector<Record>& records) {
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(pos, end - pos);
    pos = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.find_first_not_of(' ') == std::string_view::npos) continue;
    Record r{};
    for (int i = 0; i < 3; ++i) {
      std::string_view f = line.substr(static_cast<std::size_t>(4 * i), 4);
      const std::size_t b = f.find_first_not_of(' ');
      if (b == std::string_view::npos) return false;
      f.remove_prefix(b);
      const auto [p, ec] = std::from_chars(f.data(), f.data() + f.size(), r.h[i]);
      if (ec != std::errc() || p != f.data() + f.size()) return false;
    }
    if (r.h[0] == 0 && r.h[1] == 0 && r.h[2] == 0) break;
    std::string_view rest = line.size() > 12 ? line.substr(12) : std::string_view();
    float* values[2] = {&r.i, &r.sigma};
    for (float* v : values) {
      const std::size_t b = rest.find_first_not_of(' ');
      if (b == std::string_view::npos) return false;
      rest.remove_prefix(b);
      const auto [p, ec] = std::from_chars(rest.data(), rest.data() + rest.size(), *v);
      if (ec != std::errc()) return false;
      rest.remove_prefix(static_cast<std::size_t>(p - rest.data()));
    }
    records.push_back(r);
  }
  return true;
}

}  // namespace

std::string mtz_space_group(const run::RunState& rs) { return space_group_of(rs)->hm; }

std::string write_mtz(const run::RunState& rs, std::string_view shelx_records,
                      const std::filesystem::path& path) {
  std::vector<Record> records;
  if (!parse_records(shelx_records, records)) return "the averaged records could not be read back";
  const gemmi::SpaceGroup* sg = space_group_of(rs);
  const gemmi::GroupOps gops = sg->operations();
  const gemmi::ReciprocalAsu asu(sg);
  // Friedel mates kept apart (and an asymmetric unit to tell them by), or records of both
  // mates of one reflection (a run without an asymmetric unit averages nothing): I(+) and I(-).
  bool anomalous = rs.ctl.INOFLIP == 1 && rs.sg.NPLANE > 0;
  {
    std::map<gemmi::Op::Miller, int> signs;  // bit 0: I(+) met, bit 1: I(-) met
    for (const Record& r : records) {
      const auto [h, isym] = asu.to_asu(r.h, gops);
      signs[h] |= isym % 2 == 0 ? 2 : 1;
    }
    for (const auto& [h, met] : signs) anomalous = anomalous || met == 3;
  }
  const float nan = std::numeric_limits<float>::quiet_NaN();

  gemmi::Mtz mtz(true);
  mtz.title = "VORLANE averaged reflections";
  mtz.spacegroup = sg;
  const auto& c = rs.ctl.CELLPAR;
  gemmi::UnitCell cell;
  if (rs.ctl.ICELL == 1) cell.set(c[0], c[1], c[2], c[3], c[4], c[5]);
  mtz.set_cell_for_all(cell);
  gemmi::Mtz::Dataset& ds = mtz.add_dataset("vorlane");
  ds.project_name = "vorlane";
  ds.crystal_name = "crystal";
  ds.wavelength = rs.ctl.WAVE;
  const char* labels[4][2] = {{"IMEAN", "J"}, {"SIGIMEAN", "Q"}, {"", ""}, {"", ""}};
  if (anomalous) {
    labels[0][0] = "I(+)", labels[0][1] = "K";
    labels[1][0] = "SIGI(+)", labels[1][1] = "M";
    labels[2][0] = "I(-)", labels[2][1] = "K";
    labels[3][0] = "SIGI(-)", labels[3][1] = "M";
  }
  const int ncolumns = anomalous ? 4 : 2;
  for (int i = 0; i < ncolumns; ++i) mtz.add_column(labels[i][0], labels[i][1][0], -1, -1, false);

  // One row per asymmetric-unit reflection, in the order of first appearance.
  std::map<gemmi::Op::Miller, std::size_t> row_of;
  std::vector<float> data;
  const std::size_t width = 3 + static_cast<std::size_t>(ncolumns);
  for (const Record& r : records) {
    const auto [h, isym] = asu.to_asu(r.h, gops);
    auto [it, fresh] = row_of.emplace(h, data.size() / width);
    if (fresh) {
      data.insert(data.end(), {static_cast<float>(h[0]), static_cast<float>(h[1]),
                               static_cast<float>(h[2])});
      data.insert(data.end(), static_cast<std::size_t>(ncolumns), nan);
    }
    float* row = &data[it->second * width];
    const std::size_t at = anomalous && isym % 2 == 0 ? 5 : 3;  // an even ISYM: the Friedel mate
    if (!std::isnan(row[at])) {
      return "two records are the reflection " + std::to_string(h[0]) + " " +
             std::to_string(h[1]) + " " + std::to_string(h[2]) + " of " + sg->hm;
    }
    row[at] = r.i;
    row[at + 1] = r.sigma;
  }
  mtz.set_data(data.data(), data.size());
  mtz.sort();
  mtz.history.push_back("From VORLANE: averaged reflections");
  std::filesystem::path temp = path;
  temp += ".vorlane-tmp";
  try {
    mtz.write_to_file(temp.string());
  } catch (const std::exception& e) {
    std::error_code ec;
    std::filesystem::remove(temp, ec);
    return e.what();
  }
  std::error_code ec;
  std::filesystem::rename(temp, path, ec);
  if (ec) {
    std::filesystem::remove(temp, ec);
    return "cannot replace " + path.string();
  }
  return {};
}

}  // namespace vorlane::output
