#pragma once
// Helpers for the symmetry-card tests: cards, a print file in memory, the reference data.
#include <algorithm>
#include <array>
#include <cctype>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "expfile/symmetry_cards.hpp"
#include "records/print_file.hpp"

namespace vorlane::expfile::symtest {

struct MemoryPrint {
  std::ostringstream out;
  records::PrintFile prt{out};
  std::vector<std::string> lines() const {
    std::vector<std::string> v;
    std::istringstream in(out.str());
    for (std::string line; std::getline(in, line);) v.push_back(line);
    return v;
  }
};

inline std::string blanks(int n) { return std::string(static_cast<std::size_t>(n), ' '); }

// An 80-column card "VORLAN <keyword> <text>" in upper case; `column` receives the column
// right after the keyword.
inline std::string card(const std::string& keyword, const std::string& text, int& column) {
  std::string c = "VORLAN " + keyword;
  column = static_cast<int>(c.size()) + 1;
  c += text;
  std::transform(c.begin(), c.end(), c.begin(),
                 [](unsigned char ch) { return static_cast<char>(std::toupper(ch)); });
  c.resize(80, ' ');
  return c;
}

inline void symop(symmetry::SpaceGroup& sg, const std::string& triplet) {
  int column = 0;
  const std::string c = card("SYMOP", " " + triplet, column);
  int error = 0;
  READ_SYMM(sg, c, 80, column, error);
}

// UNITIN with the four numbers right-aligned in their five-column fields.
inline int unitin(symmetry::SpaceGroup& sg, std::array<int, 4> p) {
  std::string fields;
  for (int v : p) {
    std::string s = std::to_string(v);
    fields += blanks(5 - static_cast<int>(s.size())) + s;
  }
  int column = 0;
  const std::string c = card("UNITIN", fields, column);
  int error = 0;
  READ_UNITIN(sg, c, 80, column, error);
  return error;
}

// One space group of the reference file.
struct ReferenceGroup {
  int number = 0;
  std::string name;
  int order = 0;
  int centric = 0;
  int laue = 0;
  std::vector<std::string> ops;
  std::string absent_hex;  // most significant digit first
  // Bit i of the absence map (triples h, k, l = -8..8, l fastest).
  bool absent(std::size_t i) const {
    const std::size_t digit = i / 4;
    if (digit >= absent_hex.size()) return false;
    const char ch = absent_hex[absent_hex.size() - 1 - digit];
    const int v = ch <= '9' ? ch - '0' : ch - 'a' + 10;
    return ((v >> (i % 4)) & 1) != 0;
  }
};

inline std::vector<ReferenceGroup> read_reference_groups(const std::string& path) {
  std::ifstream in(path);
  if (!in) throw std::runtime_error("cannot read " + path);
  std::vector<ReferenceGroup> groups;
  for (std::string line; std::getline(in, line);) {
    std::istringstream ls(line);
    std::string tag;
    ls >> tag;
    if (tag == "group") {
      ReferenceGroup g;
      std::string w;
      ls >> g.number >> g.name >> w >> g.order >> w >> g.centric >> w >> g.laue;
      groups.push_back(g);
    } else if (tag == "ops") {
      for (std::string op; ls >> op;) groups.back().ops.push_back(op);
    } else if (tag == "absent") {
      ls >> groups.back().absent_hex;
    }
  }
  return groups;
}

// Orbit labels of the 12 Laue classes, index = row - 1.
inline std::vector<std::vector<int>> read_laue_orbits(const std::string& path) {
  std::ifstream in(path);
  if (!in) throw std::runtime_error("cannot read " + path);
  std::vector<std::vector<int>> rows(12);
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream ls(line);
    int row = 0;
    std::string symbol;
    ls >> row >> symbol;
    for (int v; ls >> v;) rows.at(static_cast<std::size_t>(row - 1)).push_back(v);
  }
  return rows;
}

constexpr int BOX = 8;
constexpr int SIDE = 2 * BOX + 1;
inline std::array<int, 3> triple(std::size_t i) {
  const int n = static_cast<int>(i);
  return {n / (SIDE * SIDE) - BOX, (n / SIDE) % SIDE - BOX, n % SIDE - BOX};
}

}  // namespace vorlane::expfile::symtest
