#include "frontend/experiment_text.hpp"

#include <gemmi/symmetry.hpp>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <sstream>
#include <string_view>

namespace vorlane::frontend {
namespace {

constexpr const char* CELL_NAMES[6] = {"a", "b", "c", "alpha", "beta", "gamma"};

std::string upper(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return s;
}

std::string trimmed(const std::string& s) {
  const std::size_t b = s.find_first_not_of(' ');
  if (b == std::string::npos) return {};
  return s.substr(b, s.find_last_not_of(' ') + 1 - b);
}

// The header's space group as a SPACEGROUP card would give it: its symbol, else its number.
std::string header_group(const input::FileHeader& h) {
  if (!h.space_group.empty()) return h.space_group;
  if (h.space_group_number > 0) return std::to_string(h.space_group_number);
  return {};
}

// The number of a space group given as a symbol or number; 0 when gemmi does not know it.
int group_number(const std::string& text) {
  int n = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
  if (ec == std::errc() && end == text.data() + text.size()) return n >= 1 && n <= 230 ? n : 0;
  const gemmi::SpaceGroup* g = gemmi::find_spacegroup_by_name(text);
  return g != nullptr ? g->number : 0;
}

int header_group_number(const input::FileHeader& h) {
  if (!h.space_group.empty()) {
    const int n = group_number(h.space_group);
    if (n != 0) return n;
  }
  return h.space_group_number;
}

// Real numbers of a card's text, with half a unit of their last decimal.
std::vector<input::HeaderValue> card_values(std::string_view text) {
  std::vector<input::HeaderValue> values;
  std::string t(text);
  std::replace(t.begin(), t.end(), ',', ' ');
  std::istringstream words(t);
  std::string w;
  while (words >> w) {
    double v = 0.0;
    const auto [end, ec] = std::from_chars(w.data(), w.data() + w.size(), v);
    if (ec != std::errc() || end != w.data() + w.size()) break;
    const std::size_t dot = w.find('.');
    const int decimals = dot == std::string::npos ? 0 : static_cast<int>(w.size() - dot - 1);
    values.push_back({v, 0.5 * std::pow(10.0, -decimals)});
  }
  return values;
}

bool differ(const input::HeaderValue& card, const input::HeaderValue& file) {
  return std::fabs(card.value - file.value) > card.precision + file.precision;
}

std::string cell_card(const std::array<double, 6>& c) {
  std::string card = "CELL ";
  for (double v : c) card += " " + card_number(v);
  return card;
}

std::array<double, 6> cell_values(const std::array<input::HeaderValue, 6>& c) {
  std::array<double, 6> v{};
  for (std::size_t i = 0; i < 6; ++i) v[i] = c[i].value;
  return v;
}

}  // namespace

std::string card_number(double v) {
  char buf[64];
  auto r = std::to_chars(buf, buf + sizeof buf, v);
  std::string s(buf, r.ptr);
  if (s.size() > 10) {
    r = std::to_chars(buf, buf + sizeof buf, static_cast<float>(v));
    s.assign(buf, r.ptr);
  }
  return s;
}

ExperimentText experiment_text(const RunSettings& settings, const input::FileHeader* header,
                               const std::string& header_name, const std::string& title,
                               bool space_group_needed) {
  ExperimentText e;
  std::string& t = e.text;
  std::string shown = title.substr(0, 73);
  for (char& c : shown) {
    if (static_cast<unsigned char>(c) < 0x20) c = ' ';  // one line whatever the file's name
  }
  t += "TITLE  " + shown + "\n";
  if (settings.cell) {
    t += cell_card(*settings.cell) + "\n";
    e.sources.cell = "the option --cell";
  } else if (header != nullptr && header->cell) {
    t += cell_card(cell_values(*header->cell)) + "\n";
    e.sources.cell = header_name;
  } else {
    e.error = "no cell: give --cell a b c alpha beta gamma" +
              std::string(header != nullptr ? " (" + header_name + " gives none)" : "");
    return e;
  }
  if (settings.wavelength) {
    t += "WAVEL 1 " + card_number(*settings.wavelength) + "\n";
    e.sources.wavelength = "the option --wavelength";
  } else if (header != nullptr && header->wavelength) {
    t += "WAVEL 1 " + card_number(header->wavelength->value) + "\n";
    e.sources.wavelength = header_name;
  } else {
    e.error = "no wavelength: give --wavelength (in Angstrom, or Mo, Cu, Ag)" +
              std::string(header != nullptr ? " (" + header_name + " gives none)" : "");
    return e;
  }
  if (!settings.space_group.empty()) {
    t += "VORLAN SPACEGROUP " + settings.space_group + "\n";
    e.sources.symmetry = "the option --spacegroup";
  } else if (header != nullptr && !header_group(*header).empty()) {
    t += "VORLAN SPACEGROUP " + header_group(*header) + "\n";
    e.sources.symmetry = header_name;
  } else if (space_group_needed) {
    e.error = "no space group: give --spacegroup SYMBOL|NUMBER, or --spacegroup auto" +
              std::string(header != nullptr ? " (" + header_name + " gives none)" : "");
    return e;
  }
  if (header != nullptr && header->friedel_law == false) {
    t += "VORLAN FRIEDEL NOFLIP\n";
    e.notes.push_back("Friedel mates kept apart: " +
                      header_name.substr(0, header_name.find(" of ")) + " says FRIEDEL'S_LAW=FALSE");
  }
  if (settings.no_rejection) t += "VORLAN OUTLIER NONE\n";
  if (settings.less_than) t += "VORLAN LESSTHAN " + card_number(*settings.less_than) + "\n";
  if (settings.twotheta_min) t += "VORLAN 2THETA MIN " + card_number(*settings.twotheta_min) + "\n";
  if (settings.twotheta_max) t += "VORLAN 2THETA MAX " + card_number(*settings.twotheta_max) + "\n";
  return e;
}

ExperimentText completed_experiment_text(const std::string& exp_text,
                                         const input::FileHeader& header,
                                         const std::string& header_name) {
  ExperimentText e;
  // Warnings have 100 columns: they name the header's kind, the summary names its file.
  const std::string kind = header_name.substr(0, header_name.find(" of "));
  e.text = exp_text;
  if (!e.text.empty() && e.text.back() != '\n') e.text += '\n';
  bool has_cell = false, has_wave = false, has_symmetry = false, has_noflip = false;
  std::istringstream lines(exp_text);
  std::string line;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::string card = upper(line);
    if (card.rfind("CELL", 0) == 0) {
      has_cell = true;
      const auto v = card_values(std::string_view(card).substr(std::min<std::size_t>(6, card.size())));
      if (header.cell && v.size() >= 6) {
        for (std::size_t i = 0; i < 6; ++i) {
          if (differ(v[i], (*header.cell)[i])) {
            e.notes.push_back("CELL card and " + kind + " differ (" + CELL_NAMES[i] + " " +
                              card_number(v[i].value) + " against " +
                              card_number((*header.cell)[i].value) + "): the CELL card is used");
            break;
          }
        }
      }
    } else if (card.rfind("WAVEL ", 0) == 0) {
      has_wave = true;
      const auto v = card_values(std::string_view(card).substr(6));
      if (header.wavelength && v.size() >= 2 && differ(v[1], *header.wavelength)) {
        e.notes.push_back("WAVEL card and " + kind + " differ (" + card_number(v[1].value) +
                          " against " + card_number(header.wavelength->value) +
                          " A): the WAVEL card is used");
      }
    } else if (card.rfind("VORLAN", 0) == 0) {
      for (const char* k : {"SPACEGROUP", "SYMOP", "UNITIN", "LAUE"}) {
        if (card.find(k) != std::string::npos) has_symmetry = true;
      }
      if (card.find("FRIEDEL") != std::string::npos && card.find("NOFLIP") != std::string::npos) {
        has_noflip = true;
      }
      const std::size_t sg = card.find("SPACEGROUP");
      if (sg != std::string::npos) {
        const int card_no = group_number(trimmed(line.substr(sg + 10)));
        const int file_no = header_group_number(header);
        if (card_no != 0 && file_no != 0 && card_no != file_no) {
          e.notes.push_back("SPACEGROUP card (No. " + std::to_string(card_no) + ") and " + kind +
                            " (No. " + std::to_string(file_no) + ") differ: the card is used");
        }
      }
    }
  }
  if (!has_cell && header.cell) {
    e.text += cell_card(cell_values(*header.cell)) + "\n";
    e.sources.cell = header_name;
  }
  if (!has_wave && header.wavelength) {
    e.text += "WAVEL 1 " + card_number(header.wavelength->value) + "\n";
    e.sources.wavelength = header_name;
  }
  if (!has_symmetry && !header_group(header).empty()) {
    e.text += "VORLAN SPACEGROUP " + header_group(header) + "\n";
    e.sources.symmetry = header_name;
  }
  if (!has_noflip && header.friedel_law == false) {
    e.text += "VORLAN FRIEDEL NOFLIP\n";
    e.notes.push_back("Friedel mates kept apart: " + kind + " says FRIEDEL'S_LAW=FALSE");
  }
  return e;
}

}  // namespace vorlane::frontend
