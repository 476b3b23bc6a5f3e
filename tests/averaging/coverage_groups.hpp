#pragma once
// The space groups, Laue classes and reference counts of tests/data/coverage (written by
// tools/gemmi/coverage_reference.py from gemmi's tables), and the run state they stand for.
#include <array>
#include <cmath>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "expfile/run_controls.hpp"
#include "records/print_file.hpp"
#include "symmetry/cell_table.hpp"
#include "symmetry/recell.hpp"
#include "symmetry/space_group.hpp"
#include "symmetry/syminv.hpp"

namespace vorlane::testing {

struct GroupRow {
  int number = 0;
  std::string name;
  int laue_row = 0;
  std::array<float, 6> cell{};
  std::vector<std::string> cards;             // coordinate triplets, centring included
  std::vector<std::array<int, 12>> ops;       // rotation rows, then translation in 24ths
  std::vector<std::array<int, 3>> centring;   // in 24ths, (0,0,0) first
  std::vector<std::array<int, 4>> planes;     // the Laue class's asymmetric unit
};

struct CountRow {
  int number = 0;
  float wave = 0.0f;
  float tth = 0.0f;
  int friedel_merged = 0;
  int point_group = 0;
};

struct LaueRow {
  int row = 0;
  std::string symbol;
  GroupRow group;  // the class's operators (no translations) and planes
  std::array<float, 6> cell{};
  float wave = 0.0f;
  float tth = 0.0f;
  int count = 0;
};

inline std::vector<std::string> split(const std::string& text, char sep) {
  std::vector<std::string> parts;
  std::string cur;
  std::istringstream ss(text);
  while (std::getline(ss, cur, sep)) parts.push_back(cur);
  return parts;
}

template <class T, std::size_t N>
std::array<T, N> numbers(const std::string& text) {
  std::istringstream ss(text);
  std::array<T, N> out{};
  for (auto& v : out) {
    if (!(ss >> v)) throw std::runtime_error("bad numbers: " + text);
  }
  return out;
}

inline std::vector<std::vector<std::string>> read_tsv(const std::string& name) {
  std::ifstream in(std::string(VORLANE_TEST_DATA) + "/coverage/" + name);
  if (!in) throw std::runtime_error("cannot read " + name);
  std::vector<std::vector<std::string>> rows;
  std::string line;
  std::getline(in, line);  // column names
  while (std::getline(in, line)) {
    if (!line.empty()) rows.push_back(split(line, '\t'));
  }
  return rows;
}

inline std::vector<GroupRow> read_space_groups() {
  std::vector<GroupRow> groups;
  for (const auto& f : read_tsv("space_groups.tsv")) {
    GroupRow g;
    g.number = std::stoi(f.at(0));
    g.name = f.at(1);
    g.laue_row = std::stoi(f.at(2));
    g.cell = numbers<float, 6>(f.at(3));
    g.cards = split(f.at(4), ';');
    for (const auto& op : split(f.at(5), ';')) g.ops.push_back(numbers<int, 12>(op));
    for (const auto& c : split(f.at(6), ';')) g.centring.push_back(numbers<int, 3>(c));
    for (const auto& p : split(f.at(7), ';')) g.planes.push_back(numbers<int, 4>(p));
    groups.push_back(g);
  }
  return groups;
}

inline std::vector<CountRow> read_counts() {
  std::vector<CountRow> counts;
  for (const auto& f : read_tsv("space_group_counts.tsv")) {
    counts.push_back(CountRow{std::stoi(f.at(0)), std::stof(f.at(1)), std::stof(f.at(2)),
                              std::stoi(f.at(3)), std::stoi(f.at(4))});
  }
  return counts;
}

inline std::vector<LaueRow> read_laue_classes() {
  std::vector<LaueRow> rows;
  for (const auto& f : read_tsv("laue_classes.tsv")) {
    LaueRow r;
    r.row = std::stoi(f.at(0));
    r.symbol = f.at(1);
    r.group.name = "LAUE " + f.at(1);
    r.cell = numbers<float, 6>(f.at(3));
    r.wave = std::stof(f.at(4));
    r.tth = std::stof(f.at(5));
    r.count = std::stoi(f.at(6));
    for (const auto& p : split(f.at(7), ';')) r.group.planes.push_back(numbers<int, 4>(p));
    for (const auto& op : split(f.at(8), ';')) r.group.ops.push_back(numbers<int, 12>(op));
    r.group.centring = {{0, 0, 0}};
    rows.push_back(r);
  }
  return rows;
}

// pi/180 in single precision, as the run converts the angles of the CELL card.
inline constexpr float DEGRAD = 0.017453292f;

// The cell as the run sets it up from a CELL card: real lattice from the constants (angles
// through DEGRAD), then the reciprocal lattice by RECELL.
inline void set_cell(expfile::RunControls& ctl, symmetry::CellTable& ct,
                     const std::array<float, 6>& cell, float wave) {
  ctl.ICELL = 1;
  ctl.WAVE = wave;
  for (std::size_t i = 0; i < 6; ++i) ctl.CELLPAR[i] = cell[i];
  ct = symmetry::CellTable{};
  for (int i = 1; i <= 3; ++i) {
    const float angle = cell[static_cast<std::size_t>(i + 2)] * DEGRAD;
    ct.at(i, symmetry::CELL_SIDE, symmetry::REAL_SPACE) = cell[static_cast<std::size_t>(i - 1)];
    ct.at(i, symmetry::CELL_COS, symmetry::REAL_SPACE) = std::cos(angle);
    ct.at(i, symmetry::CELL_SIN, symmetry::REAL_SPACE) = std::sin(angle);
  }
  records::PrintFile nowhere;
  symmetry::RECELL(ct, 2, nowhere);
}

inline void set_planes(symmetry::SpaceGroup& sg, const std::vector<std::array<int, 4>>& planes) {
  sg.NPLANE = static_cast<int>(planes.size());
  for (std::size_t j = 0; j < planes.size(); ++j) sg.IPLANE[j] = planes[j];
}

// The group as the symmetry cards leave it, filled in directly from its operators (position
// form; centring as vectors; ICENTRIC = 2 when the inversion lies at the origin, as the
// pairing of the operators finds it), then turned into the reflection form as the run does.
inline symmetry::SpaceGroup group_from_ops(const GroupRow& g) {
  symmetry::SpaceGroup sg;
  sg.NSYMOP = static_cast<int>(g.ops.size());
  bool inversion_at_origin = false;
  for (std::size_t n = 0; n < g.ops.size(); ++n) {
    const auto& op = g.ops[n];
    for (int row = 1; row <= 3; ++row) {
      for (int col = 1; col <= 3; ++col) {
        symmetry::elem(sg.SYMROT[n], row, col) =
            static_cast<float>(op[static_cast<std::size_t>((row - 1) * 3 + col - 1)]);
      }
      sg.SYMTRN[n][static_cast<std::size_t>(row - 1)] =
          static_cast<float>(op[static_cast<std::size_t>(8 + row)]) / 24.0f;
    }
    bool minus_identity = true;
    for (int i = 0; i < 9; ++i) minus_identity = minus_identity && op[static_cast<std::size_t>(i)] == (i % 4 == 0 ? -1 : 0);
    if (minus_identity) {
      for (const auto& c : g.centring) {
        bool zero = true;
        for (std::size_t i = 0; i < 3; ++i) zero = zero && (op[9 + i] + c[i]) % 24 == 0;
        inversion_at_origin = inversion_at_origin || zero;
      }
    }
  }
  sg.ICENTRIC = inversion_at_origin ? 2 : 1;
  sg.NCENVEC = static_cast<int>(g.centring.size());
  for (std::size_t c = 0; c < g.centring.size(); ++c) {
    for (std::size_t i = 0; i < 3; ++i) sg.CENVEC[c][i] = static_cast<float>(g.centring[c][i]) / 24.0f;
  }
  set_planes(sg, g.planes);
  records::PrintFile nowhere;
  symmetry::SYMINV(sg, 2, nowhere);
  return sg;
}

}  // namespace vorlane::testing
