// The reader's loud mistakes one card at a time: which lines warn, which Laue symbols are
// accepted, and which words count as one letter away from a name.
#include <gtest/gtest.h>

#include "expfile/card_spelling.hpp"
#include "exp_test_helpers.hpp"

namespace vorlane::expfile {
namespace {

TEST(CardSpelling, OneLetterAway) {
  struct Case {
    const char* a;
    const char* b;
    bool away;
  };
  for (const Case& c : {Case{"CEL", "CELL", true}, Case{"WAVE", "WAVEL", true},
                        Case{"VORLN", "VORLAN", true}, Case{"UV", "UB", true},
                        Case{"OUTLEIR", "OUTLIER", true}, Case{"FRIEDL", "FRIEDEL", true},
                        Case{"LUAE", "LAUE", true}, Case{"CELL", "CELL", false},
                        Case{"WAVELENGTH", "WAVEL", false}, Case{"TITEL", "TITLE", true},
                        Case{"OUTPUT", "OUTLIER", false}, Case{"U", "UBL", false}}) {
    EXPECT_EQ(one_letter_away(c.a, c.b), c.away) << c.a << " " << c.b;
  }
}

TEST(CardSpelling, WhichLinesWarn) {
  struct Case {
    const char* text;
    int warnings;
  };
  for (const Case& c : {
           Case{"TITLE  x\nCELL   5 6 7 90 90 90\nWAVEL 1 0.71\nVORLAN OUTLIER NONE\n", 0},
           Case{"CELLS  5 6 7 90 90 90\n", 0},            // a CELL card by its columns
           Case{"comment line\n# another\n", 1},        // comments only: no card recognised
           Case{"TITLE x\ncomment line\n# another\n", 0},  // ordinary comments
           Case{"VORLAN SYMOP -X,Y+1/2,-Z\nVORLAN UNITIN    0    1    0    0\n", 0},
           Case{"VORLAN SPACEGROUP P 21 21 21 FRIEDEL NOFLIP\n", 0},
           Case{"UB     0.1 0 0\nUB     0 0.1 0\nUB     0 0 0.1\nVORLAN OPENING 35.0 AXIS 0 0 1\n", 0},
           Case{"VORLAN LESSTHAN REJECT\n", 1},         // no threshold to read
           Case{"VORLAN LUAE 2/M\nVORLAN OUTLEIR\n", 2},
           Case{"TITEL x\nBLAXE 1 2 3\n", 3},         // and no card recognised
       }) {
    SCOPED_TRACE(c.text);
    const auto run = test::read_exp(c.text);
    EXPECT_EQ(run->rs.msg.IHALT, 0);
    EXPECT_EQ(static_cast<int>(run->dialogs.warning_texts.size()), c.warnings);
  }
}

TEST(CardSpelling, LaueSymbolsAsWritten) {
  struct Case {
    const char* symbol;
    int row;
  };
  for (const Case& c : {Case{"m-3m", 12}, Case{"M-3M", 12}, Case{"m3m", 12}, Case{"m-3", 11},
                        Case{"6/mmm", 10}, Case{"-31m", 8}, Case{"-3m1", 7}, Case{"4/mmm", 5},
                        Case{"mmm", 3}, Case{"2/m", 2}, Case{"-1", 1}, Case{"-3m", 0}}) {
    SCOPED_TRACE(c.symbol);
    const auto run = test::read_exp(std::string("VORLAN LAUE ") + c.symbol + "\n");
    EXPECT_EQ(run->rs.ctl.LAUECLS, c.row);
    EXPECT_EQ(run->rs.msg.IHALT, c.row == 0 ? 1 : 0);
  }
}

}  // namespace
}  // namespace vorlane::expfile
