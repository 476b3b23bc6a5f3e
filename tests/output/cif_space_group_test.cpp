// The CIF fragment's space-group items against gemmi's table as the reference file states it
// (tests/data/symmetry/settings.txt, made by tools/gemmi/make_setting_reference.py).
#include "output/cif_space_group.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <set>
#include <sstream>

namespace vorlane::output {
namespace {

std::vector<std::string> items_of(const std::string& name) {
  expfile::RunControls ctl;
  ctl.space_group_name = name;
  return space_group_items(ctl);
}

TEST(CifSpaceGroup, NoNamedGroupNoLines) {
  EXPECT_TRUE(items_of("").empty());
}

TEST(CifSpaceGroup, MonoclinicLineByLine) {
  const std::vector<std::string> expected{
      "",
      "_space_group_crystal_system        monoclinic",
      "_space_group_IT_number             14",
      "_space_group_name_H-M_alt          'P 1 21/c 1'",
      "",
      "loop_",
      " _space_group_symop_id",
      " _space_group_symop_operation_xyz",
      " 1 'x,y,z'",
      " 2 '-x,y+1/2,-z+1/2'",
      " 3 '-x,-y,-z'",
      " 4 'x,-y+1/2,z+1/2'",
  };
  EXPECT_EQ(items_of("P 1 21/c 1"), expected);
}

TEST(CifSpaceGroup, SymbolsNumbersAndSystems) {
  struct Case {
    std::string name, system, number, hm;
    std::size_t operations;  // centring translations included
  };
  const std::vector<Case> cases{
      {"P 1 1 21/b", "monoclinic", "14", "'P 1 1 21/b'", 4},
      {"C 1 2/c 1", "monoclinic", "15", "'C 1 2/c 1'", 8},
      {"P 21 21 21", "orthorhombic", "19", "'P 21 21 21'", 4},
      {"P n n n:2", "orthorhombic", "48", "'P n n n'", 8},
      {"R -3 c:H", "trigonal", "167", "'R -3 c'", 36},
      {"P 63/m m c", "hexagonal", "194", "'P 63/m m c'", 24},
      {"F d -3 m:2", "cubic", "227", "'F d -3 m'", 192},
      {"I 41/a:2", "tetragonal", "88", "'I 41/a'", 16},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto lines = items_of(c.name);
    ASSERT_EQ(lines.size(), 8 + c.operations);
    EXPECT_EQ(lines[1].substr(35), c.system);
    EXPECT_EQ(lines[2].substr(35), c.number);
    EXPECT_EQ(lines[3].substr(35), c.hm);
    EXPECT_EQ(lines[8], " 1 'x,y,z'");
    EXPECT_EQ(lines.back().rfind(" " + std::to_string(c.operations) + " '", 0), 0u);
  }
}

TEST(CifSpaceGroup, EverySettingAgreesWithGemmi) {
  const std::string path = std::string(VORLANE_TEST_DATA) + "/symmetry/settings.txt";
  std::ifstream in(path);
  ASSERT_TRUE(in) << path;
  int checked = 0;
  for (std::string line; std::getline(in, line);) {
    std::istringstream ls(line);
    std::string tag, xhm, w, system;
    int number = 0, order = 0;
    ls >> tag;
    if (tag != "setting") continue;
    ls >> number >> xhm >> w >> order >> w >> w >> w >> system;
    std::replace(xhm.begin(), xhm.end(), '_', ' ');
    SCOPED_TRACE(xhm);
    const auto lines = items_of(xhm);
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(8 + order));
    EXPECT_EQ(lines[1].substr(35), system);
    EXPECT_EQ(lines[2].substr(35), std::to_string(number));
    // Every operation once, numbered from 1 with the identity first.
    std::set<std::string> ops;
    for (int i = 0; i < order; ++i) {
      const std::string& op = lines[static_cast<std::size_t>(8 + i)];
      const std::string id = " " + std::to_string(i + 1) + " '";
      ASSERT_EQ(op.rfind(id, 0), 0u) << op;
      ops.insert(op.substr(id.size()));
    }
    EXPECT_EQ(ops.size(), static_cast<std::size_t>(order));
    EXPECT_EQ(lines[8], " 1 'x,y,z'");
    ++checked;
  }
  EXPECT_EQ(checked, 552);
}

}  // namespace
}  // namespace vorlane::output
