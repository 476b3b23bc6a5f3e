// Whole runs whose inputs must be checked before anything is computed: cards read where they
// are written, experiment files that are not text, repeated cards, values no run can use,
// reflections beyond the limiting sphere, unknown and impossible angles, data that end early,
// SHELX fields without a point, large cells, a CELL card against the UB matrix, line numbers
// in messages, and no data at all. Each run states its exit status and its message.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e/e2e_run.hpp"

namespace vorlane {
namespace {

using testing::count_lines;
using testing::E2eRun;
using testing::shelx_record;
using testing::zezor_record;

using testing::kCell;
using testing::kEnd;

std::string pairs_body() { return testing::consistent_pairs(); }
std::string pairs() { return pairs_body() + kEnd; }

// `n` low-angle reflections of a 20 A cell (each twice).
std::string many(int n) {
  std::string d;
  for (int i = 0; i < n; ++i) {
    const int h = i % 5 + 1, k = i / 5 % 5, l = i / 25 + 1;
    d += shelx_record(h, k, l, "500.", "5.") + shelx_record(-h, -k, -l, "510.", "5.");
  }
  return d;
}

// Zezor records of the 5 6 7 cell with the 2theta given (as text, F7.2).
std::string zezor_pairs(const std::string& first_tth) {
  std::string d = zezor_record(1, 1, 1, "10.000", "0.250", "1.0", first_tth) +
                  zezor_record(-1, -1, -1, "10.100", "0.250", "1.0", first_tth);
  for (int h = 2; h <= 4; ++h) {
    const std::string tth = std::to_string(5 * h) + ".00";
    d += zezor_record(h, 1, 1, "20.000", "0.300", "1.0", tth) +
         zezor_record(-h, -1, -1, "20.200", "0.300", "1.0", tth);
  }
  return d;
}

struct Case {
  const char* name;
  std::string exp;
  std::string data_name;
  std::string data;
  int status;
  // Each on standard error or output; "prt:" marks a text of the print file, "csv:" one of
  // the rejection ledger, "cif:" one of the CIF fragment, "json:" one of the stats file.
  std::vector<std::string> said;
  // Texts that must not appear on the terminal or in the print file.
  std::vector<std::string> not_said = {};
};

class InputChecks : public ::testing::TestWithParam<Case> {};

TEST_P(InputChecks, SaysWhatIsWrong) {
  const Case& c = GetParam();
  E2eRun r("e2e_checks");
  r.write("t.exp", c.exp);
  r.write(c.data_name, c.data);
  const auto res = r.run("t.exp t.prt " + c.data_name + " o.hkl");
  EXPECT_EQ(res.status, c.status) << res.err << res.out;
  const std::string prt = r.exists("t.prt") ? r.read("t.prt") : std::string();
  for (std::string s : c.said) {
    if (s.starts_with("cif:")) {
      ASSERT_TRUE(r.exists("o_vorlane.cif"));
      EXPECT_NE(r.read("o_vorlane.cif").find(s.substr(4)), std::string::npos) << s;
      continue;
    }
    if (s.starts_with("csv:")) {
      ASSERT_TRUE(r.exists("o_rejections.csv"));
      EXPECT_NE(r.read("o_rejections.csv").find(s.substr(4)), std::string::npos)
          << s << "\n" << r.read("o_rejections.csv");
      continue;
    }
    if (s.starts_with("json:")) {
      ASSERT_TRUE(r.exists("o_stats.json"));
      EXPECT_NE(r.read("o_stats.json").find(s.substr(5)), std::string::npos) << s;
      continue;
    }
    if (s.starts_with("prt:")) {
      EXPECT_NE(prt.find(s.substr(4)), std::string::npos) << s;
      continue;
    }
    EXPECT_NE((res.err + res.out).find(s), std::string::npos) << s << "\n" << res.err << res.out;
  }
  for (const std::string& s : c.not_said) {
    EXPECT_EQ((res.err + res.out + prt).find(s), std::string::npos) << s << "\n" << res.err;
  }
}

// A file of `lines` lines of text in which record lines 2, 4, 7 and 9 cannot be read.
std::string unreadable_at_2_4_7_9() {
  std::string d;
  for (int line = 1; line <= 10; ++line) {
    if (line == 2 || line == 4 || line == 7 || line == 9) d += "   1   x   1    100.      2.\n";
    else d += shelx_record(line, 1, 1, "100.", "2.");
  }
  return d + kEnd;
}

// 100 000 good records and then an unreadable one, on line 100 001.
std::string long_file() {
  std::string d;
  d.reserve(100002 * 29);
  for (int i = 0; i < 100000; ++i) d += shelx_record(i % 4 + 1, i / 4 % 5, 1, "100.", "2.");
  return d + "   1   1   1    abc.      2.\n" + kEnd;
}

const std::string kUb32 = "UB  0.03125 0 0\nUB  0 0.03125 0\nUB  0 0 0.03125\n";

INSTANTIATE_TEST_SUITE_P(
    Runs, InputChecks,
    ::testing::Values(
        // Free-format cards are read behind their keyword, one blank or a tab after it.
        Case{"CellWithOneBlank", "CELL 4.8731 6.2429 8.0130 73.346 89.701 89.698\n", "d.hkl",
             pairs(), 0, {"prt:    4.8731"}, {"0.8731"}},
        Case{"CellAfterTab", "CELL\t5.0 6.0 7.0 90 90 90\n", "d.hkl", pairs(), 0,
             {"prt:    5.0000    6.0000    7.0000"}},
        Case{"WavelAfterTab", kCell + "WAVEL\t1 0.71073\n", "d.hkl", pairs(), 0,
             {"Wavelength used:    0.71073 A, from the WAVEL card"}},
        Case{"LimitBeyondItsColumns", kCell + "VORLAN 2THETA MAX    123456789012\n", "d.hkl",
             pairs(), 1,
             {"EXP FILE LINE    2: 2THETA MAX READS 123456 FROM ITS TEN COLUMNS BUT THE CARD "
              "SHOWS 123456789012"}},
        // Experiment files that are not text, and text without a card.
        Case{"ExpFileWithNul", std::string("CELL 5 6 7 90 90 90\n\0\0\0\x01\x02", 25), "d.hkl",
             pairs(), 1, {"EXPERIMENT FILE 't.exp' IS NOT TEXT (NUL BYTES)"}},
        Case{"ExpFileInUtf16", std::string("\xFF\xFE" "C\0E\0L\0L\0", 10), "d.hkl", pairs(), 1,
             {"EXPERIMENT FILE 't.exp' IS NOT TEXT (A UTF-16 BYTE-ORDER MARK"}},
        Case{"ExpFileOfControlCharacters", std::string(40, '\x01') + "CELL 5 6 7 90 90 90\n",
             "d.hkl", pairs(), 1, {"IS NOT TEXT (MANY NON-PRINTABLE BYTES)"}},
        Case{"ExpFileWithoutCards", "this file says nothing\nthat VORLANE reads\n", "d.hkl",
             pairs(), 0,
             {"NO CARD RECOGNISED IN EXPERIMENT FILE 't.exp': EVERY VALUE IS ITS DEFAULT"}},
        Case{"EmptyExpFileMeansDefaults", "", "d.hkl", pairs(), 0, {"FINISHED SUCCESSFULLY"},
             {"NO CARD RECOGNISED"}},
        Case{"ExpFileWithUtf8Mark", "\xEF\xBB\xBF" + kCell, "d.hkl", pairs(), 0,
             {"prt:    5.0000    6.0000    7.0000"}, {"NO CARD RECOGNISED"}},
        // Repeated cards: the later one replaces the earlier, with a warning.
        Case{"RepeatedCell", kCell + "TITLE T\nCELL   5.1 6.0 7.0 90 90 90\n", "d.hkl", pairs(), 0,
             {"EXP FILE LINE    3: CELL CARD REPEATS THE ONE ON LINE 1, WHICH IT REPLACES",
              "prt:    5.1000    6.0000    7.0000"}},
        Case{"RepeatedWavel", kCell + "WAVEL 1 0.71073\nWAVEL 1 1.54184\n", "d.hkl", pairs(), 0,
             {"EXP FILE LINE    3: WAVEL CARD REPEATS THE ONE ON LINE 2, WHICH IT REPLACES",
              "Wavelength used:    1.54184 A, from the WAVEL card"}},
        // Values no run can use.
        Case{"ScaleZero", kCell + "VORLAN SCALE 0\n", "d.hkl", pairs(), 1,
             {"EXP FILE LINE    2: SCALE MUST BE ABOVE 0: VORLAN SCALE 0"}},
        Case{"ScaleNegative", kCell + "VORLAN SCALE -1.0\n", "d.hkl", pairs(), 1,
             {"EXP FILE LINE    2: SCALE MUST BE ABOVE 0: VORLAN SCALE -1.0"}},
        Case{"BlessingNegative", kCell + "VORLAN BLESSING 0.05 -3.29 2.58 1.0\n", "d.hkl",
             pairs(), 1, {"EXP FILE LINE    2: A BLESSING PARAMETER IS NEGATIVE"}},
        Case{"BlessingAllZero", kCell + "VORLAN OUTLIER DAC\nVORLAN BLESSING 0 0 0 0\n",
             "d.hkl", pairs(), 1, {"EXP FILE LINE    3: THE BLESSING PARAMETERS ARE ALL ZERO"}},
        Case{"TwoThetaWindowOfOneAngle", kCell + "VORLAN 2THETA MIN 10.0 MAX 10.0\n", "d.hkl",
             pairs(), 1, {"EMPTY 2THETA WINDOW"}},
        // Beyond the limiting sphere: a factor-ten wavelength, and a stray index. lambda/2d of the
        // worst (numpy, lambda in single precision): 3.5537 * |(4,1,3)*| in the 5 6 7 cell =
        // 3.279; 0.35465 * |(9998,0,1)*| in the 20 A cell = 177.290.
        Case{"WavelengthTenTimesTooLong", kCell + "WAVEL 1 7.1073\n", "d.hkl", pairs(), 1,
             {"24 OF 24 RECORDS LIE BEYOND THE LIMITING SPHERE (LAMBDA/2D > 1): CHECK THE CELL "
              "AND THE WAVELENGTH. CELL   5.0000   6.0000   7.0000  90.000  90.000  90.000, "
              "WAVELENGTH 7.10730; WORST    4    1    3, LAMBDA/2D   3.279, LINE 23"}},
        Case{"OneIndexBeyondTheSphere", "CELL  20 20 20 90 90 90\n", "d.hkl",
             many(60) + shelx_record(9998, 0, 1, "50.", "3.") + kEnd, 0,
             {"1 OF 121 RECORDS LIE BEYOND THE LIMITING SPHERE (LAMBDA/2D > 1), LEFT OUT AS "
              "IMPOSSIBLE FOR THE CELL AND WAVELENGTH; WORST 9998    0    1, LAMBDA/2D 177.290, "
              "LINE 121",
              "csv:121,9998,0,1,0,,50,3,,,,,,impossible for the cell and wavelength",
              "json:\"beyond_limiting_sphere\": 1"}},
        // Zezor angles: 0 is not known, negative is its size, above 180 is no angle.
        Case{"ZezorUnknownTwoTheta", "WAVEL 1 0.71073\n", "d.abs", zezor_pairs("0.00"), 0,
             {"2 RECORDS WITH 2THETA 0 (NOT KNOWN): LEFT OUT OF THE THETA FIGURES AND SHELLS",
              "shells   d min", "cif:_diffrn_reflns_theta_min              5.00"},
             {"NO 2THETA"}},
        Case{"ZezorNegativeTwoTheta", "WAVEL 1 0.71073\n", "d.abs", zezor_pairs("-3.00"), 0,
             {"FINISHED SUCCESSFULLY"}, {"2THETA 0", "NO 2THETA"}},
        Case{"ZezorTwoThetaAbove180", "WAVEL 1 0.71073\n", "d.abs", zezor_pairs("181.00"), 0,
             {"Error on reading input datafile at line    1",
              "Error on reading input datafile at line    2"}},
        // Data that end early, and text after the end that stays silent.
        Case{"BlankLineEndsTheData", kCell, "d.hkl",
             shelx_record(1, 1, 1, "100.", "2.") + "\n" + pairs(), 0,
             {"DATA END AT LINE    2 (A BLANK LINE): 24 LATER LINES READ AS REFLECTIONS WERE "
              "IGNORED"}},
        Case{"ZeroRecordEndsTheData", kCell, "d.hkl",
             shelx_record(1, 1, 1, "100.", "2.") + pairs(), 0, {"FINISHED SUCCESSFULLY"},
             {"DATA END AT LINE"}},
        Case{"EarlyZeroRecord", kCell, "d.hkl",
             shelx_record(1, 1, 1, "100.", "2.") + kEnd + pairs(), 0,
             {"DATA END AT LINE    2 (A 0 0 0 RECORD): 24 LATER LINES READ AS REFLECTIONS WERE "
              "IGNORED"}},
        Case{"InstructionsAfterTheEnd", kCell, "d.hkl",
             pairs() + "\nTITL x\nCELL 0.71073 5 6 7 90 90 90\nZERR 4 0 0 0 0 0 0\nLATT 1\n"
                       "SFAC C H\nUNIT 8 8\nHKLF 4\nEND\n",
             0, {"FINISHED SUCCESSFULLY"}, {"DATA END AT LINE"}},
        // SHELX fields without a point hold hundredths.
        Case{"FieldsWithoutPoint", kCell, "d.hkl",
             "   2   2   2  268870    3060\n  -2  -2  -2  268870    3060\n" + pairs(), 0,
             {"4 F**2 OR SIGMA FIELDS WITHOUT A DECIMAL POINT READ AS HUNDREDTHS (SHELX 2F8.2)",
              "prt:G 2688.70  30.60"}},
        // A 32 A cubic cell from its UB matrix; a CELL card that disagrees with the matrix.
        Case{"LargeCellFromUb", kUb32, "d.hkl", pairs(), 0, {"FINISHED SUCCESSFULLY"},
             {"Determinant"}},
        Case{"CellCardAgainstUb", kUb32 + "CELL  30.0 32.0 32.0 90 90 90\n", "d.hkl", pairs(), 0,
             {"UNIT CELL IN EXP FILE DIFFERENT FROM CALCULATED FROM UB MATRIX:   FROM UB:   "
              "32.0000   32.0000   32.0000   90.0000   90.0000   90.000032768.0000  FROM EXP:"
              "   30.0000   32.0000   32.0000   90.0000   90.0000   90.0000    0.0000; THE UB "
              "CELL IS USED"}},
        // Line numbers in messages.
        Case{"UnreadableLinesByTheirNumbers", kCell, "d.hkl", unreadable_at_2_4_7_9(), 0,
             {"Error on reading input datafile at line    2",
              "Error on reading input datafile at line    4",
              "Error on reading input datafile at line    7",
              "Error on reading input datafile at line    9"},
             {"at line    3", "at line    5", "at line    6"}},
        Case{"ZeroSigmaByItsLine", kCell, "d.hkl",
             "   1   x   1    100.      2.\n" + shelx_record(1, 1, 1, "100.", "2.") +
                 shelx_record(1, 1, 2, "100.", "0.") + kEnd,
             1, {"Reflection on line    3 has sig = 0"}},
        Case{"LineNumberInFull", kCell, "d.hkl", long_file(), 0,
             {"Error on reading input datafile at line 100001"}, {"line*****"}},
        // No data is no result.
        Case{"EmptyInput", kCell, "d.hkl", "", 1,
             {"NO REFLECTION READ FROM INPUT DATA FILE 'd.hkl'"}, {"FINISHED SUCCESSFULLY"}},
        Case{"NothingReadable", kCell, "d.hkl", "reflections\n   1   1   x\n" + kEnd, 1,
             {"NO REFLECTION READ FROM INPUT DATA FILE 'd.hkl': FIRST UNREADABLE LINE    1"},
             {"FINISHED SUCCESSFULLY"}}),
    [](const ::testing::TestParamInfo<Case>& p) { return std::string(p.param.name); });

}  // namespace
}  // namespace vorlane

