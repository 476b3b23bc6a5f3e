#include "output/print_summary.hpp"

#include <gtest/gtest.h>

#include "support/test_support.hpp"

namespace vorlane::output {
namespace {

using testing::MemoryRun;

std::string blanks(std::size_t n) { return std::string(n, ' '); }

void set_defaults(run::RunState& rs) {
  rs.ctl.TITLE = "NICKEL SULFATE AT 4 GPA";
  rs.ctl.IABSENT = 2;
  rs.files.FNAME[2] = "ni.hkl";
  rs.files.FNAME[3] = "ni out.avg";
}

TEST(PrintSummary, DefaultControls) {
  MemoryRun run;
  set_defaults(run.rs);
  PRINT_SUMMARY(run.rs);
  std::string title = "NICKEL SULFATE AT 4 GPA";
  title.resize(80, ' ');
  const std::vector<std::string> expected{
      "",
      "",
      "",
      std::string(19, '*') + "GENERAL CONTROLS" + std::string(20, '*'),
      "",
      blanks(3) + title,
      // Names end at the first blank of their first run of eight blanks (a single blank
      // inside the name is kept).
      blanks(3) + " INPUT DATAFILE: ni.hkl ",
      blanks(3) + "OUTPUT DATAFILE: ni out.avg ",
      "",
      "",
      blanks(3) + "REJECTION LEVEL FOR LESS-THANS: 2.0 SIG(FSQ)",
      blanks(3) + "AND LESS-THANS WILL BE WRITTEN TO OUTPUT DATAFILE",
      "",
      blanks(3) + "SPACE GROUP VIOLATIONS WILL BE DELETED",
      "",
      blanks(3) + "BLESSING TEST VALUES FOR REFLECTION REJECTION ARE: 0.050 3.290 2.580 1.000",
      blanks(3) + "OUTLIERS IN SYMMETRY EQUIVALENT SETS WILL BE REJECTED",
      "",
      "",
      blanks(3) + "AVERAGED REFLECTIONS WILL BE WRITTEN TO OUTPUT FILE",
  };
  EXPECT_EQ(run.print_lines(), expected);
}

TEST(PrintSummary, NoFlipLineComesFirst) {
  MemoryRun run;
  set_defaults(run.rs);
  run.rs.ctl.INOFLIP = 1;
  PRINT_SUMMARY(run.rs);
  const auto lines = run.print_lines();
  ASSERT_GE(lines.size(), 6u);
  EXPECT_EQ(lines[0], "");
  EXPECT_EQ(lines[1], blanks(4) +
                          "Acentric space group and user request not to flip hkl to Friedel mate");
  EXPECT_EQ(lines[2], "");
  EXPECT_EQ(lines[5], std::string(19, '*') + "GENERAL CONTROLS" + std::string(20, '*'));
}

// The lines after the less-than level, for one set of controls.
std::vector<std::string> tail(run::RunState& rs) {
  MemoryRun run;
  run.rs.ctl = rs.ctl;
  run.rs.files.FNAME = rs.files.FNAME;
  PRINT_SUMMARY(run.rs);
  auto lines = run.print_lines();
  return std::vector<std::string>(lines.begin() + 11, lines.end());
}

TEST(PrintSummary, EveryTreatmentOfLessThansViolationsRejectionAndOutput) {
  MemoryRun base;
  set_defaults(base.rs);
  auto& ctl = base.rs.ctl;
  ctl.IREJLT = 1;
  ctl.IABSENT = 0;
  ctl.IREJMODE = 0;
  ctl.IOUTAVE = 0;
  EXPECT_EQ(tail(base.rs), (std::vector<std::string>{
                               blanks(3) + "LESS-THANS WILL NOT BE WRITTEN TO OUTPUT DATAFILE",
                               "",
                               blanks(3) + "SPACE GROUP VIOLATIONS WILL BE RETAINED",
                               blanks(3) + "NO OUTLIER REJECTION",
                               "",
                               "",
                               blanks(3) + "INDIVIDUAL REFLECTIONS WILL BE WRITTEN TO OUTPUT FILE",
                           }));

  ctl.IREJLT = 0;
  ctl.IABSENT = 1;
  ctl.IREJMODE = 2;
  ctl.BLESS = {0.1f, 4.0f, 3.5f, 2.25f};
  ctl.IOUTAVE = 1;
  ctl.INOSING = 1;
  EXPECT_EQ(tail(base.rs), (std::vector<std::string>{
                               blanks(3) + "AND LESS-THANS WILL BE WRITTEN TO OUTPUT DATAFILE",
                               "",
                               blanks(3) + "SPACE GROUP VIOLATIONS WILL BE RETAINED AS LESS-THANS",
                               "",
                               blanks(3) + "BLESSING TEST VALUES FOR REFLECTION REJECTION ARE: "
                                           "0.100 4.000 3.500 2.250",
                               blanks(3) + "DAC DIPS ONLY WILL BE REJECTED",
                               "",
                               "",
                               blanks(3) + "AVERAGED REFLECTIONS WILL BE WRITTEN TO OUTPUT FILE",
                               "",
                               "",
                               blanks(3) + "BUT SINGLETS WILL NOT BE OUTPUT",
                           }));

  ctl.IABSENT = 3;
  ctl.IREJMODE = 3;
  ctl.INOSING = 0;
  const auto lines = tail(base.rs);
  ASSERT_EQ(lines.size(), 9u);
  EXPECT_EQ(lines[2], blanks(3) + "SPACE GROUP VIOLATIONS WILL NOT BE DETECTED");
  EXPECT_EQ(lines[5], blanks(3) + "OUTLIERS IN SYMMETRY EQUIVALENT SETS AND DAC DIPS WILL BE REJECTED");
}

}  // namespace
}  // namespace vorlane::output
