#include "output/printdata.hpp"

#include <gtest/gtest.h>

#include <thread>

#include "averaging/totals_fixture.hpp"
#include "support/test_support.hpp"

namespace vorlane::output {
namespace {

using testing::blanks;
using testing::MemoryRun;
using testing::MemberSpec;
using testing::SetSpec;

// Appends a set and fills the sigmas of the listing.
void add(run::ReflectionList& refl, const SetSpec& wanted, float SIGAVE,
         std::array<float, 4> sigmas = {0, 0, 0, 0}) {
  testing::add_set(refl, wanted);
  auto& set = refl.sets.back();
  set.SIGAVE = SIGAVE;
  set.SIGINT_ = sigmas[0];
  set.SIGEXT = sigmas[1];
  set.SIGINT2 = sigmas[2];
  set.SIGEXT2 = sigmas[3];
}

const std::string kStars20(20, '*');
const std::vector<std::string> kTitle{
    "", "", "", std::string(19, '*') + "REFLECTION LISTING BY GROUP" + kStars20, "", ""};
const std::string kHeading = "  H  K  L    F2(AVE) SIGF2  INT    EXT    INT2   EXT2 NEQ NAVE" +
                             blanks(8) + "INDIVIDUAL SQUARED STRUCTURE FACTORS ";
const std::string kSingletHeading =
    "  H  K  L    F2(AVE) SIGF2  INT    EXT    INT2   EXT2 NEQ NAVE   FSQ";
const std::vector<std::string> kClosing{
    "", "", kStars20 + "END OF REFLECTION LISTING FROM VORLANE" + kStars20, "", "", ""};

std::vector<std::string> concat(std::initializer_list<std::vector<std::string>> parts) {
  std::vector<std::string> all;
  for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

TEST(ListingDecimals, RulesOfIntensityAndSigma) {
  // Intensity rule alone (sigma at most 0.01): F7 leaves 7 - digits - point decimals.
  EXPECT_EQ(listing_decimals(0.0f, 0.0f), 5);        // all members negative: 0.0 is used
  EXPECT_EQ(listing_decimals(120.0f, 0.01f), 3);
  EXPECT_EQ(listing_decimals(999999.0f, 0.0f), 0);
  EXPECT_EQ(listing_decimals(12345678.0f, 0.0f), 0);  // eight digits overflow: 0
  // Sigma rule: multiplications by 10 that take it above 10, at least 2, capping D.
  EXPECT_EQ(listing_decimals(1.0f, 0.5f), 2);
  EXPECT_EQ(listing_decimals(1.0f, 0.05f), 3);
  EXPECT_EQ(listing_decimals(1.0f, 25.0f), 2);
  EXPECT_EQ(listing_decimals(1.0f, 0.011f), 3);   // 0.11, 1.1, 11
  EXPECT_EQ(listing_decimals(1.0f, 10.0f), 2);    // exactly 10 is not above 10: k = 1, raised
  EXPECT_EQ(listing_decimals(1.0f, 0.01f), 5);  // not above 0.01: intensity rule alone
  EXPECT_EQ(listing_decimals(120.0f, 0.05f), 3);  // the smaller of the two
  EXPECT_EQ(listing_decimals(0.0f, 0.5f), 2);
}

TEST(PrintData, AveragedSetsFlagsMarksAndSinglets) {
  MemoryRun run;
  auto& refl = run.rs.refl;
  // G set of three members with an outlier (B); D = min(3 from 120, 2 from sigma 1.5) = 2.
  add(refl, SetSpec{{1, 2, 3}, {{100.5f}, {98.25f}, {120.0f, 1, 2}}, 99.4f, 0, 1}, 1.5f,
      {1.6f, 2.0f, 1.7f, 1.4f});
  // Less-than set with a DAC dip (D), members negative: D = min(5, 2 from sigma 0.5) = 2.
  add(refl, SetSpec{{-2, 0, 11}, {{-1.25f}, {-3.5f, 1, 1}}, -1.25f, 0, 0}, 0.5f);
  // Violation and outside-2theta sets: flags S and T (IABS 3 reads T).
  add(refl, SetSpec{{0, 0, 1}, {{5.0f}, {6.0f}}, 5.5f, 1, 1}, 0.005f);
  add(refl, SetSpec{{0, 0, 2}, {{5.0f}, {6.0f}}, 5.5f, 3, 1}, 0.005f);
  // A singlet: D = min(4 from 12.5, 3 from sigma 0.05) = 3.
  add(refl, SetSpec{{4, 0, 0}, {{12.5f}}, 12.5f, 0, 1}, 0.05f, {0.05f, 0.05f, 0.05f, 0.05f});
  run.rs.ctl.IOUTAVE = 1;
  run.rs.res.SIGFACT = 1.25f;
  PRINTDATA(run.rs);
  const auto expected = concat({
      kTitle,
      {"", "", kHeading,
       "  1  2  3 G   99.40   1.50   1.60   2.00   1.70   1.40  3  2  100.50    98.25   120.00B",
       " -2  0 11 L   -1.25   0.50   0.00   0.00   0.00   0.00  2  1   -1.25    -3.50D",
       // Sigma 0.005 leaves D from the intensities: 6.0 gives 5 decimals, and the fields,
       // filled to the last column, run together.
       "  0  0  1 S 5.500000.005000.000000.000000.000000.00000  2  2 5.00000  6.00000 ",
       "  0  0  2 T 5.500000.005000.000000.000000.000000.00000  2  2 5.00000  6.00000 ",
       "", blanks(9) + "THE FOLLOWING REFLECTIONS WERE SINGLY-DETERMINED  - SIGMAS HAVE BEEN "
                       "MULTIPLIED BY  1.25",
       "", kSingletHeading,
       "  4  0  0 G  12.500  0.050  0.050  0.050  0.050  0.050  1  1  12.500"},
      kClosing,
  });
  EXPECT_EQ(run.print_lines(), expected);
}

TEST(PrintData, EightMembersOneLineNineMembersTwo) {
  MemoryRun run;
  std::vector<MemberSpec> eight;
  for (int m = 1; m <= 8; ++m) eight.push_back({static_cast<float>(m)});
  std::vector<MemberSpec> nine = eight;
  nine.push_back({9.0f, 1, 1});
  add(run.rs.refl, SetSpec{{1, 1, 1}, eight, 4.5f, 0, 1}, 0.5f);
  add(run.rs.refl, SetSpec{{2, 1, 1}, nine, 4.5f, 0, 1}, 0.5f);
  PRINTDATA(run.rs);
  const auto lines = run.print_lines();
  const std::string head = "    4.50   0.50   0.00   0.00   0.00   0.00";
  std::string members;
  for (int m = 1; m <= 8; ++m) members += "    " + std::to_string(m) + ".00 ";
  ASSERT_EQ(lines.size(), kTitle.size() + 3 + 3 + kClosing.size());
  EXPECT_EQ(lines[9], "  1  1  1 G" + head + "  8  8" + members);
  EXPECT_EQ(lines[10], "  2  1  1 G" + head + "  9  8" + members);
  // The ninth member alone, in the columns of the first member above it.
  EXPECT_EQ(lines[11], blanks(60) + "    9.00D");
  EXPECT_EQ(lines[11].find("9.00"), lines[10].find("1.00"));
  EXPECT_EQ(lines[12], "");  // closing follows the last group: no singlet section
}

TEST(PrintData, SeventeenMembersFillTwoLinesAndOne) {
  MemoryRun run;
  std::vector<MemberSpec> members;
  for (int m = 1; m <= 17; ++m) members.push_back({static_cast<float>(m)});
  add(run.rs.refl, SetSpec{{1, 1, 1}, members, 9.0f, 0, 1}, 0.5f);
  PRINTDATA(run.rs);
  const auto lines = run.print_lines();
  std::string second;
  for (int m = 9; m <= 16; ++m) second += (m < 10 ? "    " : "   ") + std::to_string(m) + ".00 ";
  EXPECT_EQ(lines[10], blanks(60) + second);
  EXPECT_EQ(lines[11], blanks(60) + "   17.00 ");
}

TEST(PrintData, HeadingRepeatsAfterFiftyEightLines) {
  MemoryRun run;
  for (int j = 1; j <= 60; ++j) {
    add(run.rs.refl, SetSpec{{j, 0, 0}, {{2.0f}, {2.0f}}, 2.0f, 0, 1}, 0.5f);
  }
  // One set of nine members (two lines) after the break.
  std::vector<MemberSpec> nine(9, MemberSpec{2.0f});
  add(run.rs.refl, SetSpec{{0, 9, 0}, nine, 2.0f, 0, 1}, 0.5f);
  PRINTDATA(run.rs);
  const auto lines = run.print_lines();
  std::vector<std::size_t> headings;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i] == kHeading) headings.push_back(i);
  }
  // The count starts at 1 under the heading; set 57 brings it to 58, set 58 to 59: the
  // heading is written again (with its two empty lines) before set 58, and the count restarts
  // at that set's one line.
  ASSERT_EQ(headings.size(), 2u);
  EXPECT_EQ(headings[0], 8u);
  EXPECT_EQ(lines[8 + 57].substr(0, 9), " 57  0  0");
  EXPECT_EQ(lines[8 + 58], "");
  EXPECT_EQ(lines[8 + 59], "");
  EXPECT_EQ(headings[1], 8u + 60);
  EXPECT_EQ(lines[headings[1] + 1].substr(0, 9), " 58  0  0");
  EXPECT_EQ(lines[headings[1] + 3].substr(0, 9), " 60  0  0");
  EXPECT_EQ(lines[headings[1] + 4].substr(0, 9), "  0  9  0");
}

