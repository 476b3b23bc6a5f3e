// Whole runs with SPACEGROUP AUTO: the group found from the data is the one merged in, and the
// run says how sure it is, or refuses with the reason.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "e2e/cli_support.hpp"
#include "e2e/e2e_run.hpp"
#include "support/test_support.hpp"

namespace vorlane {
namespace {

std::string data_path(const std::string& id) {
  return std::string(VORLANE_TEST_DATA) + "/realdata/" + id;
}

// An experiment file without its symmetry cards, and then `card`.
std::string with_symmetry(const std::string& exp, const std::string& card) {
  std::string out;
  for (const std::string& line : testing::split_lines(exp)) {
    if (line.find("SYMOP") != std::string::npos || line.find("UNITIN") != std::string::npos ||
        line.find("SPACEGROUP") != std::string::npos || line.find("LAUE") != std::string::npos)
      continue;
    out += line + "\n";
  }
  return out + card + "\n";
}

// The CIF's lines but those of the date and time of the run and the one that says where the
// group came from.
std::vector<std::string> cif_without_date(const std::string& path) {
  std::vector<std::string> lines;
  for (const std::string& line : testing::split_lines(testing::read_text_file(path)))
    if (line.find("_audit_creation_date") == std::string::npos &&
        line.find("(SPACEGROUP AUTO)") == std::string::npos)
      lines.push_back(line);
  return lines;
}

struct Runs {
  testing::CliResult given, found;
  std::string dir;
};

Runs run_both(const std::string& id, const std::string& group) {
  Runs r;
  r.dir = testing::make_temp_dir("auto");
  const std::string exp = testing::read_text_file(data_path(id) + ".exp");
  std::filesystem::copy_file(data_path(id) + ".hkl", r.dir + "/in.hkl");
  testing::write_file(r.dir + "/given.exp", with_symmetry(exp, "VORLAN SPACEGROUP " + group));
  testing::write_file(r.dir + "/found.exp", with_symmetry(exp, "VORLAN SPACEGROUP AUTO"));
  const std::string opts = "--sigma-ratio keep --report none ";
  r.given = testing::run_vorlane(r.dir, opts + "given.exp given.prt in.hkl given.hkl");
  r.found = testing::run_vorlane(r.dir, opts + "found.exp found.prt in.hkl found.hkl");
  return r;
}

// The group found is the published one, and merging in it gives byte for byte what the group
// given by name gives; the print file holds the tables, the summary the choice and how sure
// it is, and the warnings name a close second candidate or groups the intensities cannot
// tell apart.
TEST(SpaceGroupAuto, MergesInTheGroupFoundAsIfGivenByName) {
  const struct {
    const char* id;
    const char* group;
    int number;
    const char* warning;  // one warning the run must give, or "" for none of AUTO's
  } cases[] = {
      {"cod1552546_c2c_ag", "C 1 2/c 1", 15, ""},
      {"dac_c1p1_p21c_crysalis", "P 1 21/c 1", 14,
       "SPACEGROUP AUTO: SECOND CANDIDATE P -1 HAS PROBABILITY 0.3"},
      {"caf2_fm-3m_ag_crysalis", "F m -3 m", 225,
       "SPACEGROUP AUTO: F m -3 m CANNOT BE TOLD FROM F -4 3 m BY INTENSITIES ALONE"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.id);
    const Runs r = run_both(c.id, c.group);
    ASSERT_EQ(r.given.status, 0) << r.given.err;
    ASSERT_EQ(r.found.status, 0) << r.found.err;
    EXPECT_EQ(testing::read_text_file(r.dir + "/found.hkl"),
              testing::read_text_file(r.dir + "/given.hkl"));
    EXPECT_EQ(cif_without_date(r.dir + "/found_vorlane.cif"),
              cif_without_date(r.dir + "/given_vorlane.cif"));
    const auto items = testing::cif_items(testing::read_text_file(r.dir + "/found_vorlane.cif"));
    EXPECT_EQ(items.at("_space_group_IT_number"), std::to_string(c.number));

    const std::string choice = std::string(c.group) + " (No. " + std::to_string(c.number) +
                               ") found from the data, probability ";
    EXPECT_NE(r.found.out.find("space group        " + choice), std::string::npos) << r.found.out;
    EXPECT_NE(testing::read_text_file(r.dir + "/found_vorlane.cif").find(" Space group " + choice),
              std::string::npos);
    const std::string print = testing::read_text_file(r.dir + "/found.prt");
    EXPECT_NE(print.find("SPACE GROUP FROM THE DATA (SPACEGROUP AUTO)"), std::string::npos);
    EXPECT_NE(print.find("Suggested space group: " + std::string(c.group)), std::string::npos);
    EXPECT_NE(print.find("Symmetry used:     " + std::string(c.group)), std::string::npos);
    if (*c.warning != '\0') {
      EXPECT_NE(r.found.err.find(c.warning), std::string::npos) << r.found.err;
    } else {
      EXPECT_EQ(r.found.err.find("SPACEGROUP AUTO:"), std::string::npos) << r.found.err;
    }
    // The group given by name is checked against the data and passes.
    EXPECT_EQ(r.given.err.find("CONTRADICT"), std::string::npos) << r.given.err;
  }
}

// The records of a synthetic P 41 21 2 data set (h k l I sigma) as SHELX records with the axes
// turned (h k l -> l h k): the 4-fold then lies along a.
std::string turned_synthetic(std::string& cell_card) {
  std::ifstream in(std::string(VORLANE_TEST_DATA) + "/symmetry_analysis/synthetic/P41212.txt");
  std::string line, records;
  while (std::getline(in, line)) {
    if (line.starts_with("#")) continue;
    std::istringstream ss(line);
    if (line.starts_with("cell")) {
      std::string word, a, b, c, al, be, ga;
      ss >> word >> a >> b >> c >> al >> be >> ga;
      cell_card = "CELL " + c + " " + a + " " + b + " " + ga + " " + al + " " + be;
      continue;
    }
    int h = 0, k = 0, l = 0;
    std::string i, s;
    ss >> h >> k >> l >> i >> s;
    // A SHELX field without a point is read in hundredths.
    if (i.find('.') == std::string::npos) i += ".0";
    if (s.find('.') == std::string::npos) s += ".0";
    records += testing::shelx_record(l, h, k, i, s);
  }
  return records + testing::shelx_record(0, 0, 0, "0", "0");
}

// What cannot be merged in a group found from the data is refused with the reason, and no
// output file is left.
TEST(SpaceGroupAuto, RefusesWhatItCannotDetermineOrUse) {
  const std::string dir = testing::make_temp_dir("auto_refused");
  std::filesystem::copy_file(data_path("cod2240189_r-3c_merged.hkl"), dir + "/merged.hkl");
  testing::write_file(dir + "/merged.exp",
                      with_symmetry(testing::read_text_file(data_path("cod2240189_r-3c_merged.exp")),
                                    "VORLAN SPACEGROUP AUTO"));
  std::string cell;
  testing::write_file(dir + "/turned.hkl", turned_synthetic(cell));
  testing::write_file(dir + "/turned.exp", cell + "\nWAVEL 1 0.71073\nVORLAN SPACEGROUP AUTO\n");
  std::filesystem::copy_file(data_path("cod1552546_c2c_ag.hkl"), dir + "/nocell.hkl");
  testing::write_file(dir + "/nocell.exp", "WAVEL 1 0.56086\nVORLAN SPACEGROUP AUTO\n");

  const struct {
    const char* name;
    const char* error;
  } cases[] = {
      {"merged", "FATAL ERROR: SPACEGROUP AUTO: THE SPACE GROUP IS NOT DETERMINABLE: MERGED DATA"},
      {"turned", "FATAL ERROR: SPACEGROUP AUTO: P 41 21 2 NEEDS THE DATA REINDEXED"},
      {"nocell", "FATAL ERROR: SPACEGROUP AUTO NEEDS THE CELL"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string n = c.name;
    const auto run = testing::run_vorlane(dir, n + ".exp " + n + ".prt " + n + ".hkl " + n + "_avg.hkl");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find(c.error), std::string::npos) << run.err;
    EXPECT_FALSE(std::filesystem::exists(dir + "/" + n + "_avg.hkl"));
  }
  // The tables come before the refusal, with the operator and the cell after reindexing.
  const std::string print = testing::read_text_file(dir + "/turned.prt");
  EXPECT_NE(print.find("SPACE GROUP FROM THE DATA"), std::string::npos);
  EXPECT_NE(print.find("Cell    9.1482    9.1482   11.4352"), std::string::npos) << print;
}

}  // namespace
}  // namespace vorlane
