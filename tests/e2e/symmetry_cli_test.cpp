// `vorlane symmetry` on the real data sets the repository holds: centring, Laue class and the
// published group (INDEX.tsv of the shared collection) among the first two rows, the merged
// and the HKLF 5 sets refused, and the same JSON for the records in another order.
#include <gtest/gtest.h>

#include <algorithm>
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

}  // namespace
}  // namespace vorlane