TEST(PrintData, ManyBlocksFormedAheadOrNotGiveOneListing) {
  // Sets of 1 to 19 members over several blocks of the listing: every set with two or more
  // members appears once, in order; a heading comes exactly where the next set would pass 58
  // lines; and blocks formed ahead (here from another thread, before the listing is written)
  // give the same text as blocks formed while it is written.
  auto fill = [](run::ReflectionList& refl) {
    for (int s = 0; s < 9000; ++s) {
      std::vector<MemberSpec> members(static_cast<std::size_t>(1 + (s * 7) % 19),
                                      MemberSpec{2.0f + static_cast<float>(s % 5)});
      add(refl, SetSpec{{s % 90, s / 90, 1}, members, 2.0f, 0, 1}, 0.5f);
    }
  };
  MemoryRun plain;
  fill(plain.rs.refl);
  PRINTDATA(plain.rs);
  MemoryRun ahead;
  fill(ahead.rs.refl);
  ListingBlocks blocks(ahead.rs.refl);
  std::thread former([&blocks] {
    for (int i = 0; i < 3; ++i) blocks.form_next();
  });
  former.join();
  PRINTDATA(ahead.rs, blocks);
  const auto lines = plain.print_lines();
  EXPECT_EQ(lines, ahead.print_lines());

  auto i3 = [](int v) {
    const std::string t = std::to_string(v);
    return std::string(3 - t.size(), ' ') + t;
  };
  ASSERT_EQ(lines[8], kHeading);
  int count = 1;            // lines on the first page, its heading counted
  int before_heading = -1;  // the count when a later heading came
  int next_set = 0;
  for (std::size_t i = 9; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    if (line.find("SINGLY-DETERMINED") != std::string::npos) break;  // the singlets' part
    if (line == kHeading) {  // a later page counts its sets' lines only
      before_heading = count;
      count = 0;
      continue;
    }
    if (line.size() < 11 || line[10] != 'G') continue;  // member lines and empty lines
    while (1 + (next_set * 7) % 19 < 2) ++next_set;      // singlets are listed apart
    const int set_lines = 1 + ((next_set * 7) % 19) / 8;
    ASSERT_EQ(line.substr(0, 9), i3(next_set % 90) + i3(next_set / 90) + i3(1)) << i;
    ASSERT_LE(count + set_lines, 58) << "set " << next_set << " should have had a heading";
    if (before_heading >= 0) {
      // A heading came only because this set would not have fitted.
      ASSERT_GT(before_heading + set_lines, 58) << "set " << next_set;
      before_heading = -1;
    }
    count += set_lines;
    ++next_set;
  }
  // Every set with two or more members was met (the last set is one of them).
  EXPECT_EQ(next_set, 9000);
  EXPECT_GE(1 + (8999 * 7) % 19, 2);
}

