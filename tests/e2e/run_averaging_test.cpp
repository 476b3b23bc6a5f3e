// Whole runs of the command line on small SHELX data sets whose averages, rejections and
// sigmas are worked out by hand. No CELL card, so every 2theta is 0 and the completeness
// lines of the CIF read "?".
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
using testing::MemberText;
using testing::rgroup;
using testing::rj;
using testing::rrow;
using testing::rzero;
using testing::set_line;
using testing::shelx_record;
using testing::SummaryCounts;
using testing::summary_lines;

using Lines = std::vector<std::string>;

std::string ratio_line(const std::string& f72) {
  return "     RATIO OUTPUT SIGMA TO EXTERNAL-SIG1 IS: " + f72;
}

std::string ratio_count_line(int n) {
  return "     CALCULATED FROM " + rj(std::to_string(n), 5) +
         " SYMMETRY-EQUIVALENT SETS WITH FSQ >  2.0 SIG(FSQ)";
}

std::string singlet_heading(const std::string& f52) {
  return blanks(9) + "THE FOLLOWING REFLECTIONS WERE SINGLY-DETERMINED " +
         " - SIGMAS HAVE BEEN MULTIPLIED BY " + f52;
}

// The listing line after the first line holding `text`.
std::string line_after(const Lines& lines, const std::string& text) {
  const std::size_t i = find_line(lines, text);
  return i + 1 < lines.size() ? lines[i + 1] : std::string("<missing>");
}

