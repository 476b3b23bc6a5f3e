// Whole runs checking the reflection listing's layout: sets of eight and nine members, the
// column heading repeated when a page would pass 58 lines, a listing of singlets only.
#include <gtest/gtest.h>

#include "e2e/e2e_expect.hpp"
#include "e2e/e2e_run.hpp"
#include "support/test_support.hpp"

namespace vorlane {
namespace {

using testing::after_date;
using testing::blanks;
using testing::E2eRun;
using testing::find_line;
using testing::MemberText;
using testing::set_line;
using testing::shelx_record;

using Lines = std::vector<std::string>;

const std::string kHeading =
    "  H  K  L    F2(AVE) SIGF2  INT    EXT    INT2   EXT2 NEQ NAVE        "
    "INDIVIDUAL SQUARED STRUCTURE FACTORS ";
const std::string kSingletHeading =
    "  H  K  L    F2(AVE) SIGF2  INT    EXT    INT2   EXT2 NEQ NAVE   FSQ";
const std::string kClosing =
    "********************END OF REFLECTION LISTING FROM VORLANE********************";

// The warning every run of SHELX data without cell or UB matrix ends with: its text (with the
// blank the warning length takes along) right-justified in 100 columns behind 4 blanks.
const std::vector<std::string> kNoCellWarning{
    "", "", "****WARNING:",
    blanks(4) + testing::rj("NO CELL AND NO UB MATRIX: EVERY 2THETA IS UNKNOWN, A 2THETA WINDOW "
                            "CANNOT APPLY ", 100),
    "", "****PROGRAM WILL CONTINUE", ""};

// The print file from line `title` up to the completeness block that the CIF stage appends
// (three empty lines before it); the run must end with the warning that no 2theta is known.
Lines listing_of_cellless_run(const Lines& prt, std::size_t title) {
  const std::size_t block = find_line(prt, "COMPLETENESS OF THE DATA WRITTEN") - 3;
  EXPECT_GE(prt.size(), kNoCellWarning.size());
  if (prt.size() >= kNoCellWarning.size()) {
    EXPECT_EQ(Lines(prt.end() - static_cast<std::ptrdiff_t>(kNoCellWarning.size()), prt.end()),
              Lines(kNoCellWarning.begin(), kNoCellWarning.end()));
  }
  return Lines(prt.begin() + static_cast<std::ptrdiff_t>(title),
               prt.begin() + static_cast<std::ptrdiff_t>(block));
}

std::string hkl3(int h, int k, int l) {
  return testing::rj(std::to_string(h), 3) + testing::rj(std::to_string(k), 3) +
         testing::rj(std::to_string(l), 3);
}

// Every set below has members of F2 100 and sigma 5 unless said otherwise: FAVE 100,
// INT = INT2 = 0, EXT = EXT2 = 5, SIGAVE 5, two decimals (SIGAVE 5 needs k = 1, raised to 2).
const std::vector<std::string> kPlain{"100.00", "5.00", "0.00", "5.00", "0.00", "5.00"};

// OUTLIER NONE. Set (1,0,0): eight members, one line. Set (2,0,0): eight members of 100 and a
// ninth of 109: FAVE = 909/9 = 101, V = 91881 - 9*101*101 = 72, INT = INT2 = sqrt(72/8) = 3,
// EXT = EXT2 = 5; the ninth member stands alone on a continuation line after 60 blanks (61X
// less the carriage control), in the columns of the first member above it. Then 58 pairs
// (h,1,0). Line count: 1 after the heading, 2 after the first set, 4 after the second, 4 + p
// after pair p: pair 55 would make 59 > 58, so the heading is written again before it.
TEST(RunListing, EightAndNineMembersAndTheRepeatedHeading) {
  E2eRun r("e2e_listing");
  r.write("t.exp", "TITLE  listing\nVORLAN OUTLIER NONE\n");
  std::string data;
  for (int i = 0; i < 8; ++i) data += shelx_record(1, 0, 0, "100.", "5.");
  for (int i = 0; i < 8; ++i) data += shelx_record(2, 0, 0, "100.", "5.");
  data += shelx_record(2, 0, 0, "109.", "5.");
  for (int h = 1; h <= 58; ++h) data += shelx_record(h, 1, 0, "100.", "5.");
  for (int h = 1; h <= 58; ++h) data += shelx_record(h, 1, 0, "100.", "5.");
  r.write("d.hkl", data + shelx_record(0, 0, 0, "0.", "0."));
  const auto res = r.run("t.exp t.prt d.hkl o.hkl");
  ASSERT_EQ(res.status, 0) << res.err;

  const Lines prt = after_date(r.lines("t.prt"));
  EXPECT_EQ(prt[find_line(prt, "OUTLIER REJECTION")], "   NO OUTLIER REJECTION");
  const std::size_t title = find_line(prt, "REFLECTION LISTING BY GROUP");
  ASSERT_LT(title, prt.size());
  Lines expected{"*******************REFLECTION LISTING BY GROUP********************", "", "", "",
                 "", kHeading};
  const std::vector<MemberText> eight(8, MemberText{"100.00"});
  expected.push_back(set_line("  1  0  0", 'G', kPlain, 8, 8, eight));
  expected.push_back(set_line("  2  0  0", 'G', {"101.00", "5.00", "3.00", "5.00", "3.00", "5.00"},
                              9, 9, eight));
  expected.push_back(blanks(60) + "  109.00 ");
  const std::vector<MemberText> two(2, MemberText{"100.00"});
  for (int h = 1; h <= 58; ++h) {
    if (h == 55) {
      expected.insert(expected.end(), {"", "", kHeading});
    }
    expected.push_back(set_line(hkl3(h, 1, 0), 'G', kPlain, 2, 2, two));
  }
  expected.insert(expected.end(), {"", "", kClosing, "", "", ""});
  const Lines got = listing_of_cellless_run(prt, title);
  EXPECT_EQ(got, expected);
  EXPECT_EQ(testing::count_lines(prt, "INDIVIDUAL SQUARED STRUCTURE FACTORS"), 2);
  // No rejection: no "Passed DAC dip" row; every set enters "Unrejected".
  const std::size_t all = find_line(prt, "All Reflections");
  ASSERT_LT(all + 4, prt.size());
  EXPECT_EQ(prt[all + 2].substr(0, 15), "Sp Gp allowed  ");
  EXPECT_EQ(prt[all + 3].substr(0, 22), "Unrejected        133.");  // 8 + 9 + 58*2
  EXPECT_EQ(prt[all + 4], "");
}

// Sixty singlets and nothing else: section title, column heading, then the singlet section.
// Line count: 1 after the heading, 4 after the singlet heading, 4 + j after singlet j: the
// 55th makes 59 > 58, and the column heading follows it.
TEST(RunListing, OnlySingletsWithTheHeadingRepeated) {
  E2eRun r("e2e_singlets");
  r.write("t.exp", "TITLE  singlets\n");
  std::string data;
  for (int h = 1; h <= 60; ++h) data += shelx_record(h, 0, 0, "100.", "5.");
  r.write("d.hkl", data + shelx_record(0, 0, 0, "0.", "0."));
  const auto res = r.run("--sigma-ratio keep t.exp t.prt d.hkl o.hkl");
  ASSERT_EQ(res.status, 0) << res.err;

  const Lines prt = after_date(r.lines("t.prt"));
  const std::size_t title = find_line(prt, "REFLECTION LISTING BY GROUP");
  ASSERT_LT(title, prt.size());
  Lines expected{"*******************REFLECTION LISTING BY GROUP********************",
                 "",
                 "",
                 "",
                 "",
                 kHeading,
                 "",
                 blanks(9) + "THE FOLLOWING REFLECTIONS WERE SINGLY-DETERMINED " +
                     " - SIGMAS HAVE BEEN MULTIPLIED BY  1.00",
                 "",
                 kSingletHeading};
  for (int h = 1; h <= 60; ++h) {
    expected.push_back(set_line(hkl3(h, 0, 0), 'G', kPlain, 1, 1, {{"100.00"}}, false));
    if (h == 55) expected.insert(expected.end(), {"", "", kHeading});
  }
  expected.insert(expected.end(), {"", "", kClosing, "", "", ""});
  const Lines got = listing_of_cellless_run(prt, title);
  EXPECT_EQ(got, expected);

  // Every singlet is written; the R table has nothing to count.
  EXPECT_EQ(testing::split_lines(r.read("o.hkl")).size(), 60u);
  EXPECT_EQ(prt[find_line(prt, "All Reflections")],
            "All Reflections" + testing::rzero() + blanks(3) + testing::rzero() + blanks(3) +
                testing::rzero());
}

}  // namespace
}  // namespace vorlane
