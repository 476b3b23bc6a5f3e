// The card types of the experiment file: TITLE, CELL, WAVEL, UB/UBL, BLAXES, and the card loop.
#include <gtest/gtest.h>

#include <algorithm>

#include <cmath>

#include "exp_test_helpers.hpp"
#include "geometry/mat3_ops.hpp"

namespace vorlane::expfile {
namespace {

using test::halted_with;
using test::read_error_text;
using test::read_exp;
using geometry::at;

TEST(ReadExpFile, EmptyFileGivesAllDefaults) {
  for (const char* text : {"", "just a comment\n\n      CELL 1 2 3 90 90 90\nXYZ\n"}) {
    auto run = read_exp(text);
    const auto& ctl = run->rs.ctl;
    EXPECT_EQ(run->rs.msg.IHALT, 0);
    EXPECT_FLOAT_EQ(ctl.WAVE, 0.7093f);
    EXPECT_EQ(run->rs.sg.NSYMOP, 1);
    EXPECT_EQ(run->rs.sg.NPLANE, 0);
    EXPECT_EQ(ctl.IBMAT, 0);
    EXPECT_EQ(ctl.ICELL, 0);  // the indented CELL card is a comment
    EXPECT_EQ(ctl.IREJMODE, 1);
    EXPECT_EQ(ctl.IABSENT, 2);
    EXPECT_FLOAT_EQ(ctl.LTHRESH, 2.0f);
    EXPECT_FLOAT_EQ(ctl.TTHMIN, 0.0f);
    EXPECT_FLOAT_EQ(ctl.TTHMAX, 180.0f);
    EXPECT_FLOAT_EQ(ctl.OSCALE, 1.0f);
    EXPECT_EQ(ctl.IOUTAVE, 1);
    EXPECT_EQ(ctl.INOSING, 0);
    EXPECT_EQ(ctl.IREJLT, 0);
    EXPECT_EQ(ctl.INOFLIP, 0);
    EXPECT_EQ(ctl.LAUECLS, 0);
    EXPECT_EQ(ctl.BLESS, (std::array<float, 4>{0.05f, 3.29f, 2.58f, 1.0f}));
    EXPECT_NE(run->print_text().find("non-centrosymmetric space group"), std::string::npos);
  }
}

TEST(ReadExpFile, EveryReadingStartsFromTheDefaultsAndTheFirstLine) {
  vorlane::testing::MemoryRun run("WAVEL 1 0.5\nVORLAN OUTLIER DAC\n");
  run.rs.ctl.LTHRESH = 7.0f;
  run.rs.ctl.INOFLIP = 1;
  READ_EXP_FILE(run.rs);
  // The stream is now at its end; a second reading rewinds it and reads the same cards.
  run.rs.ctl.WAVE = 3.0f;
  READ_EXP_FILE(run.rs);
  EXPECT_FLOAT_EQ(run.rs.ctl.WAVE, 0.5f);
  EXPECT_EQ(run.rs.ctl.IREJMODE, 2);
  EXPECT_FLOAT_EQ(run.rs.ctl.LTHRESH, 2.0f);
  EXPECT_EQ(run.rs.ctl.INOFLIP, 0);
}

TEST(ReadExpFile, TitleIsUpperCasedFromColumnSeven) {
  auto run = read_exp("titleXabc def\n");
  const std::string& t = run->rs.ctl.TITLE;
  ASSERT_EQ(t.size(), 80u);
  EXPECT_EQ(t.substr(0, 7), "ABC DEF");  // column 6 ("X") is dropped
  EXPECT_EQ(t.find_first_not_of(' ', 7), std::string::npos);
}

TEST(ReadExpFile, TitleIsKeptWhenTheFileHasNone) {
  vorlane::testing::MemoryRun run("CELL  5 5 5 90 90 90\n");
  run.rs.ctl.TITLE = "EARLIER";
  READ_EXP_FILE(run.rs);
  EXPECT_EQ(run.rs.ctl.TITLE, "EARLIER");
}

TEST(ReadExpFile, WavelengthCard) {
  EXPECT_FLOAT_EQ(read_exp("WAVEL 1 0.71\n")->rs.ctl.WAVE, 0.71f);
  EXPECT_FLOAT_EQ(read_exp("wavel 1 0.71\nWAVEL 2,0.56 more text\n")->rs.ctl.WAVE, 0.56f);
  // Column 6 must be blank: WAVELENGTH is no WAVEL card.
  EXPECT_FLOAT_EQ(read_exp("WAVELENGTH 0.71\n")->rs.ctl.WAVE, 0.7093f);
}

TEST(ReadExpFile, WavelengthCardFailures) {
  // The first number must be an integer.
  EXPECT_TRUE(halted_with(*read_exp("WAVEL  0.71\n"), read_error_text("WAVEL  0.71")));
  // Fewer than two numbers, a wavelength that is not positive or not finite.
  for (const char* card : {"WAVEL 1", "WAVEL 1 0.0", "WAVEL 1 -0.7", "WAVEL 1 NAN", "WAVEL 1 INF",
                           "WAVEL 1 0.7A"}) {
    auto run = read_exp(std::string(card) + "\n");
    EXPECT_TRUE(halted_with(*run, read_error_text(card))) << card;
  }
}

TEST(ReadExpFile, FatalReadErrorShowsTheUpperCasedCardAndStopsReading) {
  auto run = read_exp("wavel  0.71\nVORLAN OUTLIER DAC\n");
  EXPECT_TRUE(halted_with(*run, read_error_text("WAVEL  0.71")));
  EXPECT_EQ(run->rs.ctl.IREJMODE, 1);  // the card after the error was not read
  EXPECT_NE(run->print_text().find("****FATAL ERROR:"), std::string::npos);
}

TEST(ReadExpFile, UbCardsFillRows) {
  auto run = read_exp(
      "UB 0.1 0.0 0.0\n"
      "UB 0.0,0.125,0.0\n"
      "UB 0.0 0.0 0.25 trailing text\n");
  ASSERT_EQ(run->rs.msg.IHALT, 0);
  const auto& c = run->rs.cell;
  EXPECT_EQ(run->rs.ctl.NUBLIN, 3);
  EXPECT_FLOAT_EQ(at(c.UB, 1, 1), 0.1f);
  EXPECT_FLOAT_EQ(at(c.UB, 2, 2), 0.125f);
  EXPECT_FLOAT_EQ(at(c.UB, 3, 3), 0.25f);
  EXPECT_NEAR(c.UBCELL[0], 10.0f, 1e-5f);
  EXPECT_NEAR(c.UBCELL[1], 8.0f, 1e-5f);
  EXPECT_NEAR(c.UBCELL[2], 4.0f, 1e-5f);
  EXPECT_NEAR(c.CELLVOL, 320.0f, 1e-3f);
  // Without a CELL card the cell from UB becomes the cell of the run, and a cell is known.
  const auto& ctl = run->rs.ctl;
  EXPECT_EQ(ctl.ICELL, 1);
  EXPECT_EQ(ctl.IBMAT, 1);
  for (int j = 0; j < 6; ++j) EXPECT_EQ(ctl.CELLPAR[j], c.UBCELL[j]);
  EXPECT_EQ(ctl.EXPVOL, c.CELLVOL);
  EXPECT_NEAR(at(c.BMAT, 1, 1), 0.1f, 1e-7f);
  EXPECT_NEAR(at(c.BMAT, 3, 3), 0.25f, 1e-7f);
  EXPECT_TRUE(run->dialogs.warning_texts.empty());
}

TEST(ReadExpFile, UblCardsAreDividedByTheLastWavelength) {
  // 0.05 / 0.5 = 0.1: the matrix is twice the numbers on the cards.
  auto run = read_exp(
      "WAVEL 1 0.9\n"
      "UBL 0.05 0 0\nUBL 0 0.05 0\nUBL 0 0 0.05\n"
      "WAVEL 1 0.5\n");
  ASSERT_EQ(run->rs.msg.IHALT, 0);
  EXPECT_FLOAT_EQ(at(run->rs.cell.UB, 1, 1), 0.1f);
  EXPECT_FLOAT_EQ(at(run->rs.cell.UB, 3, 3), 0.1f);
  EXPECT_EQ(at(run->rs.cell.UB, 1, 2), 0.0f);
  EXPECT_NEAR(run->rs.cell.UBCELL[2], 10.0f, 1e-5f);
}

TEST(ReadExpFile, OneUblCardMakesTheWholeMatrixUbl) {
  auto run = read_exp("WAVEL 1 0.5\nUB 0.05 0 0\nUBL 0 0.05 0\nUB 0 0 0.05\n");
  EXPECT_FLOAT_EQ(at(run->rs.cell.UB, 1, 1), 0.1f);
}

TEST(ReadExpFile, UbCardFailures) {
  const std::string rows2 = "UB 0.1 0 0\nUB 0 0.1 0\n";
  EXPECT_TRUE(halted_with(*read_exp(rows2), "ERROR IN READ_HKL: ONLY PART OF UB MATRIX PRESENT"));
  EXPECT_TRUE(halted_with(*read_exp(rows2 + "UB 0 0 0.1\nUB 0 0 0.1\n"),
                          "TOO MANY UB LINES IN EXP FILE"));
  for (const char* card : {"UB 0 0", "UB 0 X 0.1", "UBL 0 0 NAN", "UB 0 0 -INF"}) {
    auto run = read_exp(rows2 + card + "\n");
    EXPECT_TRUE(halted_with(*run, read_error_text(card))) << card;
  }
}

TEST(ReadExpFile, SingularUbStopsAfterTheCards) {
  auto run = read_exp("UB 0.1 0 0\nUB 0.1 0 0\nUB 0 0 0.1\n");
  ASSERT_EQ(run->rs.msg.IHALT, 1);
  EXPECT_EQ(run->rs.msg.ERRMSG.substr(0, 29), "INVALID UB: (UBTRANSPOSE)-1= ");
  EXPECT_EQ(run->rs.ctl.IBMAT, 0);  // the reading stopped before the B matrix
}

TEST(ReadExpFile, CellCard) {
  auto run = read_exp("CELL  10 10 10 90 90 90\n");
  const auto& ctl = run->rs.ctl;
  ASSERT_EQ(run->rs.msg.IHALT, 0);
  EXPECT_EQ(ctl.ICELL, 1);
  EXPECT_EQ(ctl.IBMAT, 1);
  EXPECT_NEAR(ctl.EXPVOL, 1000.0f, 1e-2f);
  EXPECT_EQ(ctl.CELLPAR[6], 0.0f);
  EXPECT_NEAR(geometry::at(run->rs.cell.BMAT, 2, 2), 0.1f, 1e-7f);
  // The numbers start behind the keyword: one blank, or a tab, is enough.
  EXPECT_FLOAT_EQ(read_exp("CELL 12 10 10 90 90 90\n")->rs.ctl.CELLPAR[0], 12.0f);
  EXPECT_FLOAT_EQ(read_exp("CELL\t4.8731 10 10 90 90 90\n")->rs.ctl.CELLPAR[0], 4.8731f);
  // A word that runs on from the keyword (CELLS) is part of it.
  EXPECT_FLOAT_EQ(read_exp("CELLS 7.5 10 10 90 90 90\n")->rs.ctl.CELLPAR[0], 7.5f);
}

TEST(ReadExpFile, CellCardVolumeAndSeventhValue) {
  auto run = read_exp("CELL  10 10 10 90 90 90 7 1234.5\n");
  EXPECT_FLOAT_EQ(run->rs.ctl.CELLPAR[6], 7.0f);
  EXPECT_FLOAT_EQ(run->rs.ctl.EXPVOL, 1234.5f);  // a volume on the card is taken as it is
}

TEST(ReadExpFile, ShortCellCardKeepsEarlierValues) {
  vorlane::testing::MemoryRun run("CELL  4 5 6\n");
  run.rs.ctl.CELLPAR = {1, 2, 3, 90, 90, 120, 0};
  READ_EXP_FILE(run.rs);
  ASSERT_EQ(run.rs.msg.IHALT, 0);
  EXPECT_EQ(run.rs.ctl.CELLPAR, (std::array<float, 7>{4, 5, 6, 90, 90, 120, 0}));
  // V = abc sin(gamma)
  EXPECT_NEAR(run.rs.ctl.EXPVOL, 120.0f * std::sqrt(3.0f) / 2.0f, 1e-3f);
}

TEST(ReadExpFile, CellCardFailures) {
  for (const char* card : {"CELL  10 10 X 90 90 90", "CELL  10 0 10 90 90 90",
                           "CELL  10 -10 10 90 90 90", "CELL  10 10 10 90 NAN 90", "CELL"}) {
    auto run = read_exp(std::string(card) + "\n");
    EXPECT_TRUE(halted_with(*run, read_error_text(card))) << card;
  }
}

TEST(ReadExpFile, CellWhoseAnglesCannotCloseIsFatal) {
  // alpha + beta < gamma: no cell has these angles.
  auto run = read_exp("CELL  5 5 5 30 30 90\n");
  EXPECT_TRUE(halted_with(*run, "INVALID UNIT CELL IN EXP FILE:     5.0000    5.0000    5.0000"
                                "   30.0000   30.0000   90.0000"));
  // A short card leaving the angles at zero is fatal as well.
  EXPECT_EQ(read_exp("CELL  5 5 5\n")->rs.msg.IHALT, 1);
}

TEST(ReadExpFile, BlaxesCard) {
  auto run = read_exp(
      "BLAXES 2 -1 3\n"
      "UB 1 2 3\nUB 4 5 7\nUB 7 8 10\n");
  ASSERT_EQ(run->rs.msg.IHALT, 0);
  const auto& ub = run->rs.cell.UB;
  // new row 1 = -old row 2; new row 2 = old row 1.
  EXPECT_EQ(at(ub, 1, 1), -4.0f);
  EXPECT_EQ(at(ub, 1, 3), -7.0f);
  EXPECT_EQ(at(ub, 2, 2), 2.0f);
  EXPECT_EQ(at(ub, 3, 3), 10.0f);
}

TEST(ReadExpFile, BlaxesWrongSumWarnsAndGoesOn) {
  auto run = read_exp("BLAXES 1 2 4\nUB 0.1 0 0\nUB 0 0.1 0\nUB 0 0 0.1\n");
  EXPECT_EQ(run->rs.msg.IHALT, 0);
  ASSERT_EQ(run->dialogs.warning_texts.size(), 1u);
  EXPECT_EQ(run->dialogs.warning_texts[0].substr(0, 47),
            "ERROR IN EXP FILE: BLAXES CARD ENTRIES ADD TO 7");
  EXPECT_EQ(run->rs.ctl.BLAXES, (std::array<int, 3>{1, 2, 3}));
  EXPECT_NEAR(run->rs.cell.UBCELL[0], 10.0f, 1e-5f);
}

TEST(ReadExpFile, BlaxesCardFailures) {
  for (const char* card : {"BLAXES 1 2", "BLAXES 1.5 2 3", "BLAXES A B C"}) {
    auto run = read_exp(std::string(card) + "\n");
    EXPECT_TRUE(halted_with(*run, read_error_text(card))) << card;
  }
}

TEST(ReadExpFile, CrlfLinesAndLongLines) {
  auto run = read_exp("WAVEL 1 0.56087\r\nCELL  5 5 5 90 90 90\r\nTITLE " +
                      std::string(80, 'a') + "zzz\r\n");
  ASSERT_EQ(run->rs.msg.IHALT, 0);
  EXPECT_FLOAT_EQ(run->rs.ctl.WAVE, 0.56087f);
  EXPECT_EQ(run->rs.ctl.TITLE, std::string(74, 'A') + std::string(6, ' '));
}

TEST(ReadExpFile, RealDataSetFile) {
  const auto text = vorlane::testing::read_text_file(
      std::string(VORLANE_TEST_DATA) + "/exp/exp714_p21c_crysalis.exp");
  auto run = read_exp(text);
  ASSERT_EQ(run->rs.msg.IHALT, 0);
  const auto& ctl = run->rs.ctl;
  EXPECT_EQ(ctl.TITLE.substr(0, 22), " EXP714_P21C_CRYSALIS ");  // two blanks after TITLE
  EXPECT_FLOAT_EQ(ctl.WAVE, 1.54184f);
  EXPECT_FLOAT_EQ(ctl.CELLPAR[4], 91.205f);
  EXPECT_EQ(ctl.IBMAT, 1);
  EXPECT_EQ(run->rs.sg.NSYMOP, 4);
  EXPECT_EQ(run->rs.sg.NPLANE, 2);
  EXPECT_EQ(ctl.IABSENT, 2);
  const auto lines = run->print_lines();
  EXPECT_NE(std::find(lines.begin(), lines.end(), "centrosymmetric space group"), lines.end());
}

}  // namespace
}  // namespace vorlane::expfile