// DAC dips with BLESSING 0.1 1.0 2.0 0.0 (B4 = 0 keeps INT1 out of the threshold).
// Set (1,0,0): 110(s2) 96(s10) 85(s2) 109(s2). M = 100, EXT1 = sqrt((4+100+4+4)/4) = 5.2915,
//   T = max(0.1*100, 1.0*5.29, 0) = 10. Member 96 lies below M and 2.0*10 = 20 > 10 raises T
//   to 20; member 85 (M - I = 15) is then kept, although 15 > 10 would have rejected it.
//   No dip: FAVE 100, V = 40422 - 40000 = 422, INT1 = INT2 = sqrt(422/3) = 11.8603,
//   EXT2 = sqrt(4/(0.25+0.01+0.25+0.25)) = 2.2942, SIGAVE = 11.86.
// Set (2,0,0): 105 90 80 125, all s2. M = 100, EXT1 = 2, T = 10. Member 90: M - I = 10 is not
//   greater than T: kept. Member 80: 20 > 10, a dip. Then S1 = 320, FAVE = 106.667,
//   S2 = 11025+8100+15625 = 34750, V = 34750 - 320*106.667 = 616.67, INT1 = INT2 =
//   sqrt(308.33) = 17.5594, EXT1 = sqrt(12/3) = 2, EXT2 = sqrt(3/0.75) = 2, SIGAVE = 17.56.
// Listing decimals: largest member 110 / 125 gives 3, SIGAVE above 10 gives k = 0 -> 2.
// RATIO = (11.8603/5.2915 + 17.5594/2)/2 = (2.2414 + 8.7797)/2 = 5.51.
TEST(RunAveraging, DacDipsWithCarriedThresholdAndAMemberExactlyAtIt) {
  E2eRun r("e2e_dac");
  r.write("t.exp",
          "TITLE  dac dips\nVORLAN OUTLIER DAC\nVORLAN BLESSING 0.1 1.0 2.0 0.0\n");
  r.write("d.hkl", shelx_record(1, 0, 0, "110.", "2.") + shelx_record(2, 0, 0, "105.", "2.") +
                       shelx_record(1, 0, 0, "96.", "10.") + shelx_record(2, 0, 0, "90.", "2.") +
                       shelx_record(1, 0, 0, "85.", "2.") + shelx_record(2, 0, 0, "80.", "2.") +
                       shelx_record(1, 0, 0, "109.", "2.") + shelx_record(2, 0, 0, "125.", "2.") +
                       shelx_record(0, 0, 0, "0.", "0."));
  const auto res = r.run("t.exp t.prt d.hkl o.hkl");
  ASSERT_EQ(res.status, 0) << res.err;
  EXPECT_EQ(r.read("o.hkl"), "   1   0   0 100.000 11.8603\n"
                             "   2   0   0 106.667 17.5594\n");

  const Lines prt = after_date(r.lines("t.prt"));
  EXPECT_EQ(lines_from(prt, "BLESSING TEST VALUES", 2),
            (Lines{"   BLESSING TEST VALUES FOR REFLECTION REJECTION ARE: 0.100 1.000 2.000 0.000",
                   "   DAC DIPS ONLY WILL BE REJECTED"}));
  const std::size_t head = find_line(prt, "INDIVIDUAL SQUARED STRUCTURE FACTORS");
  ASSERT_LT(head + 3, prt.size());
  EXPECT_EQ(prt[head + 1],
            set_line("  1  0  0", 'G', {"100.00", "11.86", "11.86", "5.29", "11.86", "2.29"}, 4, 4,
                     {{"110.00"}, {"96.00"}, {"85.00"}, {"109.00"}}));
  EXPECT_EQ(prt[head + 2],
            set_line("  2  0  0", 'G', {"106.67", "17.56", "17.56", "2.00", "17.56", "2.00"}, 4, 3,
                     {{"105.00"}, {"90.00"}, {"80.00", 'D'}, {"125.00"}}));

  SummaryCounts c;
  c.read = 8;
  c.dac = 1;
  c.passed = 7;
  c.gt_ind = 7;
  c.sets = 2;
  c.sets_passed = 2;
  c.averaged = 2;
  c.gt_sets = 2;
  EXPECT_EQ(lines_from(prt, "REFLECTIONS READ FROM INPUT FILE", 20), summary_lines(c));

  // R table. All members: SUMD = 38 + (1.667+16.667+26.667+18.333) = 101.33, SUMI = 800,
  // RINT = 0.127; RINT2 = (38/400 + 63.33/400)/2 = 0.127; RSIG = (16+8)/800 = 0.030;
  // RSIG2 = (2/110+10/96+2/85+2/109 + 2/105+2/90+2/80+2/125)/8 = 0.2465/8 = 0.031.
  // Without the dip: NREF 7, RINT = 74.67/720 = 0.104, RINT2 = (0.095 + 36.67/320)/2 = 0.105,
  // RSIG = 22/720 = 0.031, RSIG2 = (0.2465 - 0.025)/7 = 0.032.
  const std::string all = rgroup("8.", "0.127", "0.127", "0.030", "0.031");
  const std::string kept = rgroup("7.", "0.104", "0.105", "0.031", "0.032");
  EXPECT_EQ(lines_from(prt, "All Reflections", 5),
            (Lines{rrow("All Reflections", all, all, rzero()),
                   rrow("Inside 2theta", all, all, rzero()),
                   rrow("Sp Gp allowed", all, all, rzero()),
                   rrow("Passed DAC dip", kept, kept, rzero()),
                   rrow("Unrejected", kept, kept, rzero())}));
  EXPECT_EQ(line_after(prt, "Unrejected"), "");
  EXPECT_EQ(lines_from(prt, "RATIO OUTPUT SIGMA", 2), (Lines{ratio_line("   5.51"), ratio_count_line(2)}));
  // No singlets: the closing line follows the last group after two empty lines.
  EXPECT_EQ(prt[head + 3], "");
  EXPECT_EQ(prt[head + 5], "********************END OF REFLECTION LISTING FROM VORLANE********************");

  const Lines cif = r.lines("o_vorlane.cif");
  // Limits of the indices as measured (h 1 and 2 only); SHELX input without cell or UB
  // matrix: no angle is known.
  EXPECT_EQ(lines_from(cif, "_diffrn_reflns_limit_h_max", 12),
            (Lines{"_diffrn_reflns_limit_h_max               2",
                   "_diffrn_reflns_limit_h_min               1",
                   "_diffrn_reflns_limit_k_max               0",
                   "_diffrn_reflns_limit_k_min               0",
                   "_diffrn_reflns_limit_l_max               0",
                   "_diffrn_reflns_limit_l_min               0",
                   "_diffrn_reflns_number                    8",
                   "_diffrn_reflns_theta_full                ?",
                   "_diffrn_reflns_theta_max                 ?",
                   "_diffrn_reflns_theta_min                 ?",
                   "_diffrn_measured_fraction_theta_max      ?",
                   "_diffrn_measured_fraction_theta_full     ?"}));
  EXPECT_EQ(lines_from(cif, "_diffrn_reflns_av_R_equivalents", 2),
            (Lines{"_diffrn_reflns_av_R_equivalents     0.1267",
                   "_diffrn_reflns_av_unetI/netI         0.030"}));
  EXPECT_EQ(lines_from(cif, "_reflns_number_total", 3),
            (Lines{"_reflns_number_total                     2",
                   "_reflns_number_gt                        2",
                   "_reflns_threshold_expression    'Fsqd > 2.0u(Fsqd)' "}));
}

