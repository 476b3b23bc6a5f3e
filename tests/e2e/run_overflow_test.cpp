// Values that overflow their output fields: without a SCALE card the output scale is divided
// until every intensity fits and every record is written; with one, a value that does not fit
// ends the run as a failure, naming the reflection, before anything is written.
#include <gtest/gtest.h>

#include "e2e/e2e_run.hpp"

namespace vorlane {
namespace {

using testing::E2eRun;
using testing::find_line;
using Lines = std::vector<std::string>;

const char* kExp = "TITLE  overflow\nCELL  10 10 10 90 90 90\nWAVEL 1 0.71073\n";

std::string shelx(const char* hkl, const char* fsq, const char* sig) {
  std::string fsq_field(8 - std::string(fsq).size(), ' ');
  std::string sig_field(8 - std::string(sig).size(), ' ');
  return std::string(hkl) + fsq_field + fsq + sig_field + sig + "\n";
}

TEST(RunOverflow, NothingLeftOutAndAScaleThatDoesNotFitIsAFailure) {
  E2eRun r("e2e_overflow");
  r.write("t.exp", kExp);
  r.write("d.hkl", shelx("   1   0   0", "100.0", "2.0") + shelx("   2   0   0", "1.0E38", "2.0") +
                       shelx("   0   0   3", "50.0", "1.0"));
  const auto res = r.run("t.exp t.prt d.hkl o.hkl");
  ASSERT_EQ(res.status, 0) << res.err;
  EXPECT_EQ(r.lines("o.hkl").size(), 3u);
  const Lines cif = r.lines("o_vorlane.cif");
  EXPECT_EQ(cif[find_line(cif, "_reflns_number_total")], "_reflns_number_total                     3");
  EXPECT_EQ(cif[find_line(cif, "_diffrn_reflns_number")], "_diffrn_reflns_number                    3");
  EXPECT_EQ(res.out.find("left out (overflow)"), std::string::npos) << res.out;
  EXPECT_NE(res.out.find("OUTPUT SCALED BY 1E-33"), std::string::npos) << res.out;
  const Lines prt = r.lines("t.prt");
  EXPECT_EQ(find_line(prt, "RECORDS LEFT OUT: A VALUE OVERFLOWED ITS FIELD"), prt.size());

  E2eRun all("e2e_overflow_all");
  all.write("t.exp", std::string(kExp) + "VORLAN SCALE 1E30\n");
  all.write("d.hkl", shelx("   1   0   0", "100.0", "2.0") + shelx("   0   0   3", "50.0", "1.0"));
  const auto none = all.run("t.exp t.prt d.hkl o.hkl");
  EXPECT_EQ(none.status, 1);
  EXPECT_NE(none.err.find("OUTPUT FIELD TOO NARROW FOR REFLECTION 1 0 0 WITH SCALE 1e+30"),
            std::string::npos)
      << none.err;
  EXPECT_FALSE(all.exists("o_vorlane.cif"));
}

}  // namespace
}  // namespace vorlane
