// Singlets and the sigma-ratio question, with the scripted dialogs of MemoryRun.
#include <gtest/gtest.h>

#include <algorithm>

#include "average_data_fixture.hpp"
#include "averaging/handle_singlets.hpp"
#include "support/test_support.hpp"

namespace vorlane::averaging {
namespace {

using testing::add_set;

// Two singlets (9 +- 4 and 20 +- 3) around an averaged set whose values must not change.
struct SingletRun : ::testing::Test {
  testing::MemoryRun run;
  run::RunState& rs = run.rs;

  void SetUp() override {
    add_set(rs.refl, {{9.0f, 4.0f}});
    run::EquivSet& avg = add_set(rs.refl, {{10, 1}, {12, 1}});
    avg.FAVE = 11.0f;
    avg.SIGAVE = 1.5f;
    avg.SIGEXT = 1.0f;
    avg.SIGINT_ = 1.41f;
    add_set(rs.refl, {{20.0f, 3.0f}});
    for (run::EquivSet& s : rs.refl.sets) s.NAVE = s.NEQ;
    rs.res.NSINGLET = 2;
    rs.res.RATIO = 1.25f;
    rs.res.NRATIO = 3;
  }
  const run::EquivSet& set(int i) const { return rs.refl.sets[static_cast<std::size_t>(i - 1)]; }
  void expect_averaged_set_untouched() const {
    EXPECT_EQ(set(2).FAVE, 11.0f);
    EXPECT_EQ(set(2).SIGAVE, 1.5f);
    EXPECT_EQ(set(2).SIGEXT, 1.0f);
    EXPECT_EQ(set(2).SIGINT_, 1.41f);
  }
};

TEST_F(SingletRun, AnswerYesScalesTheOutputSigmaOnly) {
  run.dialogs.ratio_answers = {1};
  HANDLE_SINGLETS(rs);
  ASSERT_EQ(run.dialogs.ratio_lines.size(), 1u);
  // The two texts joined, then 1.25 in F7.2: three blanks and "1.25".
  EXPECT_EQ(run.dialogs.ratio_lines[0],
            "Ratio output sigma to external-sig1 for the observed reflns is:    1.25");
  EXPECT_EQ(rs.res.SIGFACT, 1.25f);
  EXPECT_EQ(set(1).FAVE, 9.0f);
  EXPECT_EQ(set(1).SIGAVE, 5.0f);  // 1.25 * 4
  EXPECT_EQ(set(1).SIGEXT, 4.0f);
  EXPECT_EQ(set(1).SIGEXT2, 4.0f);
  EXPECT_EQ(set(1).SIGINT_, 0.0f);
  EXPECT_EQ(set(1).SIGINT2, 0.0f);
  EXPECT_EQ(set(1).NAVE, 1);
  EXPECT_EQ(set(3).SIGAVE, 3.75f);  // 1.25 * 3
  expect_averaged_set_untouched();
}

TEST_F(SingletRun, AnswerNoKeepsTheInputSigma) {
  rs.res.SIGFACT = 0.5f;
  run.dialogs.ratio_answers = {0};
  HANDLE_SINGLETS(rs);
  EXPECT_EQ(run.dialogs.ratio_lines.size(), 1u);
  EXPECT_EQ(rs.res.SIGFACT, 1.0f);
  EXPECT_EQ(set(1).SIGAVE, 4.0f);
  EXPECT_EQ(set(3).SIGAVE, 3.0f);
  expect_averaged_set_untouched();
}

TEST_F(SingletRun, ClosingTheQuestionLeavesTheFactorAsItWas) {
  rs.res.SIGFACT = 0.5f;
  run.dialogs.ratio_answers = {-1};
  HANDLE_SINGLETS(rs);
  EXPECT_EQ(rs.res.SIGFACT, 0.5f);
  EXPECT_EQ(set(1).SIGAVE, 2.0f);
  EXPECT_EQ(set(1).SIGEXT, 4.0f);
}

TEST_F(SingletRun, RatioLineRoundsAndWidens) {
  run.dialogs.ratio_answers = {0};
  rs.res.RATIO = 123.456f;
  HANDLE_SINGLETS(rs);
  ASSERT_EQ(run.dialogs.ratio_lines.size(), 1u);
  EXPECT_EQ(run.dialogs.ratio_lines[0],
            "Ratio output sigma to external-sig1 for the observed reflns is:  123.46");
}

TEST_F(SingletRun, NoQuestionWhenSingletsAreNotWrittenOrOutputIsIndividual) {
  for (int which = 0; which < 2; ++which) {
    SCOPED_TRACE(which);
    testing::MemoryRun r2;
    add_set(r2.rs.refl, {{9.0f, 4.0f}});
    r2.rs.res.NSINGLET = 1;
    r2.rs.res.RATIO = 1.25f;
    r2.rs.res.NRATIO = 3;
    r2.rs.res.SIGFACT = 0.5f;
    if (which == 0) r2.rs.ctl.INOSING = 1;
    else r2.rs.ctl.IOUTAVE = 0;
    r2.dialogs.ratio_answers = {1};
    HANDLE_SINGLETS(r2.rs);
    EXPECT_TRUE(r2.dialogs.ratio_lines.empty());
    EXPECT_EQ(r2.rs.res.SIGFACT, 1.0f);
    EXPECT_EQ(r2.rs.refl.sets[0].SIGAVE, 4.0f);
    EXPECT_EQ(r2.rs.refl.sets[0].FAVE, 9.0f);
  }
}

TEST_F(SingletRun, NothingHappensWithoutSinglets) {
  testing::MemoryRun r2;
  run::EquivSet& s = add_set(r2.rs.refl, {{10, 1}, {12, 1}});
  s.FAVE = 11.0f;
  s.SIGAVE = 1.5f;
  r2.rs.res.NSINGLET = 0;
  r2.rs.res.SIGFACT = 0.5f;
  HANDLE_SINGLETS(r2.rs);
  EXPECT_TRUE(r2.dialogs.ratio_lines.empty());
  EXPECT_EQ(r2.rs.res.SIGFACT, 0.5f);
  EXPECT_EQ(s.FAVE, 11.0f);
  EXPECT_EQ(s.SIGAVE, 1.5f);
  EXPECT_TRUE(r2.print_text().empty());
}

// No averaged greater-than set: RATIO is 0.0 for want of data. The singlets keep their
// sigmas without a question and the print file says why.
TEST_F(SingletRun, NoRatioToOfferKeepsSigmasAndSaysSo) {
  rs.res.RATIO = 0.0f;
  rs.res.NRATIO = 0;
  rs.res.SIGFACT = 0.5f;
  run.dialogs.ratio_answers = {1};
  HANDLE_SINGLETS(rs);
  EXPECT_TRUE(run.dialogs.ratio_lines.empty());
  EXPECT_EQ(rs.res.SIGFACT, 1.0f);
  EXPECT_EQ(set(1).SIGAVE, 4.0f);
  EXPECT_EQ(set(3).SIGAVE, 3.0f);
  // The record's control character (blank) starts a new line and is not printed.
  EXPECT_EQ(run.print_lines(),
            (std::vector<std::string>{"NO AVERAGED OBSERVED SETS: SINGLET SIGMAS NOT SCALED"}));
}

}  // namespace
}  // namespace vorlane::averaging