// The R-table labels printed, in order (the rows up to the empty line after them).
Lines rtable_labels(const Lines& prt) {
  Lines labels;
  for (std::size_t i = find_line(prt, "All Reflections"); i < prt.size() && !prt[i].empty(); ++i) {
    labels.push_back(prt[i].substr(0, 15));
  }
  return labels;
}

// The same data with OUTLIER SYMMETRY DAC: after the dip, set (2,0,0) keeps 105 90 125 with
// M = 106.667, EXT1 = 2, INT1 = 17.56 (B4 = 0), T = max(10.667, 2, 0) = 10.667 (2*2 never
// raises it); 105 is 1.667 from M, 90 is 16.667 and 125 is 18.333 (M is not updated after a
// rejection): two outliers, and the set is left with one member: FAVE = S1 = 105, INT2 = 0,
// EXT2 = sqrt(1/0.25) = 2, SIGAVE = max(EXT1 2, INT1 17.56); INT and EXT those after the dip.
// Set (1,0,0): T = 10 raised to 20 by member 96 (s10) again; nothing is rejected.
TEST(RunAveraging, DacDipsThenOutliers) {
  E2eRun r("e2e_dacout");
  r.write("t.exp", "TITLE  dac dips\nVORLAN OUTLIER SYMMETRY DAC\nVORLAN BLESSING 0.1 1.0 2.0 0.0\n");
  r.write("d.hkl", shelx_record(1, 0, 0, "110.", "2.") + shelx_record(2, 0, 0, "105.", "2.") +
                       shelx_record(1, 0, 0, "96.", "10.") + shelx_record(2, 0, 0, "90.", "2.") +
                       shelx_record(1, 0, 0, "85.", "2.") + shelx_record(2, 0, 0, "80.", "2.") +
                       shelx_record(1, 0, 0, "109.", "2.") + shelx_record(2, 0, 0, "125.", "2.") +
                       shelx_record(0, 0, 0, "0.", "0."));
  const auto res = r.run("t.exp t.prt d.hkl o.hkl");
  ASSERT_EQ(res.status, 0) << res.err;
  EXPECT_EQ(r.read("o.hkl"), "   1   0   0 100.000 11.8603\n"
                             "   2   0   0 105.000 17.5594\n");
  const Lines prt = after_date(r.lines("t.prt"));
  EXPECT_EQ(prt[find_line(prt, "WILL BE REJECTED")],
            "   OUTLIERS IN SYMMETRY EQUIVALENT SETS AND DAC DIPS WILL BE REJECTED");
  EXPECT_EQ(prt[find_line(prt, "  2  0  0 G")],
            set_line("  2  0  0", 'G', {"105.00", "17.56", "17.56", "2.00", "0.00", "2.00"}, 4, 1,
                     {{"105.00"}, {"90.00", 'B'}, {"80.00", 'D'}, {"125.00", 'B'}}));
  SummaryCounts c;
  c.read = 8;
  c.dac = 1;
  c.outliers = 2;
  c.passed = 5;
  c.singlets = 1;  // the set reduced to one member
  c.gt_ind = 5;
  c.sets = 2;
  c.sets_passed = 2;
  c.averaged = 1;
  c.gt_sets = 2;
  EXPECT_EQ(lines_from(prt, "REFLECTIONS READ FROM INPUT FILE", 20), summary_lines(c));
  EXPECT_EQ(rtable_labels(prt), (Lines{"All Reflections", "Inside 2theta  ", "Sp Gp allowed  ",
                                       "Passed DAC dip ", "Unrejected     "}));
}

