// SYMOP_EXP and the two OPSYM listings, character for character. The expected lines are laid
// out from the record descriptions (the carriage-control blank of each record is not part of
// the plain-text line).
#include <gtest/gtest.h>

#include "records/program_stop.hpp"
#include "symmetry/opsym.hpp"
#include "symmetry/syminv.hpp"
#include "symmetry_cards_test_helpers.hpp"

namespace vorlane::expfile {
namespace {

using symtest::blanks;
using symtest::MemoryPrint;
using Lines = std::vector<std::string>;

// One operator line of the position listing from its three 9-character fields.
std::string position_line(const std::string& a, const std::string& b, const std::string& c) {
  const auto field = [](const std::string& f) { return blanks(5) + f + blanks(9 - static_cast<int>(f.size())) + blanks(6); };
  return blanks(0) + field(a) + field(b) + field(c);
}
// One operator line of the reflection listing from its 6-character fields and phase text.
std::string reflection_line(const std::string& a, const std::string& b, const std::string& c,
                            const std::string& phase) {
  const auto field = [](const std::string& f) { return blanks(5) + f + blanks(6 - static_cast<int>(f.size())) + blanks(6); };
  return field(a) + field(b) + field(c) + blanks(10) + phase + blanks(14 - static_cast<int>(phase.size()));
}
std::string zero_centring_line(const std::string& mark) {
  return blanks(1) + blanks(4) + " 0 " + blanks(13) + blanks(4) + " 0 " + blanks(13) + blanks(4) +
         " 0 " + blanks(4) + mark;
}

symmetry::SpaceGroup p21c(MemoryPrint& mp) {
  symmetry::SpaceGroup sg;
  INITSYM(sg);
  symtest::symop(sg, "-X,Y+1/2,-Z");
  symtest::symop(sg, "-X,-Y,-Z");
  SYMOP_EXP(sg, mp.prt);
  return sg;
}

TEST(SymopExp, P21cIsCentrosymmetricWithPairedSlots) {
  MemoryPrint mp;
  const symmetry::SpaceGroup sg = p21c(mp);
  EXPECT_EQ(mp.lines(), (Lines{"centrosymmetric space group", "   4 symmetry operators generated"}));
  EXPECT_EQ(sg.NSYMOP, 4);
  EXPECT_EQ(sg.ICENTRIC, 2);
  // Slot 3 holds the screw, slot 4 its exact negative.
  EXPECT_EQ(sg.SYMROT[2], (symmetry::Mat3{-1, 0, 0, 0, 1, 0, 0, 0, -1}));
  EXPECT_FLOAT_EQ(sg.SYMTRN[2][1], 0.5f);
  for (int e = 0; e < 9; ++e) EXPECT_EQ(sg.SYMROT[3][e], -sg.SYMROT[2][e]);
  EXPECT_FLOAT_EQ(sg.SYMTRN[3][1], 0.5f);  // -1/2 raised by one cell
  for (int e = 0; e < 9; ++e) EXPECT_EQ(sg.SYMROT[1][e], -sg.SYMROT[0][e]);
}

TEST(SymopExp, P21cListings) {
  MemoryPrint build;
  symmetry::SpaceGroup sg = p21c(build);
  MemoryPrint mp;
  symmetry::OPSYM(sg, mp.prt);
  symmetry::SYMINV(sg, 2, mp.prt);
  symmetry::OPSYM(sg, mp.prt);
  const Lines expected{
      "",
      "general equivalent positions are:",
      zero_centring_line(" +-"),
      "",
      position_line(" x", " y", " z"),
      position_line("-x", "1/2+y", "-z"),
      "",
      "equivalent reflections are: +-" + blanks(30) + "with relative phass 2pi times:",
      reflection_line(" h", " k", " l", "0"),
      reflection_line("-h", " k", "-l", "1/2k"),
  };
  EXPECT_EQ(mp.lines(), expected);
}

TEST(SymopExp, NoSymmetryAndInversionAlone) {
  MemoryPrint mp;
  symmetry::SpaceGroup sg;
  INITSYM(sg);
  SYMOP_EXP(sg, mp.prt);
  EXPECT_EQ(mp.lines(), (Lines{"non-centrosymmetric space group", "   1 symmetry operators generated"}));
  EXPECT_EQ(sg.ICENTRIC, 1);

  MemoryPrint mp2;
  INITSYM(sg);
  symtest::symop(sg, "-X,-Y,-Z");
  SYMOP_EXP(sg, mp2.prt);
  EXPECT_EQ(mp2.lines(), (Lines{"centrosymmetric space group", "   2 symmetry operators generated"}));
  EXPECT_EQ(sg.ICENTRIC, 2);
}

TEST(SymopExp, CentringLineAndClosedCentring) {
  // I centring given with a four-fold: the vector (1/2,1/2,1/2) and no other.
  MemoryPrint mp;
  symmetry::SpaceGroup sg;
  INITSYM(sg);
  symtest::symop(sg, "X+1/2,Y+1/2,Z+1/2");
  symtest::symop(sg, "-Y,X,Z");
  SYMOP_EXP(sg, mp.prt);
  EXPECT_EQ(sg.NSYMOP, 4);
  EXPECT_EQ(sg.NCENVEC, 2);
  MemoryPrint listing;
  symmetry::OPSYM(sg, listing.prt);
  const Lines lines = listing.lines();
  ASSERT_GE(lines.size(), 4u);
  EXPECT_EQ(lines[2], zero_centring_line("  +"));
  EXPECT_EQ(lines[3], blanks(1) + blanks(4) + "1/2" + blanks(13) + blanks(4) + "1/2" + blanks(13) +
                          blanks(4) + "1/2" + blanks(4) + "  +");
  EXPECT_EQ(lines[4], "");
}

TEST(SymopExp, CentringNotAFractionPrintsNumbers) {
  symmetry::SpaceGroup sg;
  INITSYM(sg);
  sg.NCENVEC = 2;
  sg.CENVEC[1] = {0.2f, 0.5f, 0.0f};  // fifths are no crystallographic centring
  MemoryPrint listing;
  symmetry::OPSYM(sg, listing.prt);
  const Lines lines = listing.lines();
  ASSERT_GE(lines.size(), 4u);
  EXPECT_EQ(lines[3], blanks(1) + "    0.2000" + blanks(10) + "    0.5000" + blanks(10) +
                          "    0.0000" + blanks(4) + "  +");
}

TEST(SymopExp, HexagonalScrewListsTheImagesActuallyUsed) {
  // 6_3: x-y,x,z+1/2. A reflection h goes to h·R = (h+k, -h, l) with the phase l/2.
  symmetry::SpaceGroup sg;
  INITSYM(sg);
  symtest::symop(sg, "X-Y,X,Z+1/2");
  MemoryPrint build;
  SYMOP_EXP(sg, build.prt);
  ASSERT_EQ(sg.NSYMOP, 6);
  MemoryPrint mp;
  symmetry::OPSYM(sg, mp.prt);
  symmetry::SYMINV(sg, 2, mp.prt);
  symmetry::OPSYM(sg, mp.prt);
  const Lines lines = mp.lines();
  ASSERT_EQ(lines.size(), 4u + 6u + 2u + 6u);
  EXPECT_EQ(lines[4], position_line(" x", " y", " z"));
  EXPECT_EQ(lines[5], position_line(" x-y", " x", "1/2+z"));
  EXPECT_EQ(lines[13], reflection_line(" h+k", "-h", " l", "1/2l"));
}

TEST(SymopExp, IncompleteCentrosymmetricGroupStops) {
  // Identity and inversion pair up, but the two-fold in slot 3 has no negative.
  symmetry::SpaceGroup sg;
  INITSYM(sg);
  sg.NSYMOP = 3;
  sg.SYMROT[1] = {-1, 0, 0, 0, -1, 0, 0, 0, -1};
  sg.SYMROT[2] = {-1, 0, 0, 0, 1, 0, 0, 0, -1};
  MemoryPrint mp;
  try {
    SYMOP_EXP(sg, mp.prt);
    FAIL() << "no stop";
  } catch (const records::ProgramStop& e) {
    EXPECT_FALSE(e.to_standard_output());
  }
  const Lines lines = mp.lines();
  ASSERT_GE(lines.size(), 4u);
  EXPECT_EQ(lines[0], "incomplete space group, no centric match for operator    3");
  EXPECT_EQ(lines[1], "probable program error");
  EXPECT_EQ(lines[3], "general equivalent positions are:");
}

}  // namespace
}  // namespace vorlane::expfile
