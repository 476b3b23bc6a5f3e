// Whole runs through the command line on files that are not what a run expects: one file in
// two roles, a missing folder, a FIFO, foreign line ends and byte-order marks, negative
// sigmas, an empty 2theta window.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>

#include <filesystem>
#include <map>

#include "e2e/cli_support.hpp"
#include "support/test_support.hpp"

namespace vorlane {
namespace {

namespace fs = std::filesystem;
using testing::read_text_file;
using testing::run_vorlane;
using testing::write_file;

const std::string kExp = "TITLE  safety test\nCELL  5.0 6.0 7.0 90 90 90\nWAVEL 1 0.71073\n";
const std::string kHkl = "   1   0   0  100.00    2.00\n   1   0   0  104.00    2.00\n"
                         "   0   0   0    0.00    0.00\n";

class CliSafety : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = testing::make_temp_dir("safety");
    write_file(dir + "/t.exp", kExp);
    write_file(dir + "/d.hkl", kHkl);
    write_file(dir + "/old.prt", "earlier listing\n");
    fs::create_hard_link(dir + "/d.hkl", dir + "/link.hkl");
  }
  void TearDown() override { fs::remove_all(dir); }
  // Every file of the folder with its content (without the captured standard streams).
  std::map<std::string, std::string> folder() const {
    std::map<std::string, std::string> files;
    for (const auto& e : fs::directory_iterator(dir)) {
      const std::string name = e.path().filename().string();
      if (e.is_regular_file() && name != "stdout.txt" && name != "stderr.txt") {
        files[name] = read_text_file(e.path().string());
      }
    }
    return files;
  }
  std::string dir;
};

TEST_F(CliSafety, OneFileInTwoRolesIsRefusedBeforeAnythingIsWritten) {
  struct Case {
    std::string args;
    std::string roles;  // the two roles the message names
  };
  const Case cases[] = {
      {"t.exp t.prt d.hkl d.hkl", "input data file 'd.hkl' and the output data file"},
      {"t.exp t.prt d.hkl ./t.exp", "experiment file 't.exp' and the output data file"},
      {"t.exp d.hkl d.hkl o.hkl", "print file 'd.hkl' and the input data file"},
      {"t.exp t.prt link.hkl d.hkl", "input data file 'link.hkl' and the output data file"},
      {"t.exp o_vorlane.cif d.hkl o.hkl", "print file 'o_vorlane.cif' and the CIF fragment"},
      {"t.exp o_stats.json d.hkl o.hkl", "and the statistics file"},
      {"t.exp o_rejections.csv d.hkl o.v1.hkl", "and the rejection ledger"},
      {"t.exp o_report.html d.hkl ../" + fs::path(dir).filename().string() + "/o.hkl",
       "and the report"},
      {"t.exp new.prt d.hkl sub/../new.prt", "print file 'new.prt' and the output data file"},
  };
  fs::create_directory(dir + "/sub");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args);
    const auto before = folder();
    const auto r = run_vorlane(dir, c.args);
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find(c.roles), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("are the same file"), std::string::npos);
    EXPECT_EQ(folder(), before);  // nothing created, truncated or appended to
  }
}

TEST_F(CliSafety, FilesThatCannotPlayTheirRoleSayWhyAndCreateNothing) {
  ASSERT_EQ(mkfifo((dir + "/pipe.hkl").c_str(), 0600), 0);
  struct Case {
    std::string args;
    std::string reason;
  };
  const Case cases[] = {
      {"t.exp t.prt d.hkl missing/o.hkl", "(the folder 'missing' does not exist)"},
      {"t.exp missing/t.prt d.hkl o.hkl", "(the folder 'missing' does not exist)"},
      {"t.exp t.prt d.hkl t.exp/o.hkl", "('t.exp' is not a folder)"},
      {"t.exp t.prt pipe.hkl o.hkl", "input data file 'pipe.hkl' (not a regular file: a FIFO)"},
      {"t.exp t.prt sub o.hkl", "(it is a folder)"},
  };
  fs::create_directory(dir + "/sub");
  const auto before = folder();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args);
    const auto r = run_vorlane(dir, c.args);
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find(c.reason), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("permission denied"), std::string::npos);
    EXPECT_EQ(folder(), before);
  }
}

