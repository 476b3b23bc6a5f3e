#include "input/read_reflection_cif.hpp"

#include <gemmi/cif.hpp>

#include <algorithm>
#include <cmath>
#include <map>

#include "input/text_numbers.hpp"

namespace vorlane::input {
namespace {

namespace cif = gemmi::cif;

// A CIF number without its standard uncertainty in brackets.
std::string_view without_su(std::string_view v) {
  const std::size_t b = v.find('(');
  return b == std::string_view::npos ? v : v.substr(0, b);
}

const std::string* first_value(cif::Block& block, std::initializer_list<const char*> tags) {
  for (const char* tag : tags) {
    if (const std::string* v = block.find_value(tag)) {
      if (!cif::is_null(*v)) return v;
    }
  }
  return nullptr;
}

// The loop of reflections: which tags were found, in which spelling.
struct ReflectionLoop {
  std::string prefix;      // "_diffrn_refln." or "_diffrn_refln_" (or the _refln ones)
  bool merged = false;
};

class CifReader {
 public:
  CifReader(std::string_view text, const std::string& file) : text_(text), file_(file) {}
  IntegrationData read();

 private:
  [[noreturn]] void fail(const std::string& what) const {
    throw IntegrationReadError("CIF file " + file_ + ": " + what);
  }
  void read_header(cif::Block& block);
  void read_loop(cif::Block& block, const ReflectionLoop& loop);

