// The centrosymmetry the ranking gives each setting of its table (and the tie rule reads) is
// cctbx's, origin choice 1 included (tests/data/symmetry/centric_cctbx.txt, made by
// tools/cctbx/make_centric_reference.py).
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <sstream>

#include "support/test_support.hpp"
#include "symmetry_analysis/settings_table.hpp"

namespace vorlane::symmetry_analysis {
namespace {

TEST(SettingsTable, CentrosymmetricAsCctbxFindsIt) {
  std::map<std::string, bool> cctbx;
  for (const auto& [xhm, centric] : testing::centric_reference()) cctbx[xhm] = centric;
  ASSERT_EQ(cctbx.size(), settings_table().size());
  for (const Setting& s : settings_table()) {
    const auto it = cctbx.find(s.group->xhm());
    ASSERT_NE(it, cctbx.end()) << s.group->xhm();
    EXPECT_EQ(s.group->is_centrosymmetric(), it->second) << s.group->xhm();
    EXPECT_EQ(s.ops.is_centrosymmetric(), it->second) << s.group->xhm();
  }
}

}  // namespace
}  // namespace vorlane::symmetry_analysis
