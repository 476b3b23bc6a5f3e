// WRITEDATA: which sets and members reach the output file, with which flag and sequence
// number, in averaged and individual output.
#include <gtest/gtest.h>

#include "output/write_data.hpp"
#include "support/test_support.hpp"

namespace vorlane::output {
namespace {

using testing::MemoryRun;

struct MemberSpec {
  std::array<int, 3> h;
  float fsq;
  float sig;
  int irej = 0;
  int iobs = 1;
};

struct SetSpec {
  int iabs = 0;
  int igt = 1;
  int nave = -1;  // default: NEQ
  float fave = 100.0f;
  float sigave = 2.0f;
  float aux = 0.0f;
};

void add_set(run::ReflectionList& list, const SetSpec& wanted, std::vector<MemberSpec> members) {
  run::EquivSet set;
  set.first = static_cast<std::uint32_t>(list.members.size());
  set.NEQ = static_cast<int>(members.size());
  set.NAVE = wanted.nave < 0 ? set.NEQ : wanted.nave;
  set.FAVE = wanted.fave;
  set.SIGAVE = wanted.sigave;
  set.IABS = wanted.iabs;
  set.IGT = wanted.igt;
  set.AUXVAL = wanted.aux;
  for (const MemberSpec& m : members) {
    run::Member mem;
    mem.IHKL = m.h;
    mem.FSQ = m.fsq;
    mem.SIGFSQ = m.sig;
    mem.REFANG = {10.0f + static_cast<float>(list.members.size())};
    mem.IREJ = static_cast<std::int8_t>(m.irej);
    mem.IOBS = static_cast<std::int8_t>(m.iobs);
    list.members.push_back(mem);
  }
  list.sets.push_back(set);
}

// Six sets: allowed (two members); outside 2theta; violation; violation and outside; less-than; one that
// averaged to a single member out of three.
void six_sets(run::ReflectionList& list) {
  add_set(list, {}, {{{1, 0, 0}, 100, 2}, {{-1, 0, 0}, 100, 2}});
  add_set(list, {.iabs = 2}, {{{2, 0, 0}, 100, 2}});
  add_set(list, {.iabs = 1}, {{{3, 0, 0}, 100, 2}});
  add_set(list, {.iabs = 3}, {{{4, 0, 0}, 100, 2}});
  add_set(list, {.igt = 0, .fave = 1.0f}, {{{5, 0, 0}, 1, 2}});
  add_set(list, {.nave = 1}, {{{6, 0, 0}, 100, 2}, {{-6, 0, 0}, 1, 2, 2}, {{6, 0, 0}, 1, 2, 2}});
}

// (h, flag, sequence number) of every Zezor record written.
std::vector<std::array<int, 3>> zezor_summary(const std::string& text) {
  std::vector<std::array<int, 3>> out;
  for (const std::string& line : testing::split_lines(text)) {
    out.push_back({std::stoi(line.substr(0, 3)), std::stoi(line.substr(35, 5)),
                   std::stoi(line.substr(73, 5))});
  }
  return out;
}

using Summary = std::vector<std::array<int, 3>>;

TEST(WriteDataAveraged, FlagsAndSequenceNumbersWithViolationsAsLessThans) {
  MemoryRun run;
  run.rs.files.OUTFMT = 0;
  run.rs.ctl.IABSENT = 1;
  six_sets(run.rs.refl);
  WRITEDATA(run.rs);
  // The sequence number is the set's position, with gaps where sets are left out.
  EXPECT_EQ(zezor_summary(run.output_text()),
            (Summary{{1, 1, 1}, {3, 2, 3}, {5, 2, 5}, {6, 1, 6}}));
  EXPECT_EQ(run.rs.msg.IHALT, 0);
}

TEST(WriteDataAveraged, DeletedViolationsRejectedLessThansNoSinglets) {
  MemoryRun run;
  run.rs.files.OUTFMT = 0;
  run.rs.ctl.IABSENT = 2;
  run.rs.ctl.IREJLT = 1;
  run.rs.ctl.INOSING = 1;
  six_sets(run.rs.refl);
  WRITEDATA(run.rs);
  // Set 6 had three members but only one entered its average: left out as a singlet.
  EXPECT_EQ(zezor_summary(run.output_text()), (Summary{{1, 1, 1}}));
}

TEST(WriteDataAveraged, ViolationsIncludedWhenAbsencesAreNotTreated) {
  MemoryRun run;
  run.rs.files.OUTFMT = 0;
  run.rs.ctl.IABSENT = 0;
  six_sets(run.rs.refl);
  WRITEDATA(run.rs);
  EXPECT_EQ(zezor_summary(run.output_text()),
            (Summary{{1, 1, 1}, {3, 1, 3}, {5, 2, 5}, {6, 1, 6}}));
}

TEST(WriteDataAveraged, RepresentativeIndicesScaledValuesAndFirstTwoTheta) {
  MemoryRun run;
  run.rs.files.OUTFMT = 1;
  run.rs.ctl.IABSENT = 2;
  run.rs.ctl.OSCALE = 2.0f;
  add_set(run.rs.refl, {.fave = 100.0f, .sigave = 2.0f},
          {{{1, 2, 3}, 90, 2}, {{-1, -2, -3}, 110, 2}});
  WRITEDATA(run.rs);
  // 200 in F7.3 (200.001 has three integer digits), 4 in F7.5.
  EXPECT_EQ(run.output_text(), "   1   2   3 200.000 4.00000\n");
  // The stored values are not touched by the scale.
  EXPECT_EQ(run.rs.refl.sets[0].FAVE, 100.0f);

  MemoryRun zezor;
  zezor.rs.files.OUTFMT = 0;
  zezor.rs.ctl.OSCALE = 4.0f;
  add_set(zezor.rs.refl, {.fave = 25.0f, .sigave = 5.0f, .aux = 0.5f},
          {{{1, 2, 3}, 25, 5}, {{-1, -2, -3}, 25, 5}});
  WRITEDATA(zezor.rs);
  // F = sqrt(100) = 10, sigma(F) = 20 / 2 / 10 = 1; 2theta of member 1 (10.00).
  EXPECT_EQ(zezor.output_text(),
            "  1  2  3 10.000000 1.000   0.50000    1       10.00   0.00   0.00   0.00    1\n");
}

TEST(WriteDataIndividual, AcceptedMembersWithTheirOwnIndicesAndFlags) {
  MemoryRun run;
  run.rs.files.OUTFMT = 0;
  run.rs.ctl.IOUTAVE = 0;
  run.rs.ctl.IABSENT = 1;
  run.rs.ctl.INOSING = 1;  // plays no part in individual output
  add_set(run.rs.refl, {},
          {{{1, 0, 0}, 100, 2}, {{-1, 0, 0}, 10, 2, 1}, {{-1, 0, 0}, 3, 2, 0, 0}, {{1, 0, 0}, 300, 2, 2}});
  add_set(run.rs.refl, {.iabs = 2}, {{{2, 0, 0}, 100, 2}, {{-2, 0, 0}, 100, 2}});
  add_set(run.rs.refl, {.iabs = 1}, {{{3, 0, 0}, 100, 2}});
  add_set(run.rs.refl, {.nave = 1}, {{{4, 0, 0}, 100, 2}});
  WRITEDATA(run.rs);
  // Set 1: member 2 a DAC dip and member 4 an outlier are not written but counted;
  // member 3 a less-than (flag 2). Set 2 is outside the 2theta limits and not counted.
  // Set 3, a violation kept as a less-than, gets flag 2. Set 4 is a singlet, still written.
  EXPECT_EQ(zezor_summary(run.output_text()),
            (Summary{{1, 1, 1}, {-1, 2, 3}, {3, 2, 5}, {4, 1, 6}}));
}

TEST(WriteDataIndividual, RejectedLessThansLeaveTheObservedMembersOfTheirSet) {
  MemoryRun run;
  run.rs.files.OUTFMT = 1;
  run.rs.ctl.IOUTAVE = 0;
  run.rs.ctl.IABSENT = 2;
  run.rs.ctl.IREJLT = 1;
  run.rs.ctl.OSCALE = 0.5f;
  add_set(run.rs.refl, {.igt = 0},
          {{{1, 0, 0}, 100, 2}, {{-1, 0, 0}, 3, 2, 0, 0}, {{1, 0, 0}, 50, 4}});
  WRITEDATA(run.rs);
  EXPECT_EQ(run.output_text(),
            "   1   0   0 50.0000 1.00000\n"
            "   1   0   0 25.0000 2.00000\n");
}

TEST(WriteDataFailures, OverflowSkipsOneReflectionAndGoesOn) {
  MemoryRun run;
  run.rs.files.OUTFMT = 1;
  run.rs.ctl.IABSENT = 2;
  add_set(run.rs.refl, {.fave = 12345678.0f}, {{{1, 0, 0}, 1, 1}});
  add_set(run.rs.refl, {.fave = 5.0f, .sigave = 1.0f}, {{{2, 0, 0}, 1, 1}});
  WRITEDATA(run.rs);
  EXPECT_EQ(run.output_text(), "   2   0   0 5.00000 1.00000\n");
  EXPECT_EQ(run.dialogs.warning_texts.size(), 1u);
  EXPECT_EQ(run.rs.msg.IHALT, 0);
}

TEST(WriteDataFailures, AFileThatCannotBeWrittenIsFatal) {
  MemoryRun run;
  run.rs.files.OUTFMT = 1;
  add_set(run.rs.refl, {}, {{{1, 0, 0}, 1, 1}});
  run.out->setstate(std::ios::badbit);
  WRITEDATA(run.rs);
  EXPECT_EQ(run.rs.msg.IHALT, 1);
  ASSERT_EQ(run.dialogs.fatal_texts.size(), 1u);
  EXPECT_EQ(run.dialogs.fatal_texts[0], "ERROR WRITING OUTPUT DATA FILE test.avg ");
}

}  // namespace
}  // namespace vorlane::output