  std::string_view text_;
  const std::string& file_;
  IntegrationData data_;
};

void CifReader::read_header(cif::Block& block) {
  static const char* const CELL_TAGS[6][2] = {
      {"_cell.length_a", "_cell_length_a"},       {"_cell.length_b", "_cell_length_b"},
      {"_cell.length_c", "_cell_length_c"},       {"_cell.angle_alpha", "_cell_angle_alpha"},
      {"_cell.angle_beta", "_cell_angle_beta"},   {"_cell.angle_gamma", "_cell_angle_gamma"}};
  std::array<HeaderValue, 6> cell{};
  int found = 0;
  for (int i = 0; i < 6; ++i) {
    const std::string* v = first_value(block, {CELL_TAGS[i][0], CELL_TAGS[i][1]});
    if (v == nullptr) continue;
    if (!parse_header_value(without_su(*v), cell[static_cast<std::size_t>(i)]) ||
        !(cell[static_cast<std::size_t>(i)].value > 0.0)) {
      fail(std::string(CELL_TAGS[i][1]) + " '" + *v + "' is not a cell constant");
    }
    ++found;
  }
  if (found == 6) data_.header.cell = cell;
  else if (found > 0) data_.warnings.push_back("CIF file " + file_ + " gives only " + std::to_string(found) + " of the six cell constants; its cell is not taken");

  if (const std::string* v = first_value(block, {"_diffrn_radiation_wavelength.wavelength",
                                                 "_diffrn_radiation_wavelength"})) {
    HeaderValue w;
    if (!parse_header_value(without_su(*v), w) || !(w.value > 0.0)) {
      fail("the wavelength '" + *v + "' is not a number above 0");
    }
    data_.header.wavelength = w;
  }
  if (const std::string* v = first_value(block, {"_space_group.name_H-M_alt",
                                                 "_symmetry.space_group_name_H-M",
                                                 "_space_group_name_H-M_alt",
                                                 "_symmetry_space_group_name_H-M"})) {
    // A symbol goes onto a SPACEGROUP card: one short line of printable text.
    const std::string symbol = cif::as_string(*v);
    const bool printable = std::all_of(symbol.begin(), symbol.end(), [](char c) {
      return static_cast<unsigned char>(c) >= 0x20 && static_cast<unsigned char>(c) < 0x7F;
    });
    if (printable && !symbol.empty() && symbol.size() <= 40) {
      data_.header.space_group = symbol;
    } else {
      data_.warnings.push_back("CIF file " + file_ + ": its space-group symbol is not a symbol");
    }
  }
  if (const std::string* v = first_value(block, {"_space_group.IT_number",
                                                 "_symmetry.Int_Tables_number",
                                                 "_space_group_IT_number",
                                                 "_symmetry_Int_Tables_number"})) {
    int n = 0;
    if (parse_whole(*v, n) && n >= 1 && n <= 230) data_.header.space_group_number = n;
    else fail("the space-group number '" + *v + "' is not a number from 1 to 230");
  }
}

void CifReader::read_loop(cif::Block& block, const ReflectionLoop& loop) {
  const std::string& p = loop.prefix;
  const std::string category = p.substr(0, p.size() - 1);
  std::vector<std::string> tags = {"index_h", "index_k", "index_l"};
  if (loop.merged) {
    tags.insert(tags.end(), {"?intensity_meas", "?intensity_sigma", "?F_squared_meas",
                             "?F_squared_sigma"});
  } else {
    tags.insert(tags.end(), {"intensity_net", "?intensity_u", "?intensity_sigma",
                             "?scale_group_code"});
  }
  cif::Table t = block.find(p, tags);
  if (!t.ok()) {
    fail("the items " + p + "index_h, index_k, index_l" +
         (loop.merged ? std::string() : ", intensity_net") + " are not in one loop");
  }
  int ci = 3, cs = 4;
  if (loop.merged) {
    if (t.has_column(3) && t.has_column(4)) {
      ci = 3, cs = 4;
    } else if (t.has_column(5) && t.has_column(6)) {
      ci = 5, cs = 6;
    } else {
      fail("the " + category + " loop has no intensity_meas with intensity_sigma, nor "
           "F_squared_meas with F_squared_sigma");
    }
  } else {
    cs = t.has_column(4) ? 4 : 5;
  }
  const bool has_group = !loop.merged && t.has_column(6);
  bool groups_numeric = true;
  std::vector<std::string> group_of_row;
  long long unknown = 0, negative = 0, zero = 0;
  // The full tag of column c, for messages.
  auto tag = [&](int c) {
    const std::string& name = tags[static_cast<std::size_t>(c)];
    return p + (name[0] == '?' ? name.substr(1) : name);
  };
  const std::string ti = tag(ci);
  const std::string ts = tag(cs);
  for (std::size_t r = 0; r < t.length(); ++r) {
    cif::Table::Row row = t[static_cast<int>(r)];
    const std::string where = "row " + std::to_string(r + 1) + " of the " + category + " loop, ";
    IntegrationMeasurement m;
    for (int i = 0; i < 3; ++i) {
      const std::string& v = row[static_cast<std::size_t>(i)];
      if (!parse_whole(v, m.h[static_cast<std::size_t>(i)]) ||
          std::abs(m.h[static_cast<std::size_t>(i)]) > 999) {
        fail(where + tag(i) + ": '" + v +
             "' is not a whole number from -999 to 999");
      }
    }
    const std::string& vi = row[static_cast<std::size_t>(ci)];
    const std::string& vs = row[static_cast<std::size_t>(cs)];
    if (cif::is_null(vi) || cif::is_null(vs)) {
      ++unknown;
      continue;
    }
    if (!parse_real(without_su(vi), m.intensity)) fail(where + ti + ": '" + vi + "' is not a number");
    if (!parse_real(without_su(vs), m.sigma)) fail(where + ts + ": '" + vs + "' is not a number");
    if (m.sigma < 0.0) {
      ++negative;
      continue;
    }
    if (m.h[0] == 0 && m.h[1] == 0 && m.h[2] == 0) {
      ++zero;
      continue;
    }
    m.batch = 1;
    if (has_group) {
      const std::string code = cif::as_string(row[6]);
      int n = 0;
      if (!parse_whole(code, n)) groups_numeric = false;
      group_of_row.push_back(code);
      m.batch = n;
    }
    data_.measurements.push_back(m);
  }
  // Scale groups named by words are numbered in order of first appearance.
  if (has_group && !groups_numeric) {
    std::map<std::string, int> order;
    for (const std::string& code : group_of_row) order.emplace(code, static_cast<int>(order.size()) + 1);
    for (std::size_t i = 0; i < group_of_row.size(); ++i) {
      data_.measurements[i].batch = order[group_of_row[i]];
    }
    data_.warnings.push_back("Scale groups of CIF file " + file_ + " numbered 1 to " +
                             std::to_string(order.size()) + " in order of appearance");
  }
  if (unknown > 0) data_.warnings.push_back(std::to_string(unknown) + " rows of CIF file " + file_ + " without intensity or sigma left out");
  if (negative > 0) data_.warnings.push_back(std::to_string(negative) + " rows of CIF file " + file_ + " with a negative sigma left out");
  if (zero > 0) data_.warnings.push_back(std::to_string(zero) + " rows of CIF file " + file_ + " with indices 0 0 0 left out");
}

IntegrationData CifReader::read() {
  cif::Document doc;
  try {
    doc = cif::read_memory(text_.data(), text_.size(), file_.c_str());
  } catch (const std::exception& e) {
    // The parser's message gives the line and column.
    throw IntegrationReadError(std::string("CIF file ") + file_ + " cannot be read: " + e.what());
  }
  // The loop of unmerged measurements wins over one of merged reflections.
  const ReflectionLoop kinds[] = {{"_diffrn_refln.", false}, {"_diffrn_refln_", false},
                                  {"_refln.", true},         {"_refln_", true}};
  for (const ReflectionLoop& kind : kinds) {
    for (cif::Block& block : doc.blocks) {
      if (block.find_values(kind.prefix + "index_h").item() == nullptr) continue;
      // A _diffrn_refln loop without its intensity is an error, not a reason to look on.
      if (!kind.merged) {
        for (const char* needed : {"index_k", "index_l", "intensity_net"}) {
          if (block.find_values(kind.prefix + needed).item() == nullptr) {
            fail("the " + kind.prefix.substr(0, kind.prefix.size() - 1) + " loop of block " +
                 block.name + " has no " + kind.prefix + needed);
          }
        }
        if (block.find_values(kind.prefix + "intensity_u").item() == nullptr &&
            block.find_values(kind.prefix + "intensity_sigma").item() == nullptr) {
          fail("the " + kind.prefix.substr(0, kind.prefix.size() - 1) + " loop of block " +
               block.name + " has neither " + kind.prefix + "intensity_u nor " + kind.prefix +
               "intensity_sigma");
        }
      } else {
        for (const char* needed : {"index_k", "index_l"}) {
          if (block.find_values(kind.prefix + needed).item() == nullptr) {
            fail("the " + kind.prefix.substr(0, kind.prefix.size() - 1) + " loop of block " +
                 block.name + " has no " + kind.prefix + needed);
          }
        }
      }
      data_.format_name = kind.prefix.back() == '.' ? "mmCIF" : "core CIF";
      data_.merged = kind.merged;
      read_header(block);
      read_loop(block, kind);
      if (data_.measurements.empty()) fail("its reflection loop holds no usable reflection");
      fit_batches_to_four_columns(data_, file_);
      if (data_.merged) {
        data_.warnings.push_back("CIF file " + file_ + " holds merged reflections (" +
                                 kind.prefix + " loop), not measurements: the data are already merged");
      }
      return std::move(data_);
    }
  }
  fail("no block holds a _diffrn_refln loop (index_h, index_k, index_l, intensity_net with "
       "intensity_u or intensity_sigma) nor a _refln loop of intensities");
}

}  // namespace

IntegrationData read_reflection_cif(std::string_view text, const std::string& file) {
  return CifReader(text, file).read();
}

bool looks_like_reflection_cif(std::string_view text) {
  const std::string_view head = text.substr(0, 65536);
  return head.find("_diffrn_refln") != std::string_view::npos ||
         head.find("_refln.") != std::string_view::npos ||
         head.find("_refln_index_h") != std::string_view::npos;
}

}  // namespace vorlane::input