namespace vorlane {
namespace {

// A CELL card 40 % off the UB matrix, with a diamond-anvil cell: every figure that needs a
// cell takes the matrix's, so the run gives the figures of the matrix alone (before, the
// card's cell counted the complete set and the matrix the accessible one).
TEST(InputChecksCell, CardAgainstUbGivesTheFiguresOfTheUb) {
  std::string data;
  for (int h = -3; h <= 3; ++h)
    for (int k = -3; k <= 3; ++k)
      for (int l = -3; l <= 3; ++l)
        if (h != 0 || k != 0 || l != 0) data += testing::shelx_record(h, k, l, "100.", "2.");
  data += testing::shelx_record(0, 0, 0, "0.", "0.");
  const std::string ub = "UB 0.1 0 0\nUB 0 0.1 0\nUB 0 0 0.1\n";
  const std::string controls = "VORLAN OPENING 40\nVORLAN SPACEGROUP P-1\n";
  auto figures = [&](const std::string& exp, const char* tag) {
    testing::E2eRun r(tag);
    r.write("t.exp", exp);
    r.write("d.hkl", data);
    const auto res = r.run("t.exp t.prt d.hkl o.hkl");
    EXPECT_EQ(res.status, 0) << res.err;
    std::string lines;
    for (const char* item : {"completeness", "DAC completeness", "theta max"}) {
      const auto at = res.out.find("  " + std::string(item) + " ");
      EXPECT_NE(at, std::string::npos) << item << "\n" << res.out;
      if (at != std::string::npos) lines += res.out.substr(at, res.out.find('\n', at) - at) + "\n";
    }
    return std::make_pair(lines, res.err);
  };
  const auto [with_card, warned] = figures(ub + "CELL  14 14 14 90 90 90\n" + controls, "e2e_ubc");
  const auto [ub_alone, quiet] = figures(ub + controls, "e2e_ub");
  EXPECT_EQ(with_card, ub_alone);
  EXPECT_NE(warned.find("; THE UB CELL IS USED"), std::string::npos) << warned;
  EXPECT_EQ(quiet.find("UNIT CELL"), std::string::npos) << quiet;
}

}  // namespace
}  // namespace vorlane
