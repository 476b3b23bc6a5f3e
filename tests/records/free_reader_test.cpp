// Free-format reading of a card: separators, nulls, repeats, slash, end versus bad.
#include "records/free_reader.hpp"

#include <gtest/gtest.h>

#include <string>

namespace vorlane::records {
namespace {

TEST(FreeReader, ValuesNullsAndRepeats) {
  FreeReader r("1.5, ,3 2*7 2*, 4*0.5");
  float a = -1, b = -1, c = -1, d = -1, e = -1, f = -1, g = -1, h = -1;
  EXPECT_EQ(r.read(a), ReadStatus::ok);
  EXPECT_EQ(r.read(b), ReadStatus::ok);  // null: unchanged
  EXPECT_EQ(r.read(c), ReadStatus::ok);
  int i = -1, j = -1;
  EXPECT_EQ(r.read(i), ReadStatus::ok);
  EXPECT_EQ(r.read(j), ReadStatus::ok);
  EXPECT_EQ(r.read(d), ReadStatus::ok);  // two nulls
  EXPECT_EQ(r.read(e), ReadStatus::ok);
  EXPECT_EQ(r.read(f), ReadStatus::ok);
  EXPECT_EQ(r.read(g), ReadStatus::ok);
  EXPECT_EQ(a, 1.5f);
  EXPECT_EQ(b, -1.0f);
  EXPECT_EQ(c, 3.0f);
  EXPECT_EQ(i, 7);
  EXPECT_EQ(j, 7);
  EXPECT_EQ(d, -1.0f);
  EXPECT_EQ(e, -1.0f);
  EXPECT_EQ(f, 0.5f);
  EXPECT_EQ(g, 0.5f);
  EXPECT_EQ(r.read(h), ReadStatus::ok);
  EXPECT_EQ(r.read(h), ReadStatus::ok);
  EXPECT_EQ(h, 0.5f);
  EXPECT_EQ(r.read(h), ReadStatus::end);
}

TEST(FreeReader, SlashEndsTheListForGood) {
  FreeReader r("10 20 / 30");
  int a = 0, b = 0, c = -1;
  EXPECT_EQ(r.read(a), ReadStatus::ok);
  EXPECT_EQ(r.read(b), ReadStatus::ok);
  EXPECT_EQ(r.read(c), ReadStatus::end);
  EXPECT_EQ(r.read(c), ReadStatus::end);
  EXPECT_EQ(c, -1);
}

TEST(FreeReader, BadItemIsNotEnd) {
  FreeReader r("3 1.5 junk");
  int n = 0, m = -1;
  EXPECT_EQ(r.read(n), ReadStatus::ok);
  EXPECT_EQ(r.read(m), ReadStatus::bad) << "an integer refuses 1.5";
  EXPECT_EQ(r.bad_item(), "1.5");
  EXPECT_EQ(m, -1);
  FreeReader blank("        ");
  EXPECT_EQ(blank.read(n), ReadStatus::end);
}

TEST(FreeReader, StopsRightAfterTheValuesTaken) {
  const std::string card = "0.71 2 garbage";
  FreeReader r(card);
  float x = 0;
  int k = 0;
  EXPECT_EQ(r.read(x), ReadStatus::ok);
  EXPECT_EQ(r.read(k), ReadStatus::ok);
  EXPECT_EQ(r.position(), 6u);
  EXPECT_EQ(x, 0.71f);
  EXPECT_EQ(k, 2);
  double d = 0;
  FreeReader r2("1.00000005960464478");
  EXPECT_EQ(r2.read(d), ReadStatus::ok);
  EXPECT_EQ(d, 1.00000005960464478);
}

}  // namespace
}  // namespace vorlane::records
