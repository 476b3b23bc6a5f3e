// Whole runs with the mistakes people make: misspelt cards and keywords, unreadable values,
// files of another kind than their names say, twinned and already merged data, a LAUE card on
// centred data, implausible results; and the setting every run states in its summary.
#include <gtest/gtest.h>

#include <functional>

#include "e2e/e2e_run.hpp"

namespace vorlane {
namespace {

using testing::count_lines;
using testing::E2eRun;
using testing::shelx_record;
using testing::zezor_record;

using testing::kCell;
using testing::kEnd;

std::string pairs() { return testing::consistent_pairs() + kEnd; }

// `n` distinct reflections, each measured once, as an already merged file holds them.
std::string merged(int n) {
  std::string d;
  for (int i = 1; i <= n; ++i) d += shelx_record(i % 20 + 1, i / 20, 1, "500.", "5.");
  return d + kEnd;
}

// Strong reflections of a face-centred lattice only (h, k, l all even or all odd).
std::string face_centred() {
  std::string d;
  for (int h = 0; h <= 6; ++h)
    for (int k = 0; k <= 6; ++k)
      for (int l = 1; l <= 6; ++l)
        if ((h + k) % 2 == 0 && (h + l) % 2 == 0) d += shelx_record(h, k, l, "900.", "9.");
  return d + kEnd;
}

// Friedel pairs that disagree: R(int) far above 0.25.
std::string disagreeing() {
  std::string d;
  for (int h = 1; h <= 5; ++h) d += shelx_record(h, 1, 1, "100.", "2.") + shelx_record(-h, -1, -1, "900.", "2.");
  return d + kEnd;
}

// P 21/c data whose 0k0 reflections with k odd are strong.
std::string strong_violations() {
  std::string d;
  for (int k = 1; k <= 7; ++k) d += shelx_record(0, k, 0, "800.", "4.") + shelx_record(0, -k, 0, "820.", "4.");
  for (int h = 1; h <= 5; ++h) d += shelx_record(h, 2, 1, "300.", "3.");
  return d + kEnd;
}

struct Case {
  const char* name;
  std::string exp;
  std::string data_name;
  std::string data;
  std::string options;
  int status;
  // Each on standard error or output, and in the print file when the run got that far;
  // "prt:" marks a text of the print file alone.
  std::vector<std::string> said;
};

class InputSafety : public ::testing::TestWithParam<Case> {};

TEST_P(InputSafety, SaysWhatIsWrong) {
  const Case& c = GetParam();
  E2eRun r("e2e_safety");
  r.write("t.exp", c.exp);
  r.write(c.data_name, c.data);
  const auto res = r.run(c.options + " t.exp t.prt " + c.data_name + " o.hkl");
  EXPECT_EQ(res.status, c.status) << res.err;
  const bool printed = r.exists("t.prt");
  for (std::string s : c.said) {
    const bool print_only = s.starts_with("prt:");
    if (print_only) s = s.substr(4);
    else EXPECT_NE((res.err + res.out).find(s), std::string::npos) << s << "\n" << res.err << res.out;
    if (print_only || (printed && s.size() <= 95)) {
      EXPECT_GE(count_lines(r.lines("t.prt"), s), 1) << s;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Runs, InputSafety,
    ::testing::Values(
        Case{"MisspeltKeyword", kCell + "VORLAN LUAE 2/M\n", "d.hkl", pairs(), "", 0,
             {"EXP FILE LINE    2: NO KNOWN KEYWORD, CARD IGNORED: VORLAN LUAE 2/M",
              "P1 (no symmetry card), 1 operator, centring P, Laue class -1"}},
        Case{"KeywordOneLetterOff", kCell + "VORLAN OUTPUT INDIVIDUAL FRIEDL NOFLIP\n", "d.hkl",
             pairs(), "", 0,
             {"EXP FILE LINE    2: FRIEDL IS NO KEYWORD (FRIEDEL?), IGNORED"}},
        Case{"CardsOneLetterOff", "CEL 5 6 7 90 90 90\nWAVE 1 0.71\nVORLN OUTLIER NONE\nUV 1 0 0\n",
             "d.hkl", pairs(), "", 0,
             {"EXP FILE LINE    1: NOT A CARD (CELL?), IGNORED: CEL 5 6 7 90 90 90",
              "EXP FILE LINE    2: NOT A CARD (WAVEL?), IGNORED: WAVE 1 0.71",
              "EXP FILE LINE    3: NOT A CARD (VORLAN?), IGNORED: VORLN OUTLIER NONE",
              "EXP FILE LINE    4: NOT A CARD (UB?), IGNORED: UV 1 0 0",
              "Wavelength used:    0.70930 A, the default (no WAVEL card)",
              "NO CELL AND NO UB MATRIX: EVERY 2THETA IS UNKNOWN, A 2THETA WINDOW CANNOT APPLY"}},
        Case{"RunOnCardName", kCell + "WAVELENGTH 0.71\n", "d.hkl", pairs(), "", 0,
             {"EXP FILE LINE    2: NOT A WAVEL CARD (COLUMN 6 MUST BE BLANK), IGNORED: WAVELENGTH 0.71"}},
        Case{"ValuesNotRead", kCell + "WAVEL 1 0.71073\nVORLAN BLESSING 0.1 OUTPUT INDIVIDUAL\n",
             "d.hkl", pairs(), "", 0,
             {"EXP FILE LINE    3: VALUES NOT READ: VORLAN BLESSING 0.1 OUTPUT INDIVIDUAL",
              "Wavelength used:    0.71073 A, from the WAVEL card"}},
        Case{"LaueSymbolAsWritten", kCell + "VORLAN LAUE m-3m\n", "d.hkl", pairs(), "", 0,
             {"LAUE card, 48 operators, centring P, Laue class m-3m"}},
        Case{"ChiralGroupMerged", kCell + "VORLAN SPACEGROUP P 21 21 21\n", "d.hkl", pairs(), "", 0,
             {"P 21 21 21 (No. 19), 4 operators, centring P, Laue class mmm",
              "Friedel mates:     merged",
              "The group is non-centrosymmetric and its Friedel mates are merged; to keep them "
              "apart give FRIEDEL NOFLIP or --friedel keep"}},
        Case{"FriedelFromTheCommandLine", kCell + "VORLAN SPACEGROUP 19\n", "d.hkl", pairs(),
             "--friedel keep", 0, {"Friedel mates:     kept apart (--friedel keep)"}},
        Case{"FriedelMergeOverridesNoflip", kCell + "VORLAN SPACEGROUP 19 FRIEDEL NOFLIP\n",
             "d.hkl", pairs(), "--friedel merge", 0, {"Friedel mates:     merged (--friedel merge)"}},
        // (indices up to 20 5 1: a cell that holds them inside the limiting sphere)
        Case{"AlreadyMerged", "CELL   25.0 26.0 27.0 90 90 90\n", "d.hkl", merged(120), "", 0,
             {"ALL    120 SETS HAVE ONE MEMBER: THE DATA LOOK ALREADY MERGED, R(INT) MEANS NOTHING"}},
        Case{"LaueOnCentredData", "CELL   5.6 5.6 5.6 90 90 90\nVORLAN LAUE M3M\n", "d.hkl",
             face_centred(), "", 0,
             {"THE ABSENCES SHOW A F-CENTRED LATTICE, WHICH A LAUE CARD IGNORES: GIVE THE GROUP BY "
              "SPACEGROUP"}},
        Case{"HighRint", kCell + "VORLAN SPACEGROUP P-1\n", "d.hkl", disagreeing(), "", 0,
             {"IS ABOVE 0.25: CHECK THE SYMMETRY AND THE CELL"}},
        Case{"StrongViolations", kCell + "VORLAN SPACEGROUP P 21/c\n", "d.hkl",
             strong_violations(), "", 0,
             {"4 OF 4 SPACE-GROUP VIOLATIONS HAVE FAVE > 5 SIGAVE: CHECK THE SPACE GROUP",
              "prt:Strongest space-group violations:", "prt:   0   1   0     810.00"}},
        Case{"TwinnedHklf5", kCell, "d.hkl",
             shelx_record(1, 0, 0, "100.", "2.") + "   1   0   1     50.      2.  -2\n" + kEnd, "",
             1, {"Data are twinned (HKLF 5, negative batch number) and cannot be averaged"}},
        Case{"SadabsListingNamedAbs", kCell, "d.abs",
             "\n SADABS-2016/2 - Bruker AXS area detector scaling and absorption correction\n"
             " ------------------------------------------\n",
             "", 1, {"'d.abs' should hold Zezor abs records, but its first lines are a SADABS listing"}},
        Case{"ShelxFileNamedAbs", kCell, "d.abs", pairs(), "", 1,
             {"should hold Zezor abs records, but its first lines are SHELX hkl records (indices in 4 "
              "columns); give --in-format zezor|shelx"}},
        Case{"ZezorFileNamedHkl", kCell, "d.hkl",
             zezor_record(1, 2, 3, "10.000", "0.250", "1.0", "20.00") +
                 zezor_record(-1, 2, 3, "10.000", "0.250", "1.0", "20.00"),
             "", 1, {"should hold SHELX hkl records, but its first lines are Zezor abs records"}}),
    [](const ::testing::TestParamInfo<Case>& p) { return std::string(p.param.name); });

}  // namespace
}  // namespace vorlane
