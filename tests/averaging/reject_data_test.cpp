// Classification of sets and members after averaging.
#include <gtest/gtest.h>

#include "average_data_fixture.hpp"
#include "averaging/reject_data.hpp"
#include "support/test_support.hpp"
#include "symmetry/syminv.hpp"

namespace vorlane::averaging {
namespace {

using testing::add_set;

// Sets added with their averages already in place, as after HANDLE_SINGLETS.
run::EquivSet& add_averaged(run::RunState& rs, std::array<int, 3> hkl, float tth,
                            float fave = 100.0f, float sigave = 1.0f) {
  run::EquivSet& s = add_set(rs.refl, {{100.0f, 1.0f}, {100.0f, 1.0f}}, hkl, tth);
  s.FAVE = fave;
  s.SIGAVE = sigave;
  return s;
}

// P 1 c 1 as the driver leaves it: operators read in position form (x, y, z) and
// (x, -y, z+1/2), then turned into the form acting on indices. h0l with l odd is absent.
void glide_c(run::RunState& rs) {
  symmetry::SpaceGroup& sg = rs.sg;
  sg.NSYMOP = 2;
  sg.SYMROT[1] = {1, 0, 0, 0, -1, 0, 0, 0, 1};
  sg.SYMTRN[1] = {0.0f, 0.0f, 0.5f};
  symmetry::SYMINV(sg, 2, rs.files.print);
}

// C centring: vector (1/2, 1/2, 0); h + k odd is absent.
void centre_c(run::RunState& rs) {
  rs.sg.NCENVEC = 2;
  rs.sg.CENVEC[1] = {0.5f, 0.5f, 0.0f};
}

std::vector<int> iabs_of(const run::RunState& rs) {
  std::vector<int> v;
  for (const run::EquivSet& s : rs.refl.sets) v.push_back(s.IABS);
  return v;
}

TEST(RejectData, IdentityGroupWithDefaultsFlagsNothing) {
  testing::MemoryRun run;
  add_averaged(run.rs, {1, 0, 1}, 179.9f);
  add_averaged(run.rs, {0, 1, 0}, 0.0f);
  REJECTDATA(run.rs);
  EXPECT_EQ(iabs_of(run.rs), (std::vector<int>{0, 0}));
}

// The violation code is the same whatever IABSENT says: it only decides treatment later.
TEST(RejectData, SpaceGroupViolationsUnderEveryIabsent) {
  for (int iabsent : {0, 1, 2, 3}) {
    SCOPED_TRACE(iabsent);
    testing::MemoryRun run;
    run::RunState& rs = run.rs;
    rs.ctl.IABSENT = iabsent;
    glide_c(rs);
    centre_c(rs);
    add_averaged(rs, {1, 1, 1}, 20.0f);  // k != 0: not left alone by the glide; h + k even
    add_averaged(rs, {2, 0, 1}, 20.0f);  // h0l, l odd: glide absence
    add_averaged(rs, {2, 0, 2}, 20.0f);  // allowed
    add_averaged(rs, {1, 0, 0}, 20.0f);  // h + k odd: centring absence
    add_averaged(rs, {1, 2, 3}, 20.0f);  // h + k odd
    add_averaged(rs, {2, 0, 1}, 200.0f); // both: violation and outside the 2theta window
    REJECTDATA(rs);
    EXPECT_EQ(iabs_of(rs), (std::vector<int>{0, 1, 0, 1, 1, 3}));
  }
}

// Only member 1's 2theta counts, by its absolute value; a value equal to a limit is inside.
TEST(RejectData, TwoThetaLimits) {
  testing::MemoryRun run;
  run::RunState& rs = run.rs;
  rs.ctl.TTHMIN = 15.0f;
  rs.ctl.TTHMAX = 50.0f;
  add_averaged(rs, {1, 0, 0}, 50.0f);    // at TTHMAX: inside (later members at 10 ignored)
  add_averaged(rs, {1, 0, 0}, 50.01f);   // above
  add_averaged(rs, {1, 0, 0}, 15.0f);    // at TTHMIN: inside
  add_averaged(rs, {1, 0, 0}, 14.99f);   // below
  add_averaged(rs, {1, 0, 0}, -30.0f);   // |-30| inside
  add_averaged(rs, {1, 0, 0}, -60.0f);   // |-60| above
  REJECTDATA(rs);
  EXPECT_EQ(iabs_of(rs), (std::vector<int>{0, 2, 0, 2, 0, 2}));
}

// Greater-than means LTHRESH*sigma strictly below the value, for sets and members alike;
// rejected members are flagged too.
TEST(RejectData, GreaterThanFlagsAreStrict) {
  testing::MemoryRun run;
  run::RunState& rs = run.rs;
  rs.ctl.LTHRESH = 3.0f;
  add_averaged(rs, {1, 0, 0}, 20.0f, 3.0f, 1.0f);    // 3*1 = 3: less-than
  add_averaged(rs, {1, 0, 0}, 20.0f, 3.25f, 1.0f);   // greater-than
  add_averaged(rs, {1, 0, 0}, 20.0f, -5.0f, 0.0f);   // 0 < -5 is false
  run::EquivSet& s = add_set(rs.refl, {{6.0f, 2.0f}, {6.5f, 2.0f}, {90.0f, 2.0f}, {-1.0f, 0.5f}});
  s.FAVE = 6.25f;
  s.SIGAVE = 2.0f;
  rs.refl.member(s, 3).IREJ = 2;
  REJECTDATA(rs);
  EXPECT_EQ(rs.refl.sets[0].IGT, 0);
  EXPECT_EQ(rs.refl.sets[1].IGT, 1);
  EXPECT_EQ(rs.refl.sets[2].IGT, 0);
  EXPECT_EQ(s.IGT, 1);  // 6 < 6.25
  EXPECT_EQ(rs.refl.member(s, 1).IOBS, 0);  // 6 = 3*2
  EXPECT_EQ(rs.refl.member(s, 2).IOBS, 1);
  EXPECT_EQ(rs.refl.member(s, 3).IOBS, 1);  // the outlier is flagged as well
  EXPECT_EQ(rs.refl.member(s, 4).IOBS, 0);

  // A lower threshold turns the first set and member 1 into greater-thans.
  rs.ctl.LTHRESH = 2.9f;
  REJECTDATA(rs);
  EXPECT_EQ(rs.refl.sets[0].IGT, 1);
  EXPECT_EQ(rs.refl.member(s, 1).IOBS, 1);
}

TEST(RejectData, OverwritesEarlierCodes) {
  testing::MemoryRun run;
  run::EquivSet& s = add_averaged(run.rs, {1, 0, 0}, 20.0f, 1.0f, 1.0f);
  s.IABS = 3;
  s.IGT = 1;
  run.rs.refl.member(s, 1).IOBS = 0;
  REJECTDATA(run.rs);
  EXPECT_EQ(s.IABS, 0);
  EXPECT_EQ(s.IGT, 0);
  EXPECT_EQ(run.rs.refl.member(s, 1).IOBS, 1);  // 100 > 2*1
}

}  // namespace
}  // namespace vorlane::averaging
