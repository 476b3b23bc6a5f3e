// READ_SYMM: parsing of coordinate triplets and completion of the group.
#include <gtest/gtest.h>

#include "symmetry_cards_test_helpers.hpp"

namespace vorlane::expfile {
namespace {

using symmetry::elem;
using symmetry::Mat3;
using symmetry::Vec3;

symmetry::SpaceGroup read_cards(std::initializer_list<std::string> texts) {
  symmetry::SpaceGroup sg;
  INITSYM(sg);
  for (const std::string& t : texts) {
    int column = 0;
    const std::string c = symtest::card("SYMOP", t, column);
    int error = 42;
    READ_SYMM(sg, c, 80, column, error);
    EXPECT_EQ(error, 42);  // never changed
  }
  return sg;
}

TEST(ReadSymm, ScrewAxisOfP21) {
  const auto sg = read_cards({" -X,Y+1/2,-Z"});
  ASSERT_EQ(sg.NSYMOP, 2);
  EXPECT_EQ(sg.SYMROT[1], (Mat3{-1, 0, 0, 0, 1, 0, 0, 0, -1}));
  EXPECT_EQ(sg.SYMTRN[1], (Vec3{0, 0.5f, 0}));
  EXPECT_EQ(sg.NCENVEC, 1);
}

TEST(ReadSymm, SignStaysInForceForTheRestOfTheRow) {
  // Row 1 "-X Y": both elements -1; "-1/4" gives -0.25 as parsed; a lone digit gives 0.
  symmetry::SpaceGroup sg;
  INITSYM(sg);
  int column = 0;
  const std::string c = symtest::card("SYMOP", " -X Y-1/4,Y 3,Z", column);
  int error = 0;
  READ_SYMM(sg, c, 80, column, error);
  // The candidate is new, so it is operator 2; its closure products follow it.
  EXPECT_EQ(elem(sg.SYMROT[1], 1, 1), -1.0f);
  EXPECT_EQ(elem(sg.SYMROT[1], 1, 2), -1.0f);
  EXPECT_EQ(sg.SYMTRN[1][0], -0.25f);
  EXPECT_EQ(elem(sg.SYMROT[1], 2, 2), 1.0f);
  EXPECT_EQ(sg.SYMTRN[1][1], 0.0f);
}

TEST(ReadSymm, CentringTranslationBecomesACentringVector) {
  const auto sg = read_cards({" X+1/2,Y+1/2,Z"});
  EXPECT_EQ(sg.NSYMOP, 1);
  ASSERT_EQ(sg.NCENVEC, 2);
  EXPECT_EQ(sg.CENVEC[1], (Vec3{0.5f, 0.5f, 0}));
}

TEST(ReadSymm, LowerCaseCardAndRepeatsLeaveTheGroupAlone) {
  const auto once = read_cards({" x,-y,z"});
  const auto twice = read_cards({" x,-y,z", " X,-Y,Z"});
  EXPECT_EQ(once.NSYMOP, 2);
  EXPECT_EQ(twice.NSYMOP, 2);
  for (int n = 0; n < 2; ++n) {
    EXPECT_EQ(once.SYMROT[static_cast<std::size_t>(n)], twice.SYMROT[static_cast<std::size_t>(n)]);
    EXPECT_EQ(once.SYMTRN[static_cast<std::size_t>(n)], twice.SYMTRN[static_cast<std::size_t>(n)]);
  }
}

TEST(ReadSymm, LaterKeywordLettersFallIntoTheLastRow) {
  // "-X,-Y,Z OUTLIER SYMMETRY": the Y of SYMMETRY is within row 3's 20 characters.
  symmetry::SpaceGroup sg;
  INITSYM(sg);
  int column = 0;
  const std::string c = symtest::card("SYMOP", " -X,-Y,Z OUTLIER SYMMETRY", column);
  int error = 0;
  READ_SYMM(sg, c, 80, column, error);
  ASSERT_GE(sg.NSYMOP, 2);
  EXPECT_EQ(elem(sg.SYMROT[1], 3, 3), 1.0f);
  EXPECT_EQ(elem(sg.SYMROT[1], 3, 2), 1.0f);
}

TEST(ReadSymm, GeneratorsCloseIntoTheFullGroup) {
  // P 4/m m m from three generators: 16 operators, every product a member.
  const auto sg = read_cards({" -Y,X,Z", " X,-Y,-Z", " -X,-Y,-Z"});
  EXPECT_EQ(sg.NSYMOP, 16);
  // F centring from two translations: four centring vectors after SYMOP_EXP.
  auto f = read_cards({" X,Y+1/2,Z+1/2", " X+1/2,Y,Z+1/2", " -X,-Y,-Z"});
  symtest::MemoryPrint mp;
  SYMOP_EXP(f, mp.prt);
  EXPECT_EQ(f.NCENVEC, 4);
  EXPECT_EQ(f.NSYMOP, 2);
}

TEST(ReadSymm, CentringVectorsAreClosedUnderTheOperators) {
  // A-type translation (0,1/2,1/2) with a three-fold along the body diagonal: the other two
  // face centrings appear only as images of the first (F lattice).
  auto sg = read_cards({" X,Y+1/2,Z+1/2", " Z,X,Y"});
  EXPECT_EQ(sg.NCENVEC, 2);
  symtest::MemoryPrint mp;
  SYMOP_EXP(sg, mp.prt);
  EXPECT_EQ(sg.NCENVEC, 4);
}

}  // namespace
}  // namespace vorlane::expfile
