// Whole runs on real data sets of five Laue classes: the completeness figures of the CIF
// fragment and the print file against gemmi's counts (tools/gemmi/completeness_reference.py),
// and every data name of the fragment against the CIF core dictionary.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "e2e/cli_support.hpp"
#include "records/edit_list.hpp"
#include "support/test_support.hpp"

namespace vorlane {
namespace {

const std::string kData = std::string(VORLANE_TEST_DATA) + "/realdata/";

struct Reference {
  std::string id, exp, hkl;
  int noflip = 0;
  double theta_max = 0, theta_full = 0;
  // measured, possible: Laue to max, Laue to full, point group to max and full, Friedel pairs
  // to max and full.
  std::array<int, 12> counts{};
};

std::vector<Reference> read_reference() {
  std::ifstream in(kData + "completeness_reference.tsv");
  std::vector<Reference> rows;
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#' || line.rfind("id\t", 0) == 0) continue;
    std::istringstream ss(line);
    Reference r;
    ss >> r.id >> r.exp >> r.hkl >> r.noflip >> r.theta_max >> r.theta_full;
    for (int& c : r.counts) ss >> c;
    rows.push_back(r);
  }
  return rows;
}

std::set<std::string> core_names() {
  std::ifstream in(std::string(VORLANE_TEST_DATA) + "/cif/cif_core_names.txt");
  std::set<std::string> names;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line[0] != '#') names.insert(line);
  }
  return names;
}

std::string lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

std::string value_of(const std::vector<std::string>& lines, const std::string& name) {
  for (const auto& l : lines) {
    std::istringstream ss(l);
    std::string n, v;
    ss >> n >> v;
    if (n == name) return v;
  }
  return "(missing)";
}

// "measured OF possible" pairs of a print-file completeness row.
std::vector<int> row_counts(const std::vector<std::string>& lines, const std::string& label) {
  for (const auto& l : lines) {
    const auto at = l.find(label);
    if (at == std::string::npos) continue;
    std::istringstream ss(l.substr(at + label.size()));
    int m1 = 0, p1 = 0, m2 = 0, p2 = 0;
    std::string of;
    double f = 0;
    ss >> m1 >> of >> p1 >> f >> m2 >> of >> p2;
    return {m1, p1, m2, p2};
  }
  return {};
}

std::string fraction(int measured, int possible) {
  return records::format_F(static_cast<float>(measured) / static_cast<float>(possible), 5, 3)
      .substr(0);
}

TEST(RealDataCompleteness, AgreesWithGemmiAndNamesAreCoreNames) {
  const auto refs = read_reference();
  ASSERT_EQ(refs.size(), 5u);
  const auto names = core_names();
  ASSERT_GT(names.size(), 2000u);
  for (const Reference& r : refs) {
    SCOPED_TRACE(r.id);
    const std::string dir = testing::make_temp_dir("completeness");
    const auto run = testing::run_vorlane(dir, "--sigma-ratio keep '" + kData + r.exp +
                                                   "' run.prt '" + kData + r.hkl + "' out.hkl");
    ASSERT_EQ(run.status, 0) << run.err;
    const auto cif = testing::split_lines(testing::read_text_file(dir + "/out_vorlane.cif"));
    for (const auto& l : cif) {
      if (l.empty() || l[0] != '_') continue;
      const std::string name = l.substr(0, l.find(' '));
      EXPECT_TRUE(names.count(lower(name)) == 1) << name << " is not a core name";
    }
    EXPECT_NEAR(std::stod(value_of(cif, "_diffrn_reflns_theta_max")), r.theta_max, 0.006);
    EXPECT_NEAR(std::stod(value_of(cif, "_diffrn_reflns_theta_full")), r.theta_full, 0.006);

    const auto prt = testing::split_lines(testing::read_text_file(dir + "/run.prt"));
    const auto& c = r.counts;
    EXPECT_EQ(row_counts(prt, "LAUE GROUP   "), (std::vector<int>{c[0], c[1], c[2], c[3]}));
    EXPECT_EQ(row_counts(prt, "POINT GROUP  "), (std::vector<int>{c[4], c[5], c[6], c[7]}));
    EXPECT_EQ(value_of(cif, "_diffrn_reflns_Laue_measured_fraction_max"), fraction(c[0], c[1]));
    EXPECT_EQ(value_of(cif, "_diffrn_reflns_Laue_measured_fraction_full"), fraction(c[2], c[3]));
    EXPECT_EQ(value_of(cif, "_diffrn_reflns_point_group_measured_fraction_max"),
              fraction(c[4], c[5]));
    EXPECT_EQ(value_of(cif, "_diffrn_reflns_point_group_measured_fraction_full"),
              fraction(c[6], c[7]));
    // The older items in the run's own grouping.
    const int g = r.noflip == 1 ? 4 : 0;
    EXPECT_EQ(value_of(cif, "_diffrn_measured_fraction_theta_max"), fraction(c[g], c[g + 1]));
    EXPECT_EQ(value_of(cif, "_diffrn_measured_fraction_theta_full"),
              fraction(c[g + 2], c[g + 3]));
    if (c[9] == 0) {  // centrosymmetric: no acentric reflections
      EXPECT_EQ(value_of(cif, "_reflns_Friedel_coverage"), "0.000");
      EXPECT_EQ(value_of(cif, "_reflns_Friedel_fraction_max"), ".");
      EXPECT_EQ(value_of(cif, "_reflns_Friedel_fraction_full"), ".");
    } else {
      EXPECT_EQ(value_of(cif, "_reflns_Friedel_coverage"), fraction(c[4] - c[0], c[0]));
      EXPECT_EQ(value_of(cif, "_reflns_Friedel_fraction_max"), fraction(c[8], c[9]));
      EXPECT_EQ(value_of(cif, "_reflns_Friedel_fraction_full"), fraction(c[10], c[11]));
      EXPECT_EQ(row_counts(prt, "FRIEDEL PAIRS"), (std::vector<int>{c[8], c[9], c[10], c[11]}));
    }
    // Averaged output writes one line per set; Friedel mates kept apart write the published
    // point-group count (sh2185: 3667).
    const auto out = testing::split_lines(testing::read_text_file(dir + "/out.hkl"));
    EXPECT_EQ(std::stoi(value_of(cif, "_reflns_number_total")), static_cast<int>(out.size()));
    EXPECT_EQ(static_cast<int>(out.size()), r.noflip == 1 ? c[4] : c[0]);
    std::filesystem::remove_all(dir);
  }
}

}  // namespace
}  // namespace vorlane
