// A CELL card beside a complete orientation matrix: one warning, giving both cells whole, when
// a constant is off by more than 1 percent; the run goes on with the matrix's cell. The matrix is the real CrysAlisPro one of tests/data/exp/exp714_p21c_ubl.exp; the
// numbers of the cell it gives were computed with numpy (see tests/data/exp/README.md).
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "exp_test_helpers.hpp"
#include "records/free_reader.hpp"

namespace vorlane::expfile {
namespace {

using test::read_exp;

const std::string kUbl =
    "WAVEL 1 1.54184\n"
    "UBL  -0.0080748000  0.1465083000  0.0325437000\n"
    "UBL  -0.0757148000  0.1010450000 -0.0408765000\n"
    "UBL  -0.1896830000 -0.0466306000  0.0137013000\n";

// numpy: cell from UB / lambda, double precision.
const float kUbCell[7] = {7.5450944f, 8.38040896f, 28.55061609f, 89.99188457f,
                          91.21065237f, 90.01754435f, 1804.88025f};

const std::string kHead =
    "UNIT CELL IN EXP FILE DIFFERENT FROM CALCULATED FROM UB MATRIX:   FROM UB:";

TEST(CellComparison, RealDataFileHasNoWarning) {
  const auto text = vorlane::testing::read_text_file(std::string(VORLANE_TEST_DATA) +
                                                     "/exp/exp714_p21c_ubl.exp");
  auto run = read_exp(text);
  ASSERT_EQ(run->rs.msg.IHALT, 0);
  EXPECT_TRUE(run->dialogs.warning_texts.empty());
  const auto& cell = run->rs.cell;
  for (int j = 0; j < 6; ++j) EXPECT_NEAR(cell.UBCELL[j], kUbCell[j], 2e-3f) << j;
  EXPECT_NEAR(cell.CELLVOL, kUbCell[6], 0.05f);
  // The CELL card, within 1 percent of the matrix's cell, is kept, and B starts from the
  // reciprocal cell of UB.
  EXPECT_FLOAT_EQ(run->rs.ctl.CELLPAR[0], 7.53902f);
  EXPECT_EQ(run->rs.ctl.IBMAT, 1);
  EXPECT_NEAR(run->rs.cell.BMAT[0], 0.13256604f, 2e-7f);  // a* of UB (numpy)
  EXPECT_EQ(run->rs.sg.NSYMOP, 4);
}

TEST(CellComparison, WithinOnePercentGivesNoWarning) {
  // Every constant 0.9 percent off the cell of UB.
  auto run = read_exp(kUbl + "CELL  7.6130 8.4558 28.808 90.80 92.03 90.83\n");
  EXPECT_EQ(run->rs.msg.IHALT, 0);
  EXPECT_TRUE(run->dialogs.warning_texts.empty());
}

TEST(CellComparison, OneWholeWarningWhenConstantsDiffer) {
  // a is 2 percent off, gamma 1.1 percent; the others agree.
  auto run = read_exp(kUbl + "CELL  7.70 8.38 28.55 90 91.2 91.00\n");
  EXPECT_EQ(run->rs.msg.IHALT, 0);
  ASSERT_EQ(run->dialogs.warning_texts.size(), 1u);
  // The heading, 7F10.4 from UB, "  FROM EXP:", 7F10.4 of the card (the seventh slot is 0),
  // and which cell the run goes on with.
  const std::string& m = run->dialogs.warning_texts[0];
  ASSERT_EQ(m.substr(0, kHead.size()), kHead);
  const std::string from_exp = "  FROM EXP:    7.7000    8.3800   28.5500   90.0000   91.2000"
                               "   91.0000    0.0000; THE UB CELL IS USED";
  EXPECT_EQ(m.substr(kHead.size() + 70), from_exp);
  // The UB fields hold the derived cell and volume.
  records::FreeReader reader(std::string_view(m).substr(kHead.size(), 70));
  for (int j = 0; j < 7; ++j) {
    float v = 0;
    ASSERT_EQ(reader.read(v), records::ReadStatus::ok);
    EXPECT_NEAR(v, kUbCell[j], j == 6 ? 0.06f : 2e-3f) << j;
  }
  // The print file holds the whole text too, in lines of at most 100 characters.
  const std::string text = run->print_text();
  EXPECT_NE(text.find("91.0000    0.0000; THE UB CELL IS USED"), std::string::npos) << text;
  std::size_t count = 0;
  for (auto p = text.find("****WARNING:"); p != std::string::npos;
       p = text.find("****WARNING:", p + 1))
    ++count;
  EXPECT_EQ(count, 1u);
  // Every figure that needs a cell takes the matrix's.
  for (int j = 0; j < 6; ++j) EXPECT_EQ(run->rs.ctl.CELLPAR[j], run->rs.cell.UBCELL[j]) << j;
}

TEST(CellComparison, CellCardWithoutVolumeIsReplacedOnlyWhenVolumeUnknown) {
  // A CELL card whose angles cannot close gets no volume: the cell of UB replaces it, and the
  // constants it left are not compared.
  auto run = read_exp(kUbl + "CELL  7.5 8.4 28.5\n");
  ASSERT_EQ(run->rs.msg.IHALT, 0) << run->rs.msg.ERRMSG;
  EXPECT_TRUE(run->dialogs.warning_texts.empty());
  for (int j = 0; j < 6; ++j) EXPECT_EQ(run->rs.ctl.CELLPAR[j], run->rs.cell.UBCELL[j]);
  EXPECT_EQ(run->rs.ctl.EXPVOL, run->rs.cell.CELLVOL);
  EXPECT_EQ(run->rs.ctl.ICELL, 1);
}

}  // namespace
}  // namespace vorlane::expfile
