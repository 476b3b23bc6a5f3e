// OPSYM spells any translation of an operator, reduced fully into [0, 1), and never reaches
// outside its digit table whatever the stored value.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "symmetry/opsym.hpp"
#include "symmetry/symmetry_test_helpers.hpp"

namespace vorlane::symmetry {
namespace {

TEST(OpsymTranslation, AnyValueIsListedAsItsFractionOfOneCell) {
  struct Case {
    float t;
    const char* x_field;  // the first coordinate's nine columns
  };
  const float inf = std::numeric_limits<float>::infinity();
  const Case cases[] = {
      {0.5f, "1/2+x    "},  {6.0f, " x       "},      {-3.5f, "1/2+x    "},
      {2.25f, "1/4+x    "}, {-0.25f, "3/4+x    "},    {1.0e30f, " x       "},
      {-1.0e-9f, " x       "}, {inf, " x       "},   {-inf, " x       "},
      {std::nanf(""), " x       "}, {7.0f / 6.0f, "1/6+x    "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.t);
    const Mat3 id = test::rows(1, 0, 0, 0, 1, 0, 0, 0, 1);
    SpaceGroup sg = test::group_of({{id, {0, 0, 0}}, {id, {c.t, 0, 0}}});
    test::MemoryPrint p;
    OPSYM(sg, p.prt);
    const auto lines = p.lines();
    ASSERT_FALSE(lines.empty());
    const std::string& last = lines.back();
    ASSERT_GE(last.size(), 14u);
    EXPECT_EQ(last.substr(5, 9), c.x_field) << last;
    EXPECT_EQ(sg.SYMTRN[1][0] == c.t || std::isnan(c.t), true);  // stored value unchanged
  }
}

}  // namespace
}  // namespace vorlane::symmetry