TEST_F(CliSafety, ForeignLineEndsByteOrderMarksAndNegativeSigmas) {
  // The experiment file with a BOM and CR line ends, the reflections with a BOM and mixed
  // CR, LF and CR LF line ends; one record has a negative sigma and is skipped by name.
  const std::string bom = "\xEF\xBB\xBF";
  write_file(dir + "/cr.exp", bom + "TITLE  safety test\rCELL  5.0 6.0 7.0 90 90 90\rWAVEL 1 0.71073\r");
  write_file(dir + "/mixed.hkl", bom + "   1   0   0  100.00    2.00\r   1   0   0  104.00    2.00\r\n"
                                       "   2   0   0   50.00   -1.00\n   2   0   0   -5.00   -1.00\r"
                                       "   0   0   0    0.00    0.00\r\n");
  const auto r = run_vorlane(dir, "cr.exp cr.prt mixed.hkl cr.hkl");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("reflections read           2"), std::string::npos) << r.out;
  const std::string prt = read_text_file(dir + "/cr.prt");
  EXPECT_NE(prt.find("SAFETY TEST"), std::string::npos);  // the TITLE card behind the mark
  // F2 > 0 and F2 <= 0 alike, each named by its line.
  EXPECT_NE(prt.find("Error on reading input datafile at line    3: negative sigma"),
            std::string::npos);
  EXPECT_NE(prt.find("Error on reading input datafile at line    4: negative sigma"),
            std::string::npos);
  // The same data with LF line ends give the same output file.
  const auto lf = run_vorlane(dir, "t.exp lf.prt d.hkl lf.hkl");
  ASSERT_EQ(lf.status, 0);
  EXPECT_EQ(read_text_file(dir + "/cr.hkl"), read_text_file(dir + "/lf.hkl"));
  // The cell (second card) was read: the completeness needs it.
  EXPECT_EQ(read_text_file(dir + "/cr_vorlane.cif"), read_text_file(dir + "/lf_vorlane.cif"));
  EXPECT_EQ(r.out.substr(0, r.out.find("print file")), lf.out.substr(0, lf.out.find("print file")));
}

TEST_F(CliSafety, AnEmptyTwoThetaWindowIsFatalAndNamesTheCard) {
  write_file(dir + "/w.exp", kExp + "VORLAN 2THETA MIN 60 MAX 5\n");
  const auto r = run_vorlane(dir, "w.exp w.prt d.hkl w.hkl");
  EXPECT_EQ(r.status, 1);
  const std::string prt = read_text_file(dir + "/w.prt");
  EXPECT_NE(prt.find("EMPTY 2THETA WINDOW:  STRING WAS: VORLAN 2THETA MIN 60 MAX 5"),
            std::string::npos)
      << prt;
}

TEST_F(CliSafety, ARunThatCannotGetMemoryHaltsWithAMessage) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "AddressSanitizer needs more address space than the limit leaves";
#endif
  // 500 000 distinct reflections (15 MB) under a 40 MB address-space limit that a small run
  // fits in easily.
  std::string big;
  big.reserve(500000 * 29);
  char record[64];
  for (int h = 1; h <= 100; ++h)
    for (int k = 0; k < 100; ++k)
      for (int l = 0; l < 50; ++l) {
        std::snprintf(record, sizeof record, "%4d%4d%4d  100.00    2.00\n", h, k, l);
        big += record;
      }
  write_file(dir + "/big.hkl", big);
  const auto limited = [&](const std::string& args) {
    const std::string cmd = "cd '" + dir + "' && (ulimit -v 40000; exec '" VORLANE_BIN_DIR
                            "/vorlane' " + args + ") </dev/null >/dev/null 2>err.txt";
    const int raw = std::system(cmd.c_str());
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  };
  EXPECT_EQ(limited("t.exp small.prt d.hkl small.hkl"), 0);
  EXPECT_EQ(limited("t.exp big.prt big.hkl out.hkl"), 1);
  EXPECT_NE(read_text_file(dir + "/err.txt").find("PROGRAM HALTED - NOT ENOUGH MEMORY"),
            std::string::npos);
  EXPECT_NE(read_text_file(dir + "/big.prt").find("PROGRAM HALTED - NOT ENOUGH MEMORY"),
            std::string::npos);
}

}  // namespace
}  // namespace vorlane