// Default controls (outlier test only, B = 0.05 3.29 2.58 1.0), sets in order of first
// appearance although the records are interleaved:
// (1,0,0) 100 100 100 140, s2: M = 110, INT1 = sqrt((3*100+900)/3) = 20, EXT1 = 2,
//   T = max(5.5, 6.58, 20) = 20; |140-110| = 30 > 20: outlier. FAVE 100, V = 0 -> INT2 0,
//   EXT2 2, SIGAVE 2. Ratio term 2/2 = 1.
// (0,1,0) 100 110, s2 (too few for the outlier test): FAVE 105, V = 22100 - 22050 = 50,
//   INT1 = INT2 = 7.0711, EXT2 = 2, SIGAVE 7.0711. Ratio term 7.0711/2 = 3.5355.
// (0,0,1) singlet 30, s8. (0,0,2) 3 4, s2: FAVE 3.5, INT = sqrt(0.5) = 0.71, SIGAVE 2;
//   2*2 = 4 is not below 3.5: a less-than, no ratio term.
// RATIO = (1 + 3.5355)/2 = 2.2678. Applied to the singlet: 8 * 2.2678 = 18.1421, and
// 2*18.14 = 36.3 > 30 turns it into a less-than.
std::string ratio_data() {
  return shelx_record(1, 0, 0, "100.", "2.") + shelx_record(0, 1, 0, "100.", "2.") +
         shelx_record(0, 0, 1, "30.", "8.") + shelx_record(1, 0, 0, "100.", "2.") +
         shelx_record(0, 0, 2, "3.", "2.") + shelx_record(0, 1, 0, "110.", "2.") +
         shelx_record(1, 0, 0, "100.", "2.") + shelx_record(0, 0, 2, "4.", "2.") +
         shelx_record(1, 0, 0, "140.", "2.") + shelx_record(0, 0, 0, "0.", "0.");
}

Lines ratio_listing_sets() {
  return {set_line("  1  0  0", 'G', {"100.00", "2.00", "20.00", "2.00", "0.00", "2.00"}, 4, 3,
                   {{"100.00"}, {"100.00"}, {"100.00"}, {"140.00", 'B'}}),
          set_line("  0  1  0", 'G', {"105.00", "7.07", "7.07", "2.00", "7.07", "2.00"}, 2, 2,
                   {{"100.00"}, {"110.00"}}),
          // largest member 4 gives 5 decimals, SIGAVE 2 needs one factor 10: k = 1 -> 2.
          set_line("  0  0  2", 'L', {"3.50", "2.00", "0.71", "2.00", "0.71", "2.00"}, 2, 2,
                   {{"3.00"}, {"4.00"}})};
}

// The R table of the ratio data (no rejection of the singlet, no DAC rows).
// All: SUMD = 40 + 10 + 1 = 51, SUMI = 440 + 210 + 7 = 657: RINT 0.078; RINT2 =
//   (40/440 + 10/210 + 1/7)/3 = 0.094; RSIG = 16/657 = 0.024; RSIG2 = (0.0743 + 0.0382 +
//   1.1667)/8 = 0.160. Greater-thans (first two sets): 50/650 = 0.077, (0.0909+0.0476)/2 =
//   0.069, 12/650 = 0.018, 0.1125/6 = 0.019. Less-thans: 1/7 = 0.143, 0.143, 4/7 = 0.571,
//   (2/3+2/4)/2 = 0.583. Unrejected (140 left out, still against FAVE 100): SUMD 11,
//   SUMI 517: 0.021; (0 + 0.0476 + 0.1429)/3 = 0.063; 14/517 = 0.027; 1.2648/7 = 0.181;
//   greater-thans 10/510 = 0.020, 0.0476/2 = 0.024, 10/510 = 0.020, 0.0982/5 = 0.020.
Lines ratio_rtable() {
  const std::string all = rgroup("8.", "0.078", "0.094", "0.024", "0.160");
  const std::string gt = rgroup("6.", "0.077", "0.069", "0.018", "0.019");
  const std::string lt = rgroup("2.", "0.143", "0.143", "0.571", "0.583");
  const std::string uall = rgroup("7.", "0.021", "0.063", "0.027", "0.181");
  const std::string ugt = rgroup("5.", "0.020", "0.024", "0.020", "0.020");
  return {rrow("All Reflections", all, gt, lt), rrow("Inside 2theta", all, gt, lt),
          rrow("Sp Gp allowed", all, gt, lt), rrow("Unrejected", uall, ugt, lt)};
}

