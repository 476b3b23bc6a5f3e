// Fatal-error and warning blocks in the print file, the halt flag and the box texts.
#include <gtest/gtest.h>

#include "run/messages.hpp"
#include "support/test_support.hpp"

namespace vorlane {
namespace {

using testing::MemoryRun;

TEST(Messages, FatalBlockIsLeftJustifiedAndCutAt100) {
  MemoryRun m;
  std::string text(120, 'x');
  for (int i = 0; i < 120; ++i) text[static_cast<std::size_t>(i)] = static_cast<char>('A' + i % 26);
  run::fatal(m.rs, text);
  EXPECT_EQ(m.rs.msg.IHALT, 1);
  const auto lines = m.print_lines();
  // Control characters are not printed; "*" in column 1 is one of them.
  const std::vector<std::string> expected = {
      "", "", "****FATAL ERROR:", "    " + text.substr(0, 100), "", "****PROGRAM WILL HALT", ""};
  EXPECT_EQ(lines, expected);
  ASSERT_EQ(m.dialogs.fatal_texts.size(), 1u);
  // The box shows the text up to the first blank of the first run of five blanks.
  EXPECT_EQ(m.dialogs.fatal_texts[0], text + " ");
}

TEST(Messages, FatalShortTextIsPaddedWithBlanksToTheField) {
  MemoryRun m;
  run::fatal(m.rs, "TOO MANY UB LINES IN EXP FILE");
  const auto lines = m.print_lines();
  ASSERT_EQ(lines.size(), 7u);
  EXPECT_EQ(lines[3], "    TOO MANY UB LINES IN EXP FILE" + std::string(71, ' '));
  EXPECT_EQ(m.dialogs.fatal_texts.at(0), "TOO MANY UB LINES IN EXP FILE ");
}

TEST(Messages, FatalBoxStopsAtTheFirstRunOfFiveBlanks) {
  EXPECT_EQ(run::fatal_box_text("A B  C     D"), "A B  C ");
  EXPECT_EQ(run::fatal_box_text("NO RUN"), "");
  EXPECT_EQ(run::fatal_box_text("1.0    2.0          3.0"), "1.0    2.0 ");
}

TEST(Messages, WarningOfTenCharactersStandsRightJustified) {
  MemoryRun m;
  run::warn(m.rs, "ABCDEFGHIJ");
  EXPECT_EQ(m.rs.msg.IHALT, 0);
  const auto lines = m.print_lines();
  // Record: control blank, 4 more of 5X, then 89 blanks before the 11 characters (L = 11).
  const std::vector<std::string> expected = {"",
                                             "",
                                             "****WARNING:",
                                             std::string(4 + 89, ' ') + "ABCDEFGHIJ ",
                                             "",
                                             "****PROGRAM WILL CONTINUE",
                                             ""};
  EXPECT_EQ(lines, expected);
  ASSERT_EQ(m.dialogs.warning_texts.size(), 1u);
  EXPECT_EQ(m.dialogs.warning_texts[0], "ABCDEFGHIJ ");
}

TEST(Messages, WarningCutAtThirteenBlanksAndAtHundredColumns) {
  MemoryRun m;
  run::warn(m.rs, "FIRST PART" + std::string(13, ' ') + "SECOND PART");
  EXPECT_EQ(m.dialogs.warning_texts.at(0), "FIRST PART ");
  MemoryRun n;
  const std::string long_text(150, 'W');
  run::warn(n.rs, long_text);
  // L = 151 while the print file is open, so both the block and the box show 100 characters.
  EXPECT_EQ(n.print_lines().at(3), "    " + long_text.substr(0, 100));
  EXPECT_EQ(n.dialogs.warning_texts.at(0), long_text.substr(0, 100));
}

TEST(Messages, WarningWithoutPrintFileShowsTheWholeText) {
  MemoryRun m;
  m.rs.files.IPRTOPEN = 0;
  const std::string long_text(150, 'W');
  run::warn(m.rs, long_text);
  EXPECT_EQ(m.print_text(), "");
  EXPECT_EQ(m.dialogs.warning_texts.at(0), long_text + " ");
}

TEST(Messages, ErrmsgIsCutAt255) {
  MemoryRun m;
  run::set_errmsg(m.rs, std::string(300, 'E'));
  EXPECT_EQ(m.rs.msg.ERRMSG, std::string(255, 'E'));
  run::set_errmsg(m.rs, "X");
  EXPECT_EQ(m.rs.msg.ERRMSG.size(), 255u);
  EXPECT_EQ(m.rs.msg.ERRMSG.substr(0, 2), "X ");
}

TEST(Messages, EachKindOfWarningIsShownAHundredTimesThenCounted) {
  MemoryRun m;
  for (int line = 1; line <= 1000; ++line)
    run::warn(m.rs, "Error on reading input datafile at line" + std::to_string(line) + ": x");
  for (int n = 0; n < 3; ++n) run::warn(m.rs, "ANOTHER KIND");
  EXPECT_EQ(m.dialogs.warning_texts.size(), 103u);
  EXPECT_EQ(m.rs.report.warnings.size(), 103u);
  run::report_warnings_not_shown(m.rs);
  ASSERT_EQ(m.dialogs.warning_texts.size(), 104u);
  EXPECT_EQ(m.dialogs.warning_texts.back(),
            "and 900 more: Error on reading input datafile at line ");
  EXPECT_EQ(run::warning_kind("R(INT) = 0.3 IS HIGH"), "R(INT) =");
  MemoryRun big;
  big.rs.msg.warning_kinds["X"] = 1000100;
  run::report_warnings_not_shown(big.rs);
  EXPECT_EQ(big.dialogs.warning_texts.back(), "and 1 000 000 more: X ");
}

}  // namespace
}  // namespace vorlane
