// The window's summary figures come from the run state as the run left them.
#include <gtest/gtest.h>

#include <map>

#include "frontend/result_summary.hpp"

namespace vorlane::testing {
namespace {

TEST(ResultSummary, FiguresAreTakenFromTheRunState) {
  run::RunState rs;
  rs.ctl.TITLE = "SH2185" + std::string(74, ' ');
  rs.ctl.TTHMAX = 60.0f;
  rs.ctl.INOFLIP = 1;
  rs.refl.members.resize(3);
  rs.refl.members[0].REFANG[0] = 40.5f;
  rs.refl.sets.emplace_back();
  rs.refl.sets.back().first = 0;
  rs.res.NSINGLET = 1;
  rs.res.RINT_ALL = 0.0415f;
  rs.res.RINT_USED = 0.0412f;  // the CIF's R(int): absences left out
  rs.res.rint_known = true;
  rs.res.figures.theta_known = true;
  rs.res.figures.theta_max = 20.25f;
  rs.res.figures.theta_full = 20.25f;
  rs.res.figures.point_group_run = true;
  rs.res.figures.point_group_max = {987, 1000};
  rs.res.figures.laue_max = {500, 520};
  rs.stats.rejections.dac_dip = 2;
  rs.stats.has_shells = true;
  rs.stats.overall.cc_half = 0.99876;
  rs.sg.NSYMOP = 4;
  std::map<std::string, std::string> got;
  for (const auto& row : frontend::result_summary(rs)) got[row.label] = row.value;
  const std::map<std::string, std::string> expected = {
      {"Title", "SH2185"},
      {"Reflections read", "3"},
      {"Equivalent sets", "1"},
      {"Sets measured once", "1"},
      {"Rejected: DAC dip", "2"},
      {"R(int)", "0.0412"},
      {"theta_max (deg)", "20.25"},
      {"theta_full (deg)", "20.25"},
      {"Completeness to theta_max", "0.987"},
      {"Completeness to theta_full", "?"},
      {"Laue completeness to theta_max", "0.962"},
      {"Friedel mates", "kept apart (FRIEDEL NOFLIP)"},
      {"Symmetry", "4 operators, 1 centring vector, non-centrosymmetric"},
      {"Shell table overall: CC1/2", "0.9988"},
  };
  for (const auto& [label, value] : expected) EXPECT_EQ(got[label], value) << label;
}

}  // namespace
}  // namespace vorlane::testing