SummaryCounts ratio_counts(int gt_sets) {
  SummaryCounts c;
  c.read = 9;
  c.outliers = 1;
  c.passed = 8;
  c.singlets = 1;
  c.gt_ind = 6;  // 3 + 2 + the singlet (2*8 < 30 with its own sigma)
  c.lt_ind = 2;
  c.sets = 4;
  c.sets_passed = 4;
  c.averaged = 3;
  c.gt_sets = gt_sets;
  c.lt_sets = 4 - gt_sets;
  return c;
}

// Runs the ratio data set with one answer to the sigma-ratio question and checks what both
// answers share: the output file (but for the singlet's sigma), the averaged sets and the R table.
// Returns the print file after its date line.
Lines run_ratio_data(E2eRun& r, const std::string& answer, const std::string& singlet_sigma) {
  r.write("t.exp", "TITLE  ratio\n");
  r.write("d.hkl", ratio_data());
  const auto res = r.run("--sigma-ratio " + answer + " t.exp t.prt d.hkl o.hkl");
  EXPECT_EQ(res.status, 0) << res.err;
  EXPECT_EQ(r.read("o.hkl"), "   1   0   0 100.000 2.00000\n"
                             "   0   1   0 105.000 7.07107\n"
                             "   0   0   1 30.0000 " + singlet_sigma + "\n"
                             "   0   0   2 3.50000 2.00000\n");
  const Lines prt = after_date(r.lines("t.prt"));
  EXPECT_EQ(lines_from(prt, "  1  0  0 G", 3), ratio_listing_sets());
  EXPECT_EQ(lines_from(prt, "All Reflections", 4), ratio_rtable());
  return prt;
}

TEST(RunAveraging, OutlierAndSingletKeptUnscaled) {
  E2eRun r("e2e_keep");
  const Lines prt = run_ratio_data(r, "keep", "8.00000");
  EXPECT_EQ(lines_from(prt, "THE FOLLOWING REFLECTIONS WERE SINGLY", 5),
            (Lines{singlet_heading(" 1.00"), "",
                   "  H  K  L    F2(AVE) SIGF2  INT    EXT    INT2   EXT2 NEQ NAVE   FSQ",
                   set_line("  0  0  1", 'G', {"30.00", "8.00", "0.00", "8.00", "0.00", "8.00"}, 1,
                            1, {{"30.00"}}, false),
                   ""}));
  EXPECT_EQ(lines_from(prt, "REFLECTIONS READ FROM INPUT FILE", 20), summary_lines(ratio_counts(3)));
  EXPECT_EQ(rtable_labels(prt).size(), 4u);
  EXPECT_EQ(lines_from(prt, "RATIO OUTPUT SIGMA", 2), (Lines{ratio_line("   2.27"), ratio_count_line(2)}));
  const Lines cif = r.lines("o_vorlane.cif");
  EXPECT_EQ(lines_from(cif, "_diffrn_reflns_limit_h_max", 7),
            (Lines{"_diffrn_reflns_limit_h_max               1",
                   "_diffrn_reflns_limit_h_min               0",
                   "_diffrn_reflns_limit_k_max               1",
                   "_diffrn_reflns_limit_k_min               0",
                   "_diffrn_reflns_limit_l_max               2",
                   "_diffrn_reflns_limit_l_min               0",
                   "_diffrn_reflns_number                    9"}));
  EXPECT_EQ(lines_from(cif, "_diffrn_reflns_av_R_equivalents", 5),
            (Lines{"_diffrn_reflns_av_R_equivalents     0.0776",
                   "_diffrn_reflns_av_unetI/netI         0.024", "",
                   "_reflns_number_total                     4",
                   "_reflns_number_gt                        3"}));
}

TEST(RunAveraging, SingletSigmaScaledByTheRatioBecomesALessThan) {
  E2eRun r("e2e_apply");
  const Lines prt = run_ratio_data(r, "apply", "18.1421");
  // SIGAVE 18.14 is scaled; EXT and EXT2 keep the input sigma 8.
  EXPECT_EQ(lines_from(prt, "THE FOLLOWING REFLECTIONS WERE SINGLY", 4),
            (Lines{singlet_heading(" 2.27"), "",
                   "  H  K  L    F2(AVE) SIGF2  INT    EXT    INT2   EXT2 NEQ NAVE   FSQ",
                   set_line("  0  0  1", 'L', {"30.00", "18.14", "0.00", "8.00", "0.00", "8.00"}, 1,
                            1, {{"30.00"}}, false)}));
  EXPECT_EQ(lines_from(prt, "REFLECTIONS READ FROM INPUT FILE", 20), summary_lines(ratio_counts(2)));
  const Lines cif = r.lines("o_vorlane.cif");
  EXPECT_EQ(lines_from(cif, "_reflns_number_total", 2),
            (Lines{"_reflns_number_total                     4",
                   "_reflns_number_gt                        2"}));
}