TEST(PrintData, OnlySingletsAndIndividualOutput) {
  MemoryRun run;
  add(run.rs.refl, SetSpec{{1, 0, 0}, {{3.0f}}, 3.0f, 0, 1}, 1.5f);
  add(run.rs.refl, SetSpec{{2, 0, 0}, {{-0.5f, 1, 0, 0}}, -0.5f, 0, 0}, 1.5f);
  run.rs.ctl.IOUTAVE = 0;
  PRINTDATA(run.rs);
  const auto expected = concat({
      kTitle,
      {"", "", kHeading, "", blanks(9) + "THE FOLLOWING REFLECTIONS WERE SINGLY-DETERMINED ", "",
       kSingletHeading,
       // Sigma 1.5 allows 2 decimals; a negative average is listed from the 0.0 rule.
       "  1  0  0 G    3.00   1.50   0.00   0.00   0.00   0.00  1  1    3.00",
       "  2  0  0 L   -0.50   1.50   0.00   0.00   0.00   0.00  1  1   -0.50"},
      kClosing,
  });
  EXPECT_EQ(run.print_lines(), expected);
}

TEST(PrintData, SingletHeadingRepeatsAfterTheLineThatPassesFiftyEight) {
  MemoryRun run;
  for (int j = 1; j <= 60; ++j) {
    add(run.rs.refl, SetSpec{{j, 0, 0}, {{2.0f}}, 2.0f, 0, 1}, 0.5f);
  }
  PRINTDATA(run.rs);
  const auto lines = run.print_lines();
  // n = 1 + 3 for the singlet section; the 55th singlet makes it 59: the heading of the
  // groups follows that line and the count restarts at 1.
  const std::size_t first = 13;  // title 6, heading 3, singlet text 3, singlet heading 1
  EXPECT_EQ(lines[first - 1], kSingletHeading);
  EXPECT_EQ(lines[first].substr(0, 9), "  1  0  0");
  EXPECT_EQ(lines[first + 54].substr(0, 9), " 55  0  0");
  EXPECT_EQ(lines[first + 55], "");
  EXPECT_EQ(lines[first + 56], "");
  EXPECT_EQ(lines[first + 57], kHeading);
  EXPECT_EQ(lines[first + 58].substr(0, 9), " 56  0  0");
}

TEST(PrintData, OverflowingIntensitiesPrintAsterisks) {
  MemoryRun run;
  add(run.rs.refl, SetSpec{{1, 0, 0}, {{12345678.0f}, {12345670.0f}}, 12345674.0f, 0, 1},
      3000.0f);
  PRINTDATA(run.rs);
  const auto lines = run.print_lines();
  // D = 0 (eight integer digits), not raised by the sigma rule.
  EXPECT_EQ(lines[9], "  1  0  0 G *******  3000.     0.     0.     0.     0.  2  2 *******  "
                      "******* ");
}

}  // namespace
}  // namespace vorlane::output
