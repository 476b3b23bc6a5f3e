// Whole runs that classify sets: space-group violations under each treatment of absences,
// the 2theta window, Zezor input and output, individual output, and the CIF counts.
#include <gtest/gtest.h>

#include "e2e/e2e_expect.hpp"
#include "e2e/e2e_run.hpp"

namespace vorlane {
namespace {

using testing::after_date;
using testing::blanks;
using testing::E2eRun;
using testing::find_line;
using testing::lines_from;
using testing::rgroup;
using testing::rj;
using testing::rrow;
using testing::rzero;
using testing::set_line;
using testing::SummaryCounts;
using testing::summary_lines;
using testing::zezor_record;

using Lines = std::vector<std::string>;

// P2(1) (SYMOP -X,Y+1/2,-Z, no asymmetric unit: every index triple is its own set), cell
// 2 x 2 x 2 A, wavelength 1.0 A, window 5 to 62 degrees. Each set is a pair of equal
// measurements F = 10.000, s(F) = 0.250, so F2 = 100 and s(F2) = 2*0.25*10 = 5.
//   set 1 (1,0,0) 2theta 10.00            allowed, inside            IABS 0
//   set 2 (0,1,0) 2theta 20.00            0k0 with k odd: violation  IABS 1
//   set 3 (0,3,0) 2theta 70.00            violation and above 62     IABS 3
//   set 4 (2,0,0) 2theta 62.00            exactly at the limit: in   IABS 0
//   set 5 (0,0,1) 2theta  4.98            below 5                    IABS 2
//   set 6 (1,1,0) 2theta -30.00           tested as 30: inside       IABS 0
// The auxiliary value of the set is the first record's (n.0 for set n); the second member
// carries 9.0, which must never be written.
std::string p21_exp(const std::string& absent_card) {
  return "TITLE  p21 classes\nCELL  2.0 2.0 2.0 90 90 90\nWAVEL 1 1.0\n"
         "VORLAN SYMOP -X,Y+1/2,-Z\nVORLAN 2THETA MIN 5.0 MAX 62.0\n" +
         absent_card;
}

std::string p21_data() {
  struct S {
    int h, k, l;
    const char* aux;
    const char* tth;
  };
  const S sets[] = {{1, 0, 0, "1.0", "10.00"}, {0, 1, 0, "2.0", "20.00"},
                    {0, 3, 0, "3.0", "70.00"}, {2, 0, 0, "4.0", "62.00"},
                    {0, 0, 1, "5.0", "4.98"},  {1, 1, 0, "6.0", "-30.00"}};
  std::string first, second;
  for (const S& s : sets) {
    first += zezor_record(s.h, s.k, s.l, "10.000", "0.250", s.aux, s.tth);
    second += zezor_record(s.h, s.k, s.l, "10.000", "0.250", "9.0", s.tth);
  }
  return first + second;
}

// A Zezor output record of one of these sets: F = sqrt(100) = 10 in F9.6 (10.001 has two
// integer digits: 9 - 3 = 6 decimals), s(F) = 5/2/10 = 0.25 in F5.3 (one integer digit,
// counted even for a value below 1, and the point: 5 - 2 = 3), the auxiliary value in F10.5, the flag, 5 blanks, 2theta and three zeros
// in F7.2, the sequence number.
std::string zez_out(const std::string& hkl, const std::string& aux, int flag,
                    const std::string& tth, int seq) {
  return hkl + " 10.000000 0.250" + rj(aux, 10) + rj(std::to_string(flag), 5) + blanks(5) +
         rj(tth, 7) + "   0.00   0.00   0.00" + rj(std::to_string(seq), 5) + "\n";
}

// Listing line of a pair: FAVE 100, V = 0 so INT = INT2 = 0, EXT = EXT2 = 5, SIGAVE 5
// (largest member 100 allows 3 decimals, SIGAVE 5 needs one factor 10: k = 1 -> 2).
std::string pair_line(const std::string& hkl, char flag) {
  return set_line(hkl, flag, {"100.00", "5.00", "0.00", "5.00", "0.00", "5.00"}, 2, 2,
                  {{"100.00"}, {"100.00"}});
}

SummaryCounts p21_counts(const std::string& treatment) {
  SummaryCounts c;
  c.read = 12;
  c.viol_ind = 4;  // sets 2 and 3
  c.treatment = treatment;
  c.out_ind = 2;  // set 5
  c.tthmin = " 5.00";
  c.tthmax = " 62.00";
  c.passed = 6;
  c.gt_ind = 6;
  c.sets = 6;
  c.viol_sets = 2;
  c.out_sets = 1;
  c.sets_passed = 3;
  c.averaged = 3;
  c.gt_sets = 3;
  return c;
}

// R rows: every pair has SUMD 0, SUMI 200, SUMS 10: RINT 0, RSIG 10/200 = 0.050, RSIG2 =
// 5/100 = 0.050. All sets: 12 members; inside the window (IABS 0 or 1): sets 1 2 4 6, 8;
// allowed (IABS 0): sets 1 4 6, 6.
Lines p21_rtable(bool with_allowed_row) {
  auto g = [](const char* n) { return rgroup(n, "0.000", "0.000", "0.050", "0.050"); };
  Lines rows{rrow("All Reflections", g("12."), g("12."), rzero()),
             rrow("Inside 2theta", g("8."), g("8."), rzero())};
  if (with_allowed_row) rows.push_back(rrow("Sp Gp allowed", g("6."), g("6."), rzero()));
  rows.push_back(rrow("Unrejected", g("6."), g("6."), rzero()));
  return rows;
}

struct AbsentCase {
  const char* card;
  const char* summary_text;
  const char* treatment;
  std::string output;
};

class RunAbsent : public ::testing::TestWithParam<int> {};

AbsentCase absent_case(int i) {
  const std::string s1 = zez_out("  1  0  0", "1.00000", 1, "10.00", 1);
  const std::string s4 = zez_out("  2  0  0", "4.00000", 1, "62.00", 4);
  const std::string s6 = zez_out("  1  1  0", "6.00000", 1, "30.00", 6);
  switch (i) {
    case 0:  // no ABSENT keyword: violations are rejected
      return {"", "SPACE GROUP VIOLATIONS WILL BE DELETED", "AND WERE REJECTED", s1 + s4 + s6};
    case 1:
      return {"VORLAN ABSENT REJECT\n", "SPACE GROUP VIOLATIONS WILL BE DELETED",
              "AND WERE REJECTED", s1 + s4 + s6};
    case 2:  // the violation inside the window is written as a less-than (flag 2)
      return {"VORLAN ABSENT LESSTHAN\n", "SPACE GROUP VIOLATIONS WILL BE RETAINED AS LESS-THANS",
              "AND WERE SET TO LESS-THANS",
              s1 + zez_out("  0  1  0", "2.00000", 2, "20.00", 2) + s4 + s6};
    default:
      return {"VORLAN ABSENT INCLUDE\n", "SPACE GROUP VIOLATIONS WILL BE RETAINED",
              "AND WERE INCLUDED",
              s1 + zez_out("  0  1  0", "2.00000", 1, "20.00", 2) + s4 + s6};
  }
}

TEST_P(RunAbsent, ViolationsAndTheTwoThetaWindow) {
  const AbsentCase ac = absent_case(GetParam());
  E2eRun r("e2e_absent");
  r.write("t.exp", p21_exp(ac.card));
  r.write("d.abs", p21_data());
  const auto res = r.run("t.exp t.prt d.abs o.avg");
  ASSERT_EQ(res.status, 0) << res.err;
  EXPECT_EQ(r.read("o.avg"), ac.output);

  const Lines prt = after_date(r.lines("t.prt"));
  EXPECT_EQ(prt[find_line(prt, "SPACE GROUP VIOLATIONS WILL")], "   " + std::string(ac.summary_text));
  // Flags: S for a violation (tested first), T for outside the window (sets 3 and 5).
  const std::size_t head = find_line(prt, "INDIVIDUAL SQUARED STRUCTURE FACTORS");
  EXPECT_EQ(lines_from(prt, "INDIVIDUAL SQUARED STRUCTURE FACTORS", 7),
            (Lines{prt[head], pair_line("  1  0  0", 'G'), pair_line("  0  1  0", 'S'),
                   pair_line("  0  3  0", 'T'), pair_line("  2  0  0", 'G'),
                   pair_line("  0  0  1", 'T'), pair_line("  1  1  0", 'G')}));
  EXPECT_EQ(lines_from(prt, "REFLECTIONS READ FROM INPUT FILE", 20),
            summary_lines(p21_counts(ac.treatment)));
  EXPECT_EQ(lines_from(prt, "All Reflections", 5)[4], "");
  EXPECT_EQ(lines_from(prt, "All Reflections", 4), p21_rtable(true));

  // The CIF describes the sets written: (1,0,0), (2,0,0), (1,1,0) and, when it is written,
  // the violation (0,1,0); never the sets outside the window. Theta from their members:
  // max 62/2, min 10/2; theta_full = min(31, asin(0.6) = 36.87). Complete set to 2theta 62
  // (cell 2 A, wavelength 1 A: h2+k2+l2 <= 4.24, less the absent (0,+-1,0)) in the Laue
  // class 2/m: 2 + 4 + 2 + 3 = 11 orbits; 3 allowed reflections measured: 3/11 = 0.273.
  const bool violation_written = GetParam() >= 2;
  const Lines cif = r.lines("o_vorlane.cif");
  EXPECT_EQ(lines_from(cif, "_diffrn_reflns_limit_h_max", 14),
            (Lines{"_diffrn_reflns_limit_h_max               2",
                   violation_written ? "_diffrn_reflns_limit_h_min               0"
                                     : "_diffrn_reflns_limit_h_min               1",
                   "_diffrn_reflns_limit_k_max               1",
                   "_diffrn_reflns_limit_k_min               0",
                   "_diffrn_reflns_limit_l_max               0",
                   "_diffrn_reflns_limit_l_min               0",
                   violation_written ? "_diffrn_reflns_number                    8"
                                     : "_diffrn_reflns_number                    6",
                   "_diffrn_reflns_theta_full            31.00",
                   "_diffrn_reflns_theta_max             31.00",
                   "_diffrn_reflns_theta_min              5.00",
                   "_diffrn_measured_fraction_theta_max  0.273",
                   "_diffrn_measured_fraction_theta_full 0.273",
                   "_diffrn_reflns_Laue_measured_fraction_max          0.273",
                   "_diffrn_reflns_Laue_measured_fraction_full         0.273"}));
  EXPECT_EQ(lines_from(cif, "_diffrn_reflns_av_R_equivalents", 2),
            (Lines{"_diffrn_reflns_av_R_equivalents     0.0000",
                   "_diffrn_reflns_av_unetI/netI         0.050"}));
  // Lines written; the violation counts above the threshold only when included as it is.
  EXPECT_EQ(lines_from(cif, "_reflns_number_total", 2),
            (Lines{violation_written ? "_reflns_number_total                     4"
                                     : "_reflns_number_total                     3",
                   GetParam() == 3 ? "_reflns_number_gt                        4"
                                   : "_reflns_number_gt                        3"}));
}

INSTANTIATE_TEST_SUITE_P(EachTreatment, RunAbsent, ::testing::Values(0, 1, 2, 3));

// LAUE 2/M (planes h >= 0, k >= 0), which forces "not detectable" even after ABSENT REJECT,
// with individual output. (-1,1,1) reaches the asymmetric unit only as (1,1,-1) (the
// two-fold along b), so it joins the set opened by (1,1,-1) and keeps its indices as read.
// (0,1,0), F = 2, s(F) = 0.5: F2 = 4, s = 2; 2*2 = 4 is not below 4: a less-than member.
TEST(RunClassification, LaueClassIndividualOutputAndNoDetectableAbsences) {
  E2eRun r("e2e_laue");
  r.write("t.exp", "TITLE  laue\nVORLAN ABSENT REJECT\nVORLAN LAUE 2/M\nVORLAN OUTPUT INDIVIDUAL\n");
  r.write("d.abs", zezor_record(1, 1, -1, "10.000", "0.250", "1.0", "20.00") +
                       zezor_record(0, 1, 0, "2.000", "0.500", "2.0", "8.00") +
                       zezor_record(-1, 1, 1, "10.000", "0.250", "9.0", "21.00"));
  const auto res = r.run("t.exp t.prt d.abs o.abs");
  ASSERT_EQ(res.status, 0) << res.err;
  // One record per accepted member, numbered member by member; each member's own 2theta,
  // the set's auxiliary value. F = 2 in F9.7, s(F) = 2/2/2 = 0.5 in F5.3.
  EXPECT_EQ(r.read("o.abs"),
            zez_out("  1  1 -1", "1.00000", 1, "20.00", 1) +
                zez_out(" -1  1  1", "1.00000", 1, "21.00", 2) +
                "  0  1  0 2.0000000 0.500   2.00000    2        8.00   0.00   0.00   0.00    3\n");

  const Lines prt = after_date(r.lines("t.prt"));
  EXPECT_EQ(prt[find_line(prt, "SPACE GROUP VIOLATIONS WILL")],
            "   SPACE GROUP VIOLATIONS WILL NOT BE DETECTED");
  EXPECT_EQ(prt[find_line(prt, "REFLECTIONS WILL BE WRITTEN")],
            "   INDIVIDUAL REFLECTIONS WILL BE WRITTEN TO OUTPUT FILE");
  EXPECT_EQ(lines_from(prt, "  1  1 -1 G", 1)[0], pair_line("  1  1 -1", 'G'));
  // Individual output: the singlet heading has no factor.
  EXPECT_EQ(lines_from(prt, "THE FOLLOWING REFLECTIONS WERE SINGLY", 4),
            (Lines{blanks(9) + "THE FOLLOWING REFLECTIONS WERE SINGLY-DETERMINED ", "",
                   "  H  K  L    F2(AVE) SIGF2  INT    EXT    INT2   EXT2 NEQ NAVE   FSQ",
                   set_line("  0  1  0", 'L', {"4.00", "2.00", "0.00", "2.00", "0.00", "2.00"}, 1,
                            1, {{"4.00"}}, false)}));
  SummaryCounts c;
  c.read = 3;
  c.treatment = "(NO SYMMETRY INFO TO DETECT THEM)";
  c.passed = 3;
  c.singlets = 1;
  c.gt_ind = 2;
  c.lt_ind = 1;
  c.sets = 2;
  c.sets_passed = 2;
  c.averaged = 1;
  c.gt_sets = 1;
  c.lt_sets = 1;
  EXPECT_EQ(lines_from(prt, "REFLECTIONS READ FROM INPUT FILE", 20), summary_lines(c));
  // No "Sp Gp allowed" row when absences cannot be detected.
  const std::string g = rgroup("2.", "0.000", "0.000", "0.050", "0.050");
  EXPECT_EQ(lines_from(prt, "All Reflections", 4),
            (Lines{rrow("All Reflections", g, g, rzero()), rrow("Inside 2theta", g, g, rzero()),
                   rrow("Unrejected", g, g, rzero()), ""}));
  // Individual output counts individuals in the CIF: 3 passed, 2 observed.
  const Lines cif = r.lines("o_vorlane.cif");
  EXPECT_EQ(lines_from(cif, "_diffrn_reflns_limit_h_max", 12),
            (Lines{"_diffrn_reflns_limit_h_max               1",
                   "_diffrn_reflns_limit_h_min              -1",
                   "_diffrn_reflns_limit_k_max               1",
                   "_diffrn_reflns_limit_k_min               1",
                   "_diffrn_reflns_limit_l_max               1",
                   "_diffrn_reflns_limit_l_min              -1",
                   "_diffrn_reflns_number                    3",
                   "_diffrn_reflns_theta_full            10.50",
                   "_diffrn_reflns_theta_max             10.50",
                   "_diffrn_reflns_theta_min              4.00",
                   "_diffrn_measured_fraction_theta_max      ?",
                   "_diffrn_measured_fraction_theta_full     ?"}));
  EXPECT_EQ(lines_from(cif, "_reflns_number_total", 2),
            (Lines{"_reflns_number_total                     3",
                   "_reflns_number_gt                        2"}));
}

}  // namespace
}  // namespace vorlane
