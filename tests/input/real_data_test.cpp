// Real SHELX files written by diffractometer software read completely (origins in
// tests/data/realdata/SOURCES.md).
#include <gtest/gtest.h>

#include <set>

#include "input/input_test_groups.hpp"
#include "input/read_data.hpp"
#include "support/test_support.hpp"

namespace vorlane::input {
namespace {

using Hkl = std::array<int, 3>;

std::string realdata(const std::string& name) {
  return testing::read_text_file(std::string(VORLANE_TEST_DATA) + "/realdata/" + name);
}

TEST(RealData, TriclinicFileWithInstructionsAfterTheTerminator) {
  const std::string text = realdata("cod2242045_p-1_crysalis.hkl");
  testing::MemoryRun run("", text);
  run.rs.files.INFMT = 1;
  run.rs.sg = testing::group_p1bar();
  READ_DATA(run.rs);
  EXPECT_EQ(run.rs.msg.IHALT, 0);
  EXPECT_TRUE(run.dialogs.warning_texts.empty());
  // 2936 records before the 0 0 0 record (the .ins text after it is not read).
  EXPECT_EQ(run.rs.refl.members.size(), 2936u);
  // Independent count of the classes under -1: h and -h are one reflection.
  std::set<Hkl> classes;
  for (const std::string& line : testing::split_lines(text)) {
    const Hkl h{std::stoi(line.substr(0, 4)), std::stoi(line.substr(4, 4)),
                std::stoi(line.substr(8, 4))};
    if (h == Hkl{0, 0, 0}) break;
    classes.insert(std::max(h, Hkl{-h[0], -h[1], -h[2]}));
  }
  EXPECT_EQ(classes.size(), 1397u);  // the unique count the data's own CIF reports
  EXPECT_EQ(static_cast<std::size_t>(run.rs.refl.NSET()), classes.size());
  // The first record: 0 0 -1, 2118.94, 22.66; its set's representative has l >= 0.
  const run::Member& first = run.rs.refl.member(run.rs.refl.sets[0], 1);
  EXPECT_EQ(first.IHKL, (Hkl{0, 0, 1}));
  EXPECT_FLOAT_EQ(first.FSQ, 2118.94f);
  EXPECT_FLOAT_EQ(first.SIGFSQ, 22.66f);
  EXPECT_EQ(run.rs.refl.sets[0].NEQ, 2);  // 0 0 -1 measured twice, 0 0 1 never
}

TEST(RealData, CubicFileWithBatchNumbersAndIntensitiesTouchingTheIndices) {
  const std::string text = realdata("caf2_fm-3m_ag_crysalis.hkl");
  testing::MemoryRun run("", text);
  run.rs.files.INFMT = 1;
  run.rs.sg = testing::group_p1_open();  // every reflection as read: a count of distinct hkl
  READ_DATA(run.rs);
  EXPECT_EQ(run.rs.msg.IHALT, 0);
  EXPECT_TRUE(run.dialogs.warning_texts.empty());
  EXPECT_EQ(run.rs.refl.members.size(), 5299u);
  std::set<Hkl> distinct;
  for (const std::string& line : testing::split_lines(text)) {
    const Hkl h{std::stoi(line.substr(0, 4)), std::stoi(line.substr(4, 4)),
                std::stoi(line.substr(8, 4))};
    if (h == Hkl{0, 0, 0}) break;
    distinct.insert(h);
  }
  EXPECT_EQ(static_cast<std::size_t>(run.rs.refl.NSET()), distinct.size());
  float largest = 0;
  for (const run::Member& m : run.rs.refl.members) largest = std::max(largest, m.FSQ);
  EXPECT_FLOAT_EQ(largest, 99999.0f);
}

}  // namespace
}  // namespace vorlane::input
