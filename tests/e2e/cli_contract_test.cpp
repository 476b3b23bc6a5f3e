// The command-line contract scripts rely on: exit statuses, messages, files left alone.
#include <gtest/gtest.h>

#include <filesystem>

#include "e2e/cli_support.hpp"
#include "support/test_support.hpp"

namespace vorlane {
namespace {

using testing::read_text_file;
using testing::run_vorlane;
using testing::write_file;

const std::string kExp = "TITLE  small test\nCELL  5.0 6.0 7.0 90 90 90\nWAVEL 1 0.71073\n";
const std::string kHkl = "   1   0   0  100.00    2.00\n   1   0   0  104.00    2.00\n"
                         "   0   0   0    0.00    0.00\n";

class Cli : public ::testing::Test {
 protected:
  void SetUp() override { dir = testing::make_temp_dir("cli"); }
  void TearDown() override { std::filesystem::remove_all(dir); }
  std::string dir;
};

TEST_F(Cli, HelpAndVersion) {
  const auto h = run_vorlane(dir, "--help");
  EXPECT_EQ(h.status, 0);
  EXPECT_NE(h.out.find("EXPFILE PRINTFILE INFILE OUTFILE"), std::string::npos);
  EXPECT_NE(h.out.find("--in-format"), std::string::npos);
  EXPECT_NE(h.out.find("Exit status"), std::string::npos);
  const auto v = run_vorlane(dir, "--version");
  EXPECT_EQ(v.status, 0);
  EXPECT_EQ(v.out.rfind("vorlane ", 0), 0u);
}

TEST_F(Cli, UsageErrorsExitTwo) {
  const auto missing = run_vorlane(dir, "a.exp b.prt c.hkl");
  EXPECT_EQ(missing.status, 2);
  EXPECT_NE(missing.err.find("expected 4 files"), std::string::npos);
  EXPECT_EQ(run_vorlane(dir, "--in-format xyz a b c d").status, 2);
  EXPECT_EQ(run_vorlane(dir, "--bogus a b c d").status, 2);
  EXPECT_EQ(run_vorlane(dir, "a b c d e").status, 2);
}

TEST_F(Cli, UnknownInputFormatWithoutTerminalNamesTheOption) {
  write_file(dir + "/t.exp", kExp);
  write_file(dir + "/data.v2.hkl", kHkl);
  write_file(dir + "/out.hkl", "keep me\n");
  const auto r = run_vorlane(dir, "t.exp t.prt data.v2.hkl out.hkl");
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("--in-format"), std::string::npos);
  // Nothing ran: the existing output file is untouched and no print file was made.
  EXPECT_EQ(read_text_file(dir + "/out.hkl"), "keep me\n");
  EXPECT_FALSE(std::filesystem::exists(dir + "/t.prt"));
}

TEST_F(Cli, UnknownOutputFormatNamesItsOption) {
  write_file(dir + "/t.exp", kExp);
  write_file(dir + "/d.hkl", kHkl);
  const auto r = run_vorlane(dir, "t.exp t.prt d.hkl result.dat");
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("--out-format"), std::string::npos);
}

TEST_F(Cli, MissingFilesExitTwoAndSayWhich) {
  write_file(dir + "/t.exp", kExp);
  write_file(dir + "/out.hkl", "keep me\n");
  const auto r = run_vorlane(dir, "t.exp t.prt nothere.hkl out.hkl");
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("ERROR OPENING INPUT DATA FILE"), std::string::npos);
  EXPECT_NE(r.err.find("nothere.hkl"), std::string::npos);
  EXPECT_EQ(read_text_file(dir + "/out.hkl"), "keep me\n");
  const auto e = run_vorlane(dir, "missing.exp t.prt out.hkl x.hkl");
  EXPECT_EQ(e.status, 2);
  EXPECT_NE(e.err.find("ERROR OPENING EXPERIMENT FILE"), std::string::npos);
}

TEST_F(Cli, PrintFileThatCannotBeWrittenIsAFailure) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  write_file(dir + "/t.exp", kExp);
  write_file(dir + "/d.hkl", kHkl);
  const auto r = run_vorlane(dir, "--out-format shelx t.exp /dev/full d.hkl o.hkl");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out.find("FINISHED"), std::string::npos);
}

TEST_F(Cli, OutputFileThatCannotBeWrittenIsAFailure) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  write_file(dir + "/t.exp", kExp);
  write_file(dir + "/d.hkl", kHkl);
  const auto r = run_vorlane(dir, "--out-format shelx t.exp t.prt d.hkl /dev/full");
  EXPECT_EQ(r.status, 1);
}

TEST_F(Cli, FatalErrorInTheExperimentFileExitsOne) {
  write_file(dir + "/t.exp", "UB 1 0 0\nUB 0 1 0\nUB 0 0 1\nUB 1 1 1\n");
  write_file(dir + "/d.hkl", kHkl);
  const auto r = run_vorlane(dir, "t.exp t.prt d.hkl o.hkl");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("TOO MANY UB LINES IN EXP FILE"), std::string::npos);
  const std::string prt = read_text_file(dir + "/t.prt");
  EXPECT_NE(prt.find("****FATAL ERROR:\n    TOO MANY UB LINES IN EXP FILE"), std::string::npos);
  EXPECT_NE(prt.find("****PROGRAM WILL HALT"), std::string::npos);
}

}  // namespace
}  // namespace vorlane
