// Whole runs steered by the experiment file: fatal cards that stop the run before anything
// is read, the symmetry and cell listings with no symmetry card, SYMOP cards, SYMOP with
// UNITIN cards and a Laue class, and a fatal error while the reflections are read.
#include <gtest/gtest.h>

#include "e2e/e2e_expect.hpp"
#include "e2e/e2e_run.hpp"

namespace vorlane {
namespace {

using testing::after_date;
using testing::blanks;
using testing::E2eRun;
using testing::find_line;
using testing::set_line;
using testing::shelx_record;

using Lines = std::vector<std::string>;

const std::string kData = shelx_record(1, 0, 0, "100.", "2.") + shelx_record(0, 0, 0, "0.", "0.");

// The fatal block: two empty records, the title (one asterisk is the carriage control), 5X
// and the message cut or padded to 100 columns (4 blanks in the file), an empty record, the
// halt line and an empty record.
Lines fatal_block(const std::string& message) {
  std::string m = message.substr(0, 100);
  m.resize(100, ' ');
  return {"", "", "****FATAL ERROR:", blanks(4) + m, "", "****PROGRAM WILL HALT", ""};
}

// The print file after the date line when the experiment file stops the run: the experiment
// file name in 40 columns, the empty line closing the header, then the fatal block only.
Lines halted_in_exp_file(const std::string& message) {
  Lines l{"         EXPERIMENT FILE IS: t.exp" + blanks(35), ""};
  for (const auto& s : fatal_block(message)) l.push_back(s);
  return l;
}

struct FatalCase {
  const char* name;
  std::string exp;
  std::string message;
};

class RunFatalExp : public ::testing::TestWithParam<FatalCase> {};

TEST_P(RunFatalExp, StopsBeforeAnyOtherStage) {
  const FatalCase& fc = GetParam();
  E2eRun r("e2e_fatal");
  r.write("t.exp", fc.exp);
  r.write("d.hkl", kData);
  const auto res = r.run("t.exp t.prt d.hkl o.hkl");
  EXPECT_EQ(res.status, 1);
  EXPECT_EQ(res.out.find("FINISHED"), std::string::npos);
  EXPECT_EQ(after_date(r.lines("t.prt")), halted_in_exp_file(fc.message));
  // No later stage ran: a halted run leaves no output file and no CIF fragment.
  EXPECT_FALSE(r.exists("o.hkl"));
  EXPECT_FALSE(r.exists("o_vorlane.cif"));
}

// A malformed WAVEL card: the message carries the 80 card columns, cut at 100 characters.
const std::string kReadError = "  ERROR READING EXPERIMENT DATA FILE:  STRING WAS: ";

INSTANTIATE_TEST_SUITE_P(
    Cards, RunFatalExp,
    ::testing::Values(
        FatalCase{"FourthUb", "TITLE  x\nUB 1 0 0\nUB 0 1 0\nUB 0 0 1\nUB 1 1 1\n",
                  "TOO MANY UB LINES IN EXP FILE"},
        FatalCase{"SymopAfterLaue", "VORLAN LAUE MMM\nVORLAN SYMOP -X,-Y,Z\n",
                  "SYMOP AND LAUE CARDS FOUND: NOT ALLOWED"},
        FatalCase{"LaueAfterSymop", "VORLAN SYMOP -X,-Y,Z\nVORLAN LAUE MMM\n",
                  "***** LAUE AND UNITIN OR SYMOP CARDS FOUND:  NOT ALLOWED"},
        FatalCase{"UnitinAfterLaue", "VORLAN LAUE MMM\nVORLAN UNITIN    1    0    0    0\n",
                  "LAUE AND UNITIN CARDS FOUND: NOT ALLOWED"},
        FatalCase{"WavelWithoutInteger", "TITLE  x\nWAVEL  0.71\n",
                  kReadError + "WAVEL  0.71" + blanks(69)},
        FatalCase{"PartOfUb", "UB 1 0 0\nUB 0 1 0\n",
                  "ERROR IN READ_HKL: ONLY PART OF UB MATRIX PRESENT"},
        FatalCase{"SymopAfterSpacegroup", "VORLAN SPACEGROUP P 21/c\nVORLAN SYMOP -X,-Y,Z\n",
                  "SPACEGROUP AND SYMOP CARDS FOUND: NOT ALLOWED"},
        FatalCase{"SpacegroupAfterUnitin",
                  "VORLAN UNITIN    1    0    0    0\nVORLAN SPACEGROUP 14\n",
                  "SYMOP OR UNITIN AND SPACEGROUP CARDS FOUND: NOT ALLOWED"},
        FatalCase{"LaueAfterSpacegroup", "VORLAN SPACEGROUP P 21/c\nVORLAN LAUE 2/M\n",
                  "SPACEGROUP AND LAUE CARDS FOUND: NOT ALLOWED"},
        FatalCase{"SpacegroupAfterLaue", "VORLAN LAUE 2/m\nVORLAN SPACEGROUP P 21/c\n",
                  "LAUE AND SPACEGROUP CARDS FOUND: NOT ALLOWED"},
        FatalCase{"RhombohedralAxes", "VORLAN SPACEGROUP R -3 c:R\n",
                  "LINE   1: SPACEGROUP R -3 C:R IS IN RHOMBOHEDRAL AXES: USE HEXAGONAL AXES (R -3 c:H) "
                  "AND A HEXAGONAL CELL"},
        FatalCase{"UnknownSpacegroup", "VORLAN SPACEGROUP P 2 1/q\n",
                  "LINE   1: UNKNOWN SPACE GROUP SYMBOL OR NUMBER: P 2 1/Q"},
        FatalCase{"AmbiguousLaue", "VORLAN LAUE -3m\n",
                  "LAUE -3M IS AMBIGUOUS: WRITE -3M1 (E.G. P-3M1, R-3M) OR -31M (E.G. P-31M)"},
        // The README's old example: the fields read 0 10 0 0, the card shows 0 0 1 0.
        FatalCase{"UnitinOutOfItsFields", "TITLE  x\nVORLAN UNITIN 0 0 1 0\n",
                  "UNITIN ON LINE   2: FIELDS GIVE 0 10 0 0, CARD SHOWS 0 0 1 0, RIGHT-ALIGN IN "
                  "COLUMNS 14-33"},
        FatalCase{"UnitinSignApartFromItsNumber", "VORLAN UNITIN 1 -1 0 0\n",
                  "UNITIN ON LINE   1: FIELDS CANNOT BE READ, CARD SHOWS 1 -1 0 0, RIGHT-ALIGN IN "
                  "COLUMNS 14-33"}),
    [](const ::testing::TestParamInfo<FatalCase>& p) { return std::string(p.param.name); });

const std::string kSummaryStart = "*******************GENERAL CONTROLS********************";

// The lines from the space-group report up to the line before the option summary.
Lines symmetry_section(const Lines& prt) {
  const std::size_t from = find_line(prt, "space group");
  const std::size_t to = find_line(prt, kSummaryStart);
  if (from >= prt.size() || to >= prt.size()) return {};
  return {prt.begin() + static_cast<std::ptrdiff_t>(from),
          prt.begin() + static_cast<std::ptrdiff_t>(to)};
}

// Operator lines: in position form 5 blanks, a 9-character field and 6 blanks per row; in
// reflection form 5 blanks, 6 characters of the field and 6 blanks per row, then 10 blanks
// and 14 characters of the phase text. A term's "+" at the start of a field is a blank.
std::string position_line(const std::string& r1, const std::string& r2, const std::string& r3) {
  auto f = [](std::string s) {
    s.resize(9, ' ');
    return blanks(5) + s + blanks(6);
  };
  return f(r1) + f(r2) + f(r3);
}

std::string reflection_line(const std::string& r1, const std::string& r2, const std::string& r3,
                            std::string phase) {
  auto f = [](std::string s) {
    s.resize(6, ' ');
    return blanks(5) + s + blanks(6);
  };
  phase.resize(14, ' ');
  return f(r1) + f(r2) + f(r3) + blanks(10) + phase;
}

// The centring line of the position listing: 2 blanks (one the carriage control), then per
// component 4 blanks, " 0 " and, for the first two, 13 blanks; then 4 blanks and the mark.
std::string origin_line(const std::string& mark) {
  return blanks(1) + blanks(4) + " 0 " + blanks(13) + blanks(4) + " 0 " + blanks(13) + blanks(4) +
         " 0 " + blanks(4) + mark;
}

std::string reflections_heading(const std::string& mark) {
  return "equivalent reflections are:" + mark + blanks(30) + "with relative phass 2pi times:";
}

TEST(RunExpFile, NoSymmetryCardGivesP1AndNoCellListing) {
  E2eRun r("e2e_p1");
  r.write("t.exp", "TITLE  p1\n");
  r.write("d.hkl", kData);
  const auto res = r.run("t.exp t.prt d.hkl o.hkl");
  ASSERT_EQ(res.status, 0) << res.err;
  const Lines prt = after_date(r.lines("t.prt"));
  EXPECT_EQ(symmetry_section(prt),
            (Lines{"non-centrosymmetric space group", "   1 symmetry operators generated", "",
                   "Wavelength used:    0.70930 A, the default (no WAVEL card)",
                   "Symmetry used:     P1 (no symmetry card), 1 operator, centring P, Laue class -1",
                   "Friedel mates:     kept apart (no asymmetric unit)",
                   "",
                   "general equivalent positions are:", origin_line("  +"), "",
                   position_line(" x", " y", " z"), "", reflections_heading("  +"),
                   reflection_line(" h", " k", " l", "0"), "", "",
                   "    Asymmetric unit for averaging: ", "", "", "", ""}));
  EXPECT_EQ(find_line(prt, "real cell"), prt.size());
}

// -X,Y+1/2,-Z and -X,-Y,-Z close into four operators: 1, -1, the screw 2(1) along b and the
// mirror x,1/2-y,z. After pairing each operator sits next to its negative, so the listing
// prints slots 1 and 3: x,y,z and -x,1/2+y,-z. As reflection operators (the inverse matrices)
// the screw reads -h,k,-l with the phase (0,1/2,0).diag(-1,1,-1) = 1/2 k.
// CELL 2 4 5 90 90 90: reciprocal 0.5 0.25 0.2, volume 40, products 0.25 0.0625 0.04 and
// zeros. cos(90 deg) in single precision is -4.4e-8, so the off-diagonal real-space terms
// a cos(beta), b cos(alpha) and -a sin(beta) cos(gamma*) print as -0.0000.
// UNITIN k >= 0 and l >= 0: (-1,2,-3) reaches (1,2,3) by the two-fold and (1,-2,3) by the
// mirror, so the three records form one set; (0,1,0) is absent by the screw (phase 1/2).
TEST(RunExpFile, SymopAndUnitinCardsListTheGroupAndMergeEquivalents) {
  E2eRun r("e2e_p21m");
  r.write("t.exp", "TITLE  p21/m\nCELL  2.0 4.0 5.0 90 90 90\nWAVEL 1 1.0\n"
                   "VORLAN SYMOP -X,Y+1/2,-Z\nVORLAN SYMOP -X,-Y,-Z\n"
                   "VORLAN UNITIN    0    1    0    0\nVORLAN UNITIN    0    0    1    0\n");
  r.write("d.hkl", shelx_record(1, 2, 3, "100.", "2.") + shelx_record(-1, 2, -3, "100.", "2.") +
                       shelx_record(0, 1, 0, "50.", "2.") + shelx_record(1, -2, 3, "100.", "2.") +
                       shelx_record(0, 0, 0, "0.", "0."));
  const auto res = r.run("t.exp t.prt d.hkl o.hkl");
  ASSERT_EQ(res.status, 0) << res.err;
  const Lines prt = after_date(r.lines("t.prt"));
  EXPECT_EQ(symmetry_section(prt),
            (Lines{"centrosymmetric space group",
                   "   4 symmetry operators generated",
                   "",
                   "Wavelength used:    1.00000 A, from the WAVEL card",
                   "Symmetry used:     SYMOP cards, 4 operators, centring P, Laue class 2/m",
                   "Friedel mates:     merged",
                   "",
                   "real cell          2.0000    4.0000    5.0000   90.00   90.00   90.00",
                   "volume =    40.0000",
                   "",
                   "reciprocal cell    0.5000    0.2500    0.2000   90.00   90.00   90.00",
                   "",
                   "reciprocal cell quadratic products:",
                   "a*(=a* sqrd)     b*          c*  d*(=b*c*cos alpha*)  e*         f*",
                   "     0.25000     0.06250     0.04000     0.00000     0.00000     0.00000",
                   "",
                   "matrices for transformation of vectors to orthogonal axes",
                   "real space:",
                   "   2.0000    0.0000    0.0000",
                   "  -0.0000    4.0000    0.0000",
                   "  -0.0000   -0.0000    5.0000",
                   "",
                   "reciprocal space:",
                   "   0.5000    0.0000    0.0000",
                   "   0.0000    0.2500    0.0000",
                   "   0.0000    0.0000    0.2000",
                   "",
                   "general equivalent positions are:",
                   origin_line(" +-"),
                   "",
                   position_line(" x", " y", " z"),
                   position_line("-x", "1/2+y", "-z"),
                   "",
                   reflections_heading(" +-"),
                   reflection_line(" h", " k", " l", "0"),
                   reflection_line("-h", " k", "-l", "1/2k"),
                   "",
                   "",
                   "    Asymmetric unit for averaging: ",
                   "",
                   // (0,1,0,0): columns 1-5 empty, "+   k", columns 11-15 empty, ">=  0".
                   "    +   k     >=  0",
                   "         +   l>=  0",
                   "",
                   "",
                   ""}));
  // One set of three (FAVE 100, SIGAVE 2) and the absent (0,1,0), which is not written.
  EXPECT_EQ(r.read("o.hkl"), "   1   2   3 100.000 2.00000\n");
  const std::size_t head = find_line(prt, "INDIVIDUAL SQUARED STRUCTURE FACTORS");
  ASSERT_LT(head + 1, prt.size());
  EXPECT_EQ(prt[head + 1],
            set_line("  1  2  3", 'G', {"100.00", "2.00", "0.00", "2.00", "0.00", "2.00"}, 3, 3,
                     {{"100.00"}, {"100.00"}, {"100.00"}}));
  EXPECT_EQ(prt[find_line(prt, "  0  1  0 S")],
            set_line("  0  1  0", 'S', {"50.00", "2.00", "0.00", "2.00", "0.00", "2.00"}, 1, 1,
                     {{"50.00"}}, false));
  // 2theta from the indices: 1/d(123) = sqrt(0.25 + 0.25 + 0.36) = 0.92736, sin(theta) =
  // 0.46368, theta 27.62; 1/d(010) = 0.25, sin(theta) = 0.125, theta 7.18, but (0,1,0) is a
  // violation and not written: the range is that of the set written.
  const Lines cif = r.lines("o_vorlane.cif");
  EXPECT_EQ(cif[find_line(cif, "_diffrn_reflns_theta_max")], "_diffrn_reflns_theta_max             27.62");
  EXPECT_EQ(cif[find_line(cif, "_diffrn_reflns_theta_min")], "_diffrn_reflns_theta_min             27.62");
}

// LAUE 2/M: the inversion and the mirror x,-y,z generate four operators (the two-fold is the
// mirror's negative); its planes are h >= 0 and k >= 0.
TEST(RunExpFile, LaueCardListsItsClassAndPlanes) {
  E2eRun r("e2e_laue2m");
  r.write("t.exp", "TITLE  laue\nVORLAN LAUE 2/M\n");
  r.write("d.hkl", kData);
  const auto res = r.run("t.exp t.prt d.hkl o.hkl");
  ASSERT_EQ(res.status, 0) << res.err;
  const Lines prt = after_date(r.lines("t.prt"));
  EXPECT_EQ(symmetry_section(prt),
            (Lines{"centrosymmetric space group", "   4 symmetry operators generated", "",
                   "Wavelength used:    0.70930 A, the default (no WAVEL card)",
                   "Symmetry used:     LAUE card, 4 operators, centring P, Laue class 2/m",
                   "Friedel mates:     merged", "",
                   "general equivalent positions are:", origin_line(" +-"), "",
                   position_line(" x", " y", " z"), position_line(" x", "-y", " z"), "",
                   reflections_heading(" +-"), reflection_line(" h", " k", " l", "0"),
                   reflection_line(" h", "-k", " l", "0"), "", "",
                   "    Asymmetric unit for averaging: ", "",
                   // (1,0,0,0): "    h", ten blanks, ">=  0".
                   "   h          >=  0", "    +   k     >=  0", "", "", ""}));
}

// A reflection with sigma 0 and F2 5, the third record accepted, stops the run after the
// option summary: the print file holds header, listings, summary and the fatal text only.
TEST(RunExpFile, FatalErrorWhileReadingTheData) {
  E2eRun r("e2e_sig0");
  r.write("t.exp", "TITLE  sigma zero\n");
  // The second record (F2 0, sigma 0) is accepted: only F2 > 0.0001 is refused.
  r.write("d.hkl", shelx_record(1, 0, 0, "100.", "2.") + shelx_record(2, 0, 0, "0.", "0.") +
                       shelx_record(3, 0, 0, "5.", "0.") + shelx_record(4, 0, 0, "100.", "2.") +
                       shelx_record(0, 0, 0, "0.", "0."));
  const auto res = r.run("t.exp t.prt d.hkl o.hkl");
  EXPECT_EQ(res.status, 1);
  EXPECT_EQ(res.out.find("FINISHED"), std::string::npos);
  EXPECT_NE(res.err.find("HALTED"), std::string::npos);
  EXPECT_NE(res.err.find("Reflection on line    3 has sig = 0"), std::string::npos);
  const Lines prt = after_date(r.lines("t.prt"));
  const std::size_t summary = find_line(prt, kSummaryStart);
  ASSERT_LT(summary, prt.size());
  const std::size_t last_option = find_line(prt, "AVERAGED REFLECTIONS WILL BE WRITTEN");
  ASSERT_LT(last_option, prt.size());
  Lines tail(prt.begin() + static_cast<std::ptrdiff_t>(last_option) + 1, prt.end());
  EXPECT_EQ(tail, fatal_block("Reflection on line    3 has sig = 0"));
  EXPECT_EQ(find_line(prt, "SUMMARY OF AVERAGING"), prt.size());
  EXPECT_EQ(find_line(prt, "REFLECTION LISTING"), prt.size());
  // A halted run leaves no output file (none existed) and no CIF fragment.
  EXPECT_FALSE(r.exists("o.hkl"));
  EXPECT_FALSE(r.exists("o_vorlane.cif"));
}

}  // namespace
}  // namespace vorlane
