// Fixed-column reading: implied decimals, blanks, short records, bad fields and their columns.
#include "records/fixed_reader.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

namespace vorlane::records {
namespace {

TEST(FixedReader, SingleFields) {
  int i = -1;
  EXPECT_EQ(read_I("    ", i).status, ReadStatus::ok);
  EXPECT_EQ(i, 0);
  EXPECT_EQ(read_I(" -1 2", i).status, ReadStatus::ok);
  EXPECT_EQ(i, -12);
  float f = -1;
  EXPECT_EQ(read_F("     12345", 3, f).status, ReadStatus::ok);
  EXPECT_EQ(f, 12.345f);
  EXPECT_EQ(read_F("   12.5   ", 3, f).status, ReadStatus::ok);
  EXPECT_EQ(f, 12.5f);
  EXPECT_EQ(read_F("       -12", 3, f).status, ReadStatus::ok);
  EXPECT_EQ(f, -0.012f);
  double d = 0;
  EXPECT_EQ(read_F("       1", 5, d).status, ReadStatus::ok);
  EXPECT_EQ(d, 1e-5);
  const FieldResult bad = read_I(" 1.0", i);
  EXPECT_EQ(bad.status, ReadStatus::bad);
  EXPECT_EQ(bad.column, 1);
  EXPECT_EQ(bad.text, " 1.0");
  EXPECT_EQ(i, -12) << "a bad field leaves the value unchanged";
}

TEST(FixedReader, ReflectionRecord) {
  // An hkl-style record: 3I4, 2F8.2 and a batch number in I4.
  const EditList layout("3I4,2F8.2,I4");
  int h = 0, k = 0, l = 0, batch = -1;
  float fsq = 0, sig = 0;
  const Target t[] = {&h, &k, &l, &fsq, &sig, &batch};
  EXPECT_EQ(read_fixed(layout, "   1  -2   3 1234.56   12.34", t).status, ReadStatus::ok);
  EXPECT_EQ(h, 1);
  EXPECT_EQ(k, -2);
  EXPECT_EQ(l, 3);
  EXPECT_EQ(fsq, 1234.56f);
  EXPECT_EQ(sig, 12.34f);
  EXPECT_EQ(batch, 0) << "the short record reads as padded with blanks";
  // Implied decimals in both real fields; a CRLF line end is not part of the record.
  EXPECT_EQ(read_fixed(layout, "   1  -2   3  123456    1234   1\r", t).status, ReadStatus::ok);
  EXPECT_EQ(fsq, 1234.56f);
  EXPECT_EQ(sig, 12.34f);
  EXPECT_EQ(batch, 1);
}

TEST(FixedReader, BadFieldNamesItsColumnAndStops) {
  const EditList layout("I4,1X,F8.3,I4");
  int a = -1, b = -1;
  float x = -1;
  const Target t[] = {&a, &x, &b};
  const FieldResult r = read_fixed(layout, "  12 1.2.3     7", t);
  EXPECT_EQ(r.status, ReadStatus::bad);
  EXPECT_EQ(r.column, 6);
  EXPECT_EQ(r.text, "1.2.3   ");
  EXPECT_EQ(a, 12);
  EXPECT_EQ(x, -1.0f);
  EXPECT_EQ(b, -1) << "targets after the bad field are left unchanged";
}

TEST(FixedReader, TextFieldsAndFewerTargets) {
  const EditList layout("A4,2X,I3,I3");
  std::string s;
  int n = -1;
  const Target t[] = {&s, &n};
  EXPECT_EQ(read_fixed(layout, "ab", t).status, ReadStatus::ok);
  EXPECT_EQ(s, "ab  ");
  EXPECT_EQ(n, 0);
  const Target too_many[] = {&s, &n, &n, &n};
  EXPECT_THROW(read_fixed(layout, "", too_many), std::invalid_argument);
  float f = 0;
  const Target wrong_type[] = {&s, &f};
  EXPECT_THROW(read_fixed(layout, "abcd    1", wrong_type), std::invalid_argument);
}

TEST(FixedReader, NonFiniteValuesAreReadAsNumbers) {
  float f = 0;
  EXPECT_EQ(read_F("     NaN", 3, f).status, ReadStatus::ok);
  EXPECT_TRUE(std::isnan(f));
  EXPECT_EQ(read_F("    -Inf", 3, f).status, ReadStatus::ok);
  EXPECT_TRUE(std::isinf(f) && f < 0);
  EXPECT_EQ(read_F("   1.0E39", 3, f).status, ReadStatus::ok);
  EXPECT_TRUE(std::isinf(f) && f > 0) << "overflow gives an infinity, no error";
  EXPECT_EQ(read_F("   N a N", 3, f).status, ReadStatus::bad);
}

}  // namespace
}  // namespace vorlane::records