TEST(RunAveraging, LessThansRejectedFromTheOutput) {
  E2eRun r("e2e_ltrej");
  r.write("t.exp", "TITLE  ratio\nVORLAN LESSTHAN 2.0 REJECT\n");
  r.write("d.hkl", ratio_data());
  const auto res = r.run("--sigma-ratio apply t.exp t.prt d.hkl o.hkl");
  ASSERT_EQ(res.status, 0) << res.err;
  // The scaled singlet and (0,0,2) are less-thans and are left out.
  EXPECT_EQ(r.read("o.hkl"), "   1   0   0 100.000 2.00000\n"
                             "   0   1   0 105.000 7.07107\n");
  const Lines prt = after_date(r.lines("t.prt"));
  EXPECT_EQ(lines_from(prt, "REJECTION LEVEL FOR LESS-THANS", 3),
            (Lines{"   REJECTION LEVEL FOR LESS-THANS: 2.0 SIG(FSQ)",
                   "   LESS-THANS WILL NOT BE WRITTEN TO OUTPUT DATAFILE", ""}));
  SummaryCounts c = ratio_counts(2);
  c.lessthans_written = false;
  EXPECT_EQ(lines_from(prt, "REFLECTIONS READ FROM INPUT FILE", 20), summary_lines(c));
  // The CIF counts the lines written.
  const Lines cif = r.lines("o_vorlane.cif");
  EXPECT_EQ(lines_from(cif, "_reflns_number_total", 2),
            (Lines{"_reflns_number_total                     2",
                   "_reflns_number_gt                        2"}));
}

// BLESSING 0.01 0.1 0.1 0.1, OUTPUT NOSINGLET, SCALE 0.5.
// (1,1,0) 100 50 150, s1: M = 100, INT1 = sqrt(5000/2) = 50, EXT1 = 1,
//   T = max(1, 0.1, 5) = 5: 50 and 150 are outliers, the set is reduced to one member:
//   FAVE = 100, INT2 = 0, EXT2 = sqrt(1/1) = 1, SIGAVE = max(EXT1, INT1) = 50;
//   2*50 = 100 is not below 100, so a less-than exactly at the threshold.
// (1,0,0) 100 110, s2: FAVE 105, SIGAVE 7.0711; written scaled: 52.5 and 3.53553.
// (0,0,1) singlet 30, s8: not written, and nobody is asked about the ratio.
TEST(RunAveraging, SetReducedToOneMemberAndNoSingletsWithScale) {
  E2eRun r("e2e_nosing");
  r.write("t.exp", "TITLE  reduced\nVORLAN BLESSING 0.01 0.1 0.1 0.1\nVORLAN OUTPUT NOSINGLET\n"
                   "VORLAN SCALE 0.5\n");
  r.write("d.hkl", shelx_record(1, 1, 0, "100.", "1.") + shelx_record(1, 1, 0, "50.", "1.") +
                       shelx_record(1, 0, 0, "100.", "2.") + shelx_record(0, 0, 1, "30.", "8.") +
                       shelx_record(1, 1, 0, "150.", "1.") + shelx_record(1, 0, 0, "110.", "2.") +
                       shelx_record(0, 0, 0, "0.", "0."));
  const auto res = r.run("--sigma-ratio apply t.exp t.prt d.hkl o.hkl");
  ASSERT_EQ(res.status, 0) << res.err;
  EXPECT_EQ(r.read("o.hkl"), "   1   0   0 52.5000 3.53553\n");

  const Lines prt = after_date(r.lines("t.prt"));
  EXPECT_EQ(lines_from(prt, "AVERAGED REFLECTIONS WILL BE", 4),
            (Lines{"   AVERAGED REFLECTIONS WILL BE WRITTEN TO OUTPUT FILE", "", "",
                   "   BUT SINGLETS WILL NOT BE OUTPUT"}));
  EXPECT_EQ(lines_from(prt, "  1  1  0 L", 2),
            (Lines{set_line("  1  1  0", 'L', {"100.00", "50.00", "50.00", "1.00", "0.00", "1.00"},
                            3, 1, {{"100.00"}, {"50.00", 'B'}, {"150.00", 'B'}}),
                   set_line("  1  0  0", 'G', {"105.00", "7.07", "7.07", "2.00", "7.07", "2.00"},
                            2, 2, {{"100.00"}, {"110.00"}})}));
  // Not asked: the singlet keeps its sigma (factor 1.00).
  EXPECT_EQ(lines_from(prt, "THE FOLLOWING REFLECTIONS WERE SINGLY", 4),
            (Lines{singlet_heading(" 1.00"), "",
                   "  H  K  L    F2(AVE) SIGF2  INT    EXT    INT2   EXT2 NEQ NAVE   FSQ",
                   set_line("  0  0  1", 'G', {"30.00", "8.00", "0.00", "8.00", "0.00", "8.00"}, 1,
                            1, {{"30.00"}}, false)}));
  SummaryCounts c;
  c.read = 6;
  c.outliers = 2;
  c.passed = 4;
  c.singlets = 2;  // the true singlet and the reduced set
  c.gt_ind = 4;
  c.sets = 3;
  c.sets_passed = 3;
  c.averaged = 1;
  c.gt_sets = 2;
  c.lt_sets = 1;
  EXPECT_EQ(lines_from(prt, "REFLECTIONS READ FROM INPUT FILE", 20), summary_lines(c));
  // Only (1,0,0) enters the ratio: 7.0711/2 = 3.54.
  EXPECT_EQ(lines_from(prt, "RATIO OUTPUT SIGMA", 2), (Lines{ratio_line("   3.54"), ratio_count_line(1)}));
}

