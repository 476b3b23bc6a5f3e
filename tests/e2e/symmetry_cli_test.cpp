// `vorlane symmetry` on the real data sets the repository holds: centring, Laue class and the
// published group (INDEX.tsv of the shared collection) among the first two rows, the merged
// and the HKLF 5 sets refused, and the same JSON for the records in another order.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <random>
#include <nlohmann/json.hpp>

#include "e2e/cli_support.hpp"
#include "support/test_support.hpp"

namespace vorlane {
namespace {

using testing::read_text_file;
using testing::run_vorlane;
using testing::write_file;

const std::string kData = std::string(VORLANE_TEST_DATA) + "/realdata/";

class SymmetryCli : public ::testing::Test {
 protected:
  void SetUp() override { dir = testing::make_temp_dir("symmetry"); }
  void TearDown() override { std::filesystem::remove_all(dir); }
  nlohmann::json json() const { return nlohmann::json::parse(read_text_file(dir + "/s.json")); }
  std::string dir;
};

bool among_first_two(const nlohmann::json& groups, const std::string& symbol) {
  for (std::size_t i = 0; i < std::min<std::size_t>(2, groups.size()); ++i) {
    if (groups[i]["symbol"] == symbol) return true;
    for (const auto& t : groups[i]["ties"])
      if (t == symbol) return true;
  }
  return false;
}

TEST_F(SymmetryCli, PublishedSymmetryOfRealSets) {
  struct Row {
    std::string exp, hkl, centring, laue, group;
  };
  const Row rows[] = {
      {kData + "caf2_fm-3m_ag_crysalis.exp", kData + "caf2_fm-3m_ag_crysalis.hkl", "F", "m-3m", "F m -3 m"},
      {kData + "nacl_fm-3m_crysalis.exp", kData + "nacl_fm-3m_crysalis.hkl", "F", "m-3m", "F m -3 m"},
      {kData + "cod1552546_c2c_ag.exp", kData + "cod1552546_c2c_ag.hkl", "C", "2/m", "C 1 2/c 1"},
      {kData + "cod2242045_p-1_crysalis.exp", kData + "cod2242045_p-1_crysalis.hkl", "P", "-1", "P -1"},
      {kData + "dac_c1p1_p21c_crysalis.exp", kData + "dac_c1p1_p21c_crysalis.hkl", "P", "2/m", "P 1 21/c 1"},
      {kData + "sh2185_noflip.exp", std::string(VORLANE_SOURCE_DIR) + "/examples/sh2185/sh2185.hkl", "P", "mmm", "P 21 21 21"},
  };
  for (const Row& r : rows) {
    const auto res = run_vorlane(dir, "symmetry --json s.json '" + r.exp + "' '" + r.hkl + "'");
    ASSERT_EQ(res.status, 0) << r.hkl << res.out << res.err;
    const nlohmann::json j = json();
    EXPECT_EQ(j["determinable"], true);
    EXPECT_EQ(j["centring"], r.centring) << r.hkl;
    EXPECT_EQ(j["laue_classes"][0]["symbol"], r.laue) << r.hkl;
    EXPECT_TRUE(among_first_two(j["space_groups"], r.group)) << r.hkl << res.out;
    EXPECT_NE(res.out.find("Suggested space group: "), std::string::npos);
    EXPECT_NE(res.out.find("VORLAN SPACEGROUP "), std::string::npos);
  }
}

TEST_F(SymmetryCli, RefusalsAndUsage) {
  const auto merged = run_vorlane(dir, "symmetry --json s.json '" + kData +
                                           "cod2240189_r-3c_merged.exp' '" + kData +
                                           "cod2240189_r-3c_merged.hkl'");
  EXPECT_EQ(merged.status, 1) << merged.out;
  EXPECT_NE(merged.out.find("not determinable: merged data"), std::string::npos) << merged.out;
  EXPECT_EQ(json()["determinable"], false);
  EXPECT_EQ(json()["intensity_statistics"]["centrosymmetric_likely"], nullptr);

  // The first records of an HKLF 5 file (twin components by negative batch numbers).
  write_file(dir + "/t.exp", "CELL  9.3551 9.3551 9.3670 90 90 90\nWAVEL 1 0.71073\n");
  write_file(dir + "/t.hkl", read_text_file(kData + "p-4_twin_hklf5_start.hkl"));
  const auto twin = run_vorlane(dir, "symmetry t.exp t.hkl");
  EXPECT_EQ(twin.status, 1);
  EXPECT_NE(twin.out.find("HKLF 5"), std::string::npos) << twin.out;

  EXPECT_EQ(run_vorlane(dir, "symmetry t.exp").status, 2);
  EXPECT_EQ(run_vorlane(dir, "symmetry --tolerance x t.exp t.hkl").status, 2);
  EXPECT_EQ(run_vorlane(dir, "symmetry --bogus t.exp t.hkl").status, 2);
}

TEST_F(SymmetryCli, RecordOrderGivesTheSameJson) {
  const std::string hkl = read_text_file(kData + "cod1552546_c2c_ag.hkl");
  std::vector<std::string> lines = testing::split_lines(hkl);
  const auto end = std::find_if(lines.begin(), lines.end(), [](const std::string& l) {
    return l.rfind("   0   0   0", 0) == 0;
  });
  std::shuffle(lines.begin(), end, std::mt19937(11));
  std::string shuffled;
  for (const std::string& l : lines) shuffled += l + "\n";
  write_file(dir + "/shuffled.hkl", shuffled);
  const std::string exp = "'" + kData + "cod1552546_c2c_ag.exp'";
  ASSERT_EQ(run_vorlane(dir, "symmetry --json a.json " + exp + " '" + kData +
                                 "cod1552546_c2c_ag.hkl'").status, 0);
  ASSERT_EQ(run_vorlane(dir, "symmetry --json b.json " + exp + " shuffled.hkl").status, 0);
  EXPECT_EQ(read_text_file(dir + "/a.json"), read_text_file(dir + "/b.json"));
}

TEST_F(SymmetryCli, RunWarnsWhenTheDataContradictTheGroup) {
  const std::string cell = "CELL  5.64109 5.64109 5.64109 90 90 90\nWAVEL 1 0.71073\n";
  const std::string hkl = "'" + kData + "nacl_fm-3m_crysalis.hkl'";
  write_file(dir + "/i.exp", cell + "VORLAN SPACEGROUP I m -3 m\n");
  const auto wrong = run_vorlane(dir, "i.exp i.prt " + hkl + " i.hkl");
  ASSERT_EQ(wrong.status, 0) << wrong.err;
  EXPECT_NE(wrong.err.find("THE DATA CONTRADICT SPACE GROUP I m -3 m: "), std::string::npos)
      << wrong.err;
  EXPECT_NE(wrong.err.find("THE DATA SUGGEST F m -3 m (PROBABILITY"), std::string::npos);
  EXPECT_NE(read_text_file(dir + "/i.prt").find("THE DATA CONTRADICT"), std::string::npos);

  write_file(dir + "/f.exp", cell + "VORLAN SPACEGROUP F m -3 m\n");
  const auto right = run_vorlane(dir, "f.exp f.prt " + hkl + " f.hkl");
  ASSERT_EQ(right.status, 0) << right.err;
  EXPECT_EQ(right.err.find("CONTRADICT"), std::string::npos) << right.err;
}

// The cell of `cell` (a b c alpha beta gamma) on the axes whose rows `m` gives: M G M^T.
std::array<double, 6> cell_on_axes(const nlohmann::json& cell, const nlohmann::json& m) {
  const double pi = std::acos(-1.0);
  double g[3][3];
  const double len[3] = {cell[0], cell[1], cell[2]};
  const double ang[3] = {cell[3], cell[4], cell[5]};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      g[i][j] = i == j ? len[i] * len[i] : len[i] * len[j] * std::cos(ang[3 - i - j] * pi / 180.0);
  double h[3][3];
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) {
      h[i][j] = 0.0;
      for (int k = 0; k < 3; ++k)
        for (int l = 0; l < 3; ++l)
          h[i][j] += m[i][k].get<double>() * g[k][l] * m[j][l].get<double>();
    }
  std::array<double, 6> out{};
  for (int i = 0; i < 3; ++i) out[i] = std::sqrt(h[i][i]);
  for (int i = 0; i < 3; ++i) {
    const int j = (i + 1) % 3, k = (i + 2) % 3;
    out[3 + i] = std::acos(h[j][k] / (out[j] * out[k])) * 180.0 / pi;
  }
  return out;
}

TEST_F(SymmetryCli, PrimitiveCellsOfCentredLatticesAreReindexed) {
  // Real sets moved to their Niggli cells by cctbx (tools/cctbx/make_primitive_sets.py): the
  // analysis finds the published cell and group after reindexing.
  const std::string prim = std::string(VORLANE_TEST_DATA) + "/symmetry_analysis/primitive/";
  struct Row {
    std::string name, centring, group;
    std::array<double, 6> published;
  };
  const Row rows[] = {
      {"cod1552546_c2c_ag", "C", "C 1 2/c 1", {5.18750, 9.0047, 20.0217, 90, 95.7520, 90}},
      {"caf2_fm-3m_ag_crysalis", "F", "F m -3 m", {5.45095, 5.45095, 5.45095, 90, 90, 90}},
  };
  for (const Row& r : rows) {
    const auto res = run_vorlane(dir, "symmetry --json s.json '" + prim + r.name +
                                          "_primitive.exp' '" + prim + r.name + "_primitive.hkl'");
    ASSERT_EQ(res.status, 0) << r.name << res.out << res.err;
    const nlohmann::json j = json();
    ASSERT_TRUE(j["reindexing"].is_string()) << r.name;
    EXPECT_EQ(j["centring"], r.centring) << r.name;
    EXPECT_EQ(j["space_groups"][0]["symbol"], r.group) << r.name << res.out;
    for (int i = 0; i < 6; ++i) {
      EXPECT_NEAR(j["cell"][i].get<double>(), r.published[i], 2e-3 * r.published[i]) << r.name;
    }
    // The operator and the cell as given give the cell of the tables.
    const std::array<double, 6> back = cell_on_axes(j["cell_as_given"], j["reindexing_matrix"]);
    for (int i = 0; i < 6; ++i) EXPECT_NEAR(back[i], r.published[i], 2e-3 * r.published[i]) << r.name;
    const std::string op = j["reindexing"];
    EXPECT_NE(res.out.find("Reindexed " + op + ": the cell above"), std::string::npos) << res.out;
    EXPECT_NE(res.out.find("Cell as given"), std::string::npos);
    EXPECT_NE(res.out.find("after reindexing " + op), std::string::npos);
    EXPECT_EQ(res.out.find("VORLAN SPACEGROUP"), std::string::npos);
  }
  // The published cells keep their axes.
  for (const char* name : {"cod1552546_c2c_ag", "caf2_fm-3m_ag_crysalis"}) {
    ASSERT_EQ(run_vorlane(dir, std::string("symmetry --json s.json '") + kData + name + ".exp' '" +
                                   kData + name + ".hkl'").status, 0);
    EXPECT_EQ(json()["reindexing"], nullptr) << name;
    EXPECT_FALSE(json().contains("cell_as_given")) << name;
  }
}

TEST_F(SymmetryCli, WithoutExperimentFileTheSameJson) {
  // Each row: the form without EXPFILE and the form with an experiment file of the same cell
  // and wavelength (and symmetry card, where the header gives one).
  const std::string integ = std::string(VORLANE_TEST_DATA) + "/integration/";
  write_file(dir + "/c2c.exp", "CELL  5.18750 9.0047 20.0217 90 95.7520 90\nWAVEL 1 0.56086\n");
  const std::string c2c = "'" + kData + "cod1552546_c2c_ag.hkl'";
  struct Row {
    std::string direct, with_exp, says;
  };
  const Row rows[] = {
      {"--cell 5.18750 9.0047 20.0217 90 95.7520 90 --wavelength 0.56086 " + c2c,
       "c2c.exp " + c2c, "No space group is given (no experiment file)."},
      {"--wavelength=0.56086 --cell=5.18750,9.0047,20.0217,90,95.7520,90 " + c2c,
       "c2c.exp " + c2c, "No space group is given"},
      {"'" + integ + "XDS_ASCII.HKL'", "'" + integ + "p-1.exp' '" + integ + "p-1.hkl'",
       "The XDS_ASCII header of XDS_ASCII.HKL gives P -1, which agrees with the suggestion."},
      {"'" + integ + "p-1_unmerged.mtz'", "'" + integ + "p-1.exp' '" + integ + "p-1.hkl'",
       "The MTZ header of p-1_unmerged.mtz gives P -1"},
      // An integration program's file with an experiment file, too.
      {"'" + integ + "XDS_ASCII.HKL'", "'" + integ + "p-1.exp' '" + integ + "XDS_ASCII.HKL'",
       "which agrees with the suggestion."},
  };
  for (const Row& r : rows) {
    const auto direct = run_vorlane(dir, "symmetry --json d.json " + r.direct);
    ASSERT_EQ(direct.status, 0) << r.direct << direct.out << direct.err;
    EXPECT_NE(direct.out.find(r.says), std::string::npos) << direct.out;
    EXPECT_NE(direct.out.find("Suggested space group: "), std::string::npos);
    const auto with_exp = run_vorlane(dir, "symmetry --json e.json " + r.with_exp);
    ASSERT_EQ(with_exp.status, 0) << r.with_exp << with_exp.err;
    EXPECT_EQ(read_text_file(dir + "/d.json"), read_text_file(dir + "/e.json")) << r.direct;
  }
}

TEST_F(SymmetryCli, WithoutExperimentFileUsageErrors) {
  const std::string hkl = "'" + kData + "cod1552546_c2c_ag.hkl'";
  write_file(dir + "/t.exp", "CELL  5.18750 9.0047 20.0217 90 95.7520 90\nWAVEL 1 0.56086\n");
  const std::string cell = "--cell 5.18750 9.0047 20.0217 90 95.7520 90 ";
  struct Row {
    std::string args, message;
  };
  const Row rows[] = {
      {"--cell 5 9 20 90 95 " + hkl, "option --cell: '" + kData + "cod1552546_c2c_ag.hkl' is not a cell angle"},
      {"--cell 5 9 20 90 195 90 --wavelength Ag " + hkl, "option --cell: '195' is not a cell angle (0 to 180 degrees)"},
      {"--cell 5 0 20 90 95 90 --wavelength Ag " + hkl, "option --cell: '0' is not a cell length (above 0)"},
      {"--cell=5,9,20,90,95 " + hkl, "option --cell needs six numbers: a b c alpha beta gamma"},
      {cell + "--wavelength Xx " + hkl, "option --wavelength takes a wavelength in Angstrom or Mo, Cu, Ag, not 'Xx'"},
      {hkl, "no cell: give --cell a b c alpha beta gamma, or give an experiment file before INFILE"},
      {cell + hkl, "no wavelength: give --wavelength (in Angstrom, or Mo, Cu, Ag)"},
      {cell + "--wavelength Ag t.exp " + hkl, "option --cell is for vorlane symmetry without an experiment file"},
      {"--wavelength Ag t.exp " + hkl, "option --wavelength is for vorlane symmetry without an experiment file"},
      {"--spacegroup 15 " + cell + hkl, "option --spacegroup is for merging runs; vorlane symmetry takes --cell and --wavelength"},
      {"--no-rejection " + hkl, "option --no-rejection is for merging runs"},
      {"--tolerance=12 " + cell + "--wavelength Ag " + hkl, "--tolerance takes an angle in degrees above 0 and at most 10, not '12'"},
      {"", "give an input data file, with an experiment file before it or --cell and --wavelength"},
      {"t.exp " + hkl + " extra.hkl", "give an input data file"},
  };
  for (const Row& r : rows) {
    const auto res = run_vorlane(dir, "symmetry --json s.json " + r.args);
    EXPECT_EQ(res.status, 2) << r.args << res.out;
    EXPECT_NE(res.err.find("vorlane symmetry: " + r.message), std::string::npos)
        << r.args << "\n" << res.err;
    EXPECT_FALSE(std::filesystem::exists(dir + "/s.json")) << r.args;
  }
  // An integration program's file that cannot be read: exit status 1, the file and the line.
  write_file(dir + "/X.HKL", "!FORMAT=XDS_ASCII MERGE=FALSE\n!END_OF_HEADER\n!END_OF_DATA\n");
  const auto unreadable = run_vorlane(dir, "symmetry X.HKL");
  EXPECT_EQ(unreadable.status, 1);
  EXPECT_NE(unreadable.err.find("vorlane symmetry: XDS_ASCII file X.HKL, line 2: "),
            std::string::npos)
      << unreadable.err;

  const auto help = run_vorlane(dir, "symmetry --help");
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("--cell a b c alpha beta gamma"), std::string::npos);
  EXPECT_NE(help.out.find("--wavelength L|Mo|Cu|Ag"), std::string::npos);
}

}  // namespace
}  // namespace vorlane
