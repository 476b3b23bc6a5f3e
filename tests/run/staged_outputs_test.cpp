// Files written beside their targets and put in place only when a run commits them: names
// from the output's file name, exclusive creation, commit, discard and removal.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "run/run_files.hpp"
#include "run/staged_outputs.hpp"
#include "support/test_support.hpp"

namespace vorlane::run {
namespace {

namespace fs = std::filesystem;

std::set<std::string> names(const fs::path& dir) {
  std::set<std::string> n;
  for (const auto& e : fs::directory_iterator(dir)) n.insert(e.path().filename().string());
  return n;
}

void put(const fs::path& p, const std::string& text) {
  std::ofstream(p, std::ios::binary) << text;
}

TEST(StagedOutputs, NamesBesideTheOutputComeFromItsWholeFileName) {
  struct Case { const char* output; const char* suffix; const char* want; };
  const Case cases[] = {
      {"result.hkl", "_vorlane.cif", "result_vorlane.cif"},
      {"my.data.hkl", "_stats.json", "my_stats.json"},
      {"result", "_report.html", "result_report.html"},
      {"dir/sub/r.hkl", "_rejections.csv", "dir/sub/r_rejections.csv"},
      // A backslash is a character of a POSIX file name, not a separator.
      {"z\\d.hkl", "_stats.json", "z\\d_stats.json"},
      {"dir.v2/out", "_stats.json", "dir.v2/out_stats.json"},
  };
  for (const Case& c : cases) EXPECT_EQ(beside_output(c.output, c.suffix).string(), c.want);
  EXPECT_EQ(cif_name("z\\d.hkl"), "z\\d_vorlane.cif");
}

TEST(StagedOutputs, CommitPutsFilesInPlaceAndDiscardLeavesTheOldOnes) {
  const fs::path dir = testing::make_temp_dir("staged");
  put(dir / "a.txt", "old a\n");
  put(dir / "b.txt", "old b\n");
  put(dir / "gone.html", "old report\n");
  {
    StagedOutputs s;
    ASSERT_TRUE(s.write(dir / "a.txt", "new a\n"));
    auto out = s.create(dir / "b.txt");
    ASSERT_TRUE(out);
    *out << "new b\n";
    ASSERT_TRUE(out->close());
    s.remove_on_commit(dir / "gone.html");
    // Nothing has changed yet; two temporary files stand beside the targets.
    EXPECT_EQ(testing::read_text_file((dir / "a.txt").string()), "old a\n");
    EXPECT_EQ(names(dir).size(), 5u);
    s.discard();
  }
  EXPECT_EQ(names(dir), (std::set<std::string>{"a.txt", "b.txt", "gone.html"}));
  EXPECT_EQ(testing::read_text_file((dir / "b.txt").string()), "old b\n");
  {
    StagedOutputs s;
    ASSERT_TRUE(s.write(dir / "a.txt", "new a\n"));
    ASSERT_TRUE(s.write(dir / "c.txt", "new c\n"));
    s.remove_on_commit(dir / "gone.html");
    EXPECT_EQ(s.commit(), "");
  }
  EXPECT_EQ(names(dir), (std::set<std::string>{"a.txt", "b.txt", "c.txt"}));
  EXPECT_EQ(testing::read_text_file((dir / "a.txt").string()), "new a\n");
  EXPECT_EQ(testing::read_text_file((dir / "c.txt").string()), "new c\n");
  // Destroyed without a commit (a halted run): nothing left behind.
  {
    StagedOutputs s;
    ASSERT_TRUE(s.write(dir / "a.txt", "newer a\n"));
  }
  EXPECT_EQ(names(dir).size(), 3u);
  EXPECT_EQ(testing::read_text_file((dir / "a.txt").string()), "new a\n");
  fs::remove_all(dir);
}

TEST(StagedOutputs, AFolderThatDoesNotExistGivesNoFile) {
  const fs::path dir = testing::make_temp_dir("staged");
  StagedOutputs s;
  EXPECT_FALSE(s.write(dir / "missing" / "a.txt", "x"));
  EXPECT_FALSE(s.create(dir / "missing" / "b.txt"));
  EXPECT_TRUE(s.empty());
  fs::remove_all(dir);
}

TEST(StagedOutputs, TheOutputFileIsOpenedAsATemporaryFileAndReplacedOnlyByACommit) {
  const fs::path dir = testing::make_temp_dir("staged");
  put(dir / "out.hkl", "earlier\n");
  {
    RunFiles files;
    ASSERT_TRUE(open_run_file(files, OUTPUT, dir / "out.hkl"));
    *files.out << "this run\n";
    EXPECT_EQ(testing::read_text_file((dir / "out.hkl").string()), "earlier\n");
    EXPECT_TRUE(close_run_files(files));  // not committed: a run that did not finish
  }
  EXPECT_EQ(names(dir), std::set<std::string>{"out.hkl"});
  EXPECT_EQ(testing::read_text_file((dir / "out.hkl").string()), "earlier\n");
  {
    RunFiles files;
    ASSERT_TRUE(open_run_file(files, OUTPUT, dir / "out.hkl"));
    *files.out << "this run\n";
    EXPECT_EQ(commit_outputs(files), "");
    EXPECT_TRUE(close_run_files(files));
  }
  EXPECT_EQ(names(dir), std::set<std::string>{"out.hkl"});
  EXPECT_EQ(testing::read_text_file((dir / "out.hkl").string()), "this run\n");
  fs::remove_all(dir);
}

}  // namespace
}  // namespace vorlane::run
