// The JSON form of the symmetry analysis.
#include <cmath>

#include <nlohmann/json.hpp>

#include "frontend/cli_symmetry.hpp"

namespace vorlane::frontend {
namespace {

namespace sa = symmetry_analysis;

// Rounded to four significant digits: the integer of digits divided by an exact power of ten
// gives the double nearest the decimal, which prints as that decimal.
double four_digits(double v) {
  if (v == 0.0 || !std::isfinite(v)) return 0.0;
  const int e = static_cast<int>(std::floor(std::log10(std::fabs(v)))) - 3;
  if (e < 0) {
    const double scale = std::pow(10.0, -e);
    return std::round(v * scale) / scale;
  }
  const double scale = std::pow(10.0, e);
  return std::round(v / scale) * scale;
}

nlohmann::ordered_json figures(const sa::ClassFigures& f) {
  return {{"n", f.n},
          {"n_strong", f.n_strong},
          {"mean_i", four_digits(f.mean_i)},
          {"mean_i_over_sigma", four_digits(f.mean_i_over_sigma)}};
}

nlohmann::ordered_json curve(const std::array<double, 10>& v) {
  nlohmann::ordered_json a = nlohmann::ordered_json::array();
  for (const double x : v) a.push_back(four_digits(x));
  return a;
}

}  // namespace

std::string symmetry_json(const sa::Analysis& a, const std::string& given_group) {
  nlohmann::ordered_json j;
  j["determinable"] = a.determinable;
  if (!a.determinable) j["reason"] = a.reason;
  j["n_measurements"] = a.n_measurements;
  j["n_unique"] = a.n_unique;
  nlohmann::ordered_json cell = nlohmann::ordered_json::array();
  for (const double c : a.crystal.cell) cell.push_back(four_digits(c));
  j["cell"] = cell;
  j["reindexing"] = a.reindexing.empty() ? nlohmann::ordered_json(nullptr)
                                         : nlohmann::ordered_json(a.reindexing);
  if (!a.reindexing.empty()) {
    // Only after reindexing: the cell as given, and the matrix whose rows give the new
    // indices in terms of the old.
    nlohmann::ordered_json given = nlohmann::ordered_json::array();
    for (const double c : a.crystal_as_given.cell) given.push_back(four_digits(c));
    j["cell_as_given"] = given;
    nlohmann::ordered_json matrix = nlohmann::ordered_json::array();
    for (int i = 0; i < 3; ++i)
      matrix.push_back({a.reindexing_matrix[static_cast<std::size_t>(i * 3)],
                        a.reindexing_matrix[static_cast<std::size_t>(i * 3 + 1)],
                        a.reindexing_matrix[static_cast<std::size_t>(i * 3 + 2)]});
    j["reindexing_matrix"] = matrix;
  }
  j["given_space_group"] =
      given_group.empty() ? nlohmann::ordered_json(nullptr) : nlohmann::ordered_json(given_group);
  j["centring"] = a.centring.chosen.empty() ? std::string() : a.centring.chosen.substr(0, 1);
  nlohmann::ordered_json centring_table = nlohmann::ordered_json::array();
  for (const sa::CentringRow& r : a.centring.rows) {
    nlohmann::ordered_json row = {{"centring", r.name}, {"accepted", r.accepted}};
    row["forbidden"] = figures(r.forbidden);
    centring_table.push_back(row);
  }
  j["centring_table"] = centring_table;
  j["cc_repeated"] = four_digits(a.elements.cc_identity);
  j["n_repeated_pairs"] = a.elements.n_identity_pairs;
  nlohmann::ordered_json elements = nlohmann::ordered_json::array();
  for (const sa::ElementScore& e : a.elements.elements)
    elements.push_back({{"order", e.order},
                        {"axis", e.axis},
                        {"n_pairs", e.n_pairs},
                        {"cc", four_digits(e.cc)},
                        {"likelihood", four_digits(e.likelihood)}});
  j["symmetry_elements"] = elements;
  nlohmann::ordered_json laue = nlohmann::ordered_json::array();
  for (const sa::LaueRow& r : a.laue)
    laue.push_back({{"symbol", r.candidate.symbol},
                    {"setting", r.candidate.setting},
                    {"probability", four_digits(r.probability)}});
  j["laue_classes"] = laue;
  nlohmann::ordered_json conditions = nlohmann::ordered_json::array();
  for (const sa::ConditionRow& r : a.space_groups.conditions) {
    nlohmann::ordered_json row = {{"operator", r.op}, {"n_zone", r.n_zone}};
    row["absent"] = figures(r.absent);
    conditions.push_back(row);
  }
  j["reflection_conditions"] = conditions;
  nlohmann::ordered_json groups = nlohmann::ordered_json::array();
  for (const sa::SpaceGroupRow& r : a.space_groups.rows) {
    nlohmann::ordered_json row = {{"symbol", r.symbol},
                                  {"number", r.number},
                                  {"probability", four_digits(r.probability)},
                                  {"ties", r.ties}};
    row["absent"] = figures(r.absent);
    groups.push_back(row);
  }
  j["space_groups"] = groups;
  const sa::IntensityStatistics& st = a.statistics;
  nlohmann::ordered_json stats;
  const bool shown = a.determinable && st.reliable;
  const auto value = [&](double v) {
    return shown ? nlohmann::ordered_json(four_digits(v)) : nlohmann::ordered_json(nullptr);
  };
  stats["mean_abs_e2_minus_1"] = value(st.mean_abs_e2_minus_1);
  stats["mean_abs_l"] = st.n_l_pairs > 0 && a.determinable
                            ? nlohmann::ordered_json(four_digits(st.mean_abs_l))
                            : nlohmann::ordered_json(nullptr);
  stats["second_moment"] = value(st.second_moment);
  stats["twinning_suspected"] = st.twinning_suspected;
  stats["centrosymmetric_likely"] =
      st.centrosymmetric_likely ? nlohmann::ordered_json(*st.centrosymmetric_likely)
                                : nlohmann::ordered_json(nullptr);
  stats["n_general"] = st.n_general;
  stats["n_used"] = st.n_used;
  stats["n_l_pairs"] = st.n_l_pairs;
  stats["n_z"] = curve(st.nz);
  stats["n_abs_l"] = curve(st.nl);
  stats["wilson_b"] = four_digits(st.wilson_b);
  nlohmann::ordered_json wilson = nlohmann::ordered_json::array();
  for (const sa::WilsonPoint& p : st.wilson)
    wilson.push_back({{"s2", four_digits(p.s2)}, {"ln_mean_i", four_digits(p.ln_mean_i)}, {"n", p.n}});
  stats["wilson_plot"] = wilson;
  j["intensity_statistics"] = stats;
  return j.dump(1) + "\n";
}

}  // namespace vorlane::frontend
