// File names, formats from names, open modes and the CIF name.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "run/run_files.hpp"
#include "support/test_support.hpp"

namespace vorlane {
namespace {

using run::format_from_name;

TEST(RunFiles, InputFormatFromName) {
  EXPECT_EQ(format_from_name("data.HKL", run::INPUT), 1);
  EXPECT_EQ(format_from_name("data.hkl", run::INPUT), 1);
  EXPECT_EQ(format_from_name("data.abs", run::INPUT), 0);
  EXPECT_EQ(format_from_name("data.txt", run::INPUT), -1);
  EXPECT_EQ(format_from_name("data.avg", run::INPUT), -1);  // avg is an output name only
  // Two dots: the three characters after the first dot are "V2.".
  EXPECT_EQ(format_from_name("data.v2.hkl", run::INPUT), -1);
  // No dot: the first three characters.
  EXPECT_EQ(format_from_name("hklfile", run::INPUT), 1);
  EXPECT_EQ(format_from_name("ABSDATA", run::INPUT), 0);
  EXPECT_EQ(format_from_name("data.hk", run::INPUT), -1);
  EXPECT_EQ(format_from_name("data.hklx", run::INPUT), 1);
}

TEST(RunFiles, OutputFormatFromName) {
  EXPECT_EQ(format_from_name("res.avg", run::OUTPUT), 0);
  EXPECT_EQ(format_from_name("res.abs", run::OUTPUT), 0);
  EXPECT_EQ(format_from_name("res.Hkl", run::OUTPUT), 1);
  EXPECT_EQ(format_from_name("res.out", run::OUTPUT), -1);
}

TEST(RunFiles, CifName) {
  EXPECT_EQ(run::cif_name("result.hkl"), "result_vorlane.cif");
  EXPECT_EQ(run::cif_name("my.data.hkl"), "my_vorlane.cif");
  // A name without a dot keeps the whole name, so the fragment is still named after it.
  EXPECT_EQ(run::cif_name("result"), "result_vorlane.cif");
}

TEST(RunFiles, BaseName) {
  EXPECT_EQ(run::base_name("/a/b/c.hkl"), "c.hkl");
  EXPECT_EQ(run::base_name("C:\\data\\x.abs"), "x.abs");
  EXPECT_EQ(run::base_name("plain"), "plain");
}

TEST(RunFiles, OpenModes) {
  const std::filesystem::path dir = testing::make_temp_dir("runfiles");
  const auto prt = dir / "run.prt";
  const auto out = dir / "run.avg";
  {
    std::ofstream(prt) << "old listing\n";
    std::ofstream(out) << "old output\n";
  }
  run::RunFiles f;
  ASSERT_TRUE(run::open_run_file(f, run::PRINT, prt));
  ASSERT_TRUE(run::open_run_file(f, run::OUTPUT, out));
  EXPECT_EQ(f.FNAME[1], "run.prt");
  EXPECT_EQ(f.IPRTOPEN, 1);
  EXPECT_EQ(f.IOUTOPEN, 1);
  f.print.write_record(" new listing");
  *f.out << "new output\n";
  // The output file is replaced only when the run commits it (a finished run).
  EXPECT_EQ(testing::read_text_file(out.string()), "old output\n");
  EXPECT_EQ(run::commit_outputs(f), "");
  EXPECT_TRUE(run::close_run_files(f));
  // The print file is appended to, the output file replaced.
  EXPECT_EQ(testing::read_text_file(prt.string()), "old listing\nnew listing\n");
  EXPECT_EQ(testing::read_text_file(out.string()), "new output\n");
  EXPECT_EQ(f.IPRTOPEN + f.IOUTOPEN, 0);

  // A missing experiment file or a folder does not open; the slot stays closed and blank.
  EXPECT_FALSE(run::open_run_file(f, run::EXPERIMENT, dir / "missing.exp"));
  EXPECT_EQ(f.IEXPOPEN, 0);
  EXPECT_EQ(f.FNAME[0], "");
  EXPECT_FALSE(run::open_run_file(f, run::INPUT, dir));
  EXPECT_FALSE(run::open_run_file(f, run::OUTPUT, dir));
  std::filesystem::remove_all(dir);
}

TEST(RunFiles, ReportsAnOutputThatCannotBeWritten) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full on this system";
  run::RunFiles f;
  ASSERT_TRUE(run::open_run_file(f, run::OUTPUT, "/dev/full"));
  *f.out << std::string(1 << 16, 'x');
  EXPECT_FALSE(run::close_run_files(f));
}

}  // namespace
}  // namespace vorlane