// Values too wide for their fields, SHELX output (F7.d):
// (1,0,0) F2 = 1.2346E7 does not fit: without a SCALE card the output scale is divided by
//   100, the smallest power of ten that makes every intensity fit, with one warning; in the
//   listing (unscaled) it prints as asterisks.
// (2,0,0) F2 = 500000 scales to 5000; sigma 2000000 to 20000.
// (3,0,0) an ordinary singlet.
TEST(RunAveraging, ValuesTooWideForTheirFields) {
  E2eRun r("e2e_overflow");
  r.write("t.exp", "TITLE  overflow\n");
  r.write("d.hkl", shelx_record(1, 0, 0, "1.2346E7", "1000.") +
                       shelx_record(2, 0, 0, "500000.", "2000000.") +
                       shelx_record(3, 0, 0, "100.", "2.") + shelx_record(0, 0, 0, "0.", "0."));
  const auto res = r.run("t.exp t.prt d.hkl o.hkl");
  ASSERT_EQ(res.status, 0) << res.err;
  EXPECT_EQ(r.read("o.hkl"), "   1   0   0 123460. 10.0000\n"
                             "   2   0   0 5000.00 20000.0\n"
                             "   3   0   0 1.00000 0.02000\n");
  const std::string note = "OUTPUT SCALED BY 1E-2: THE LARGEST INTENSITY DID NOT FIT ITS FIELD";
  EXPECT_NE(res.err.find(note), std::string::npos);
  const Lines prt = after_date(r.lines("t.prt"));
  // The warning text (67 characters and one blank) stands right-justified in 100 columns
  // after the 5X: 4 + 32 + 1 blanks before it.
  EXPECT_EQ(lines_from(prt, "****WARNING:", 4),
            (Lines{"****WARNING:", blanks(37) + note + " ", "", "****PROGRAM WILL CONTINUE"}));
  EXPECT_EQ(testing::count_lines(prt, "OVERFLOW WRITING"), 0);
  EXPECT_EQ(lines_from(prt, "  1  0  0 G", 3),
            (Lines{set_line("  1  0  0", 'G', {"*******", "1000.", "0.", "1000.", "0.", "1000."}, 1,
                            1, {{"*******"}}, false),
                   set_line("  2  0  0", 'L', {"500000.", "*******", "0.", "*******", "0.", "*******"},
                            1, 1, {{"500000."}}, false),
                   set_line("  3  0  0", 'G', {"100.00", "2.00", "0.00", "2.00", "0.00", "2.00"}, 1,
                            1, {{"100.00"}}, false)}));
}

}  // namespace
}  // namespace vorlane
