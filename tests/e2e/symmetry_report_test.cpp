// The report's Symmetry section after whole runs of real data sets: the published group
// suggested, the same closing line as `vorlane symmetry` prints for the same data, the plots,
// the merged set refused with its reason, and one line for a run without a cell.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>

#include "e2e/e2e_run.hpp"
#include "support/test_support.hpp"

namespace vorlane {
namespace {

using testing::E2eRun;
using testing::read_text_file;

const std::string kData = std::string(VORLANE_TEST_DATA) + "/realdata/";

using testing::lower;

// The run's report from its Symmetry heading on.
std::string section_of_run(const E2eRun& r, const std::string& exp, const std::string& hkl) {
  r.write("run.exp", exp);
  r.write("data.hkl", read_text_file(hkl));
  const auto res = r.run("run.exp run.prt data.hkl out.hkl");
  EXPECT_EQ(res.status, 0) << res.err;
  const std::string page = r.read("out_report.html");
  EXPECT_EQ(lower(page).find("nan"), std::string::npos);
  EXPECT_EQ(lower(page).find("inf"), std::string::npos);
  const auto at = page.find("<h2>Symmetry from the data</h2>");
  EXPECT_NE(at, std::string::npos);
  return at == std::string::npos ? std::string() : page.substr(at);
}

TEST(SymmetryReport, PublishedGroupsSuggestedAsTheCommandSuggests) {
  struct Row {
    std::string set, group;  // the published group in the setting of the file
  };
  const Row rows[] = {{"cod1552546_c2c_ag", "C 1 2/c 1"},
                      {"dac_c1p1_p21c_crysalis", "P 1 21/c 1"},
                      {"cod2242045_p-1_crysalis", "P -1"}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.set);
    const E2eRun r("symmetry_report");
    const std::string h =
        section_of_run(r, read_text_file(kData + row.set + ".exp"), kData + row.set + ".hkl");
    for (const char* heading :
         {"<h3>Lattice centring</h3>", "<h3>Lattice symmetry</h3>", "<h3>Symmetry elements</h3>",
          "<h3>Laue classes</h3>", "<h3>Reflection conditions</h3>", "<h3>Space groups</h3>",
          "<h3>Intensity statistics</h3>"})
      EXPECT_EQ(testing::occurrences(h, heading), 1u) << heading;
    EXPECT_NE(h.find("<b>Suggested space group: " + row.group + " (No. "), std::string::npos);
    EXPECT_NE(h.find("; experiment-file card: VORLAN SPACEGROUP " + row.group + "</b>"),
              std::string::npos);
    EXPECT_EQ(testing::occurrences(h, "<svg"), 3u);
    EXPECT_NE(h.find("Cumulative intensity distribution N(z)"), std::string::npos);
    EXPECT_NE(h.find("Cumulative |L| distribution"), std::string::npos);
    EXPECT_NE(h.find("Wilson plot, B = "), std::string::npos);

    // The command analyses the same measurements: its closing line is the report's.
    const auto cli = r.run("symmetry run.exp data.hkl");
    ASSERT_EQ(cli.status, 0) << cli.err;
    const auto from = cli.out.find("Suggested space group: ");
    ASSERT_NE(from, std::string::npos);
    const std::string line = cli.out.substr(from, cli.out.find('\n', from) - from);
    EXPECT_NE(h.find("<b>" + line + "</b>"), std::string::npos) << line;
  }
}

TEST(SymmetryReport, MergedDataRefusedWithTheReason) {
  const E2eRun r("symmetry_report");
  const std::string h = section_of_run(r, read_text_file(kData + "cod2240189_r-3c_merged.exp"),
                                       kData + "cod2240189_r-3c_merged.hkl");
  EXPECT_NE(h.find("<p class=\"warn\"><b>Space group not determinable: merged data: no "
                   "reflection was measured more than once"),
            std::string::npos)
      << h;
  EXPECT_NE(h.find("<p>Centring: R(obv)</p>"), std::string::npos);
  EXPECT_NE(h.find("repeated measurements n/a from 0 pairs"), std::string::npos);
  EXPECT_EQ(h.find("<svg"), std::string::npos);
  EXPECT_EQ(h.find("Suggested"), std::string::npos);
}

TEST(SymmetryReport, RunWithoutCellSaysWhy) {
  const E2eRun r("symmetry_report");
  std::string exp = read_text_file(kData + "cod1552546_c2c_ag.exp");
  exp.erase(exp.find("CELL"), exp.find('\n', exp.find("CELL")) - exp.find("CELL") + 1);
  const std::string h = section_of_run(r, exp, kData + "cod1552546_c2c_ag.hkl");
  EXPECT_EQ(h, "<h2>Symmetry from the data</h2>\n<p>Not analysed: it needs the cell (a CELL "
               "card in the experiment file).</p>\n</body></html>\n");
}

}  // namespace
}  // namespace vorlane
