// The report page of a run with batches: one plot per figure, nothing fetched, and a
// screenshot by headless Chromium kept in build/screenshots for a look.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "report/html_report.hpp"

namespace vorlane::report {
namespace {

statistics::Statistics example() {
  statistics::Statistics st;
  st.has_shells = true;
  st.has_dac = true;
  for (int k = 0; k < 8; ++k) {
    statistics::ShellRow r;
    r.d_max = 1.0 / std::cbrt(0.05 + 0.2 * k);
    r.d_min = 1.0 / std::cbrt(0.05 + 0.2 * (k + 1));
    r.n_obs = 400 - 30 * k;
    r.n_unique = 100;
    r.multiplicity = r.n_obs / 100.0;
    r.completeness = 0.99 - 0.03 * k;
    r.dac_completeness = 1.0 - 0.01 * k;
    r.i_over_sigma = 30.0 / (k + 1);
    r.r_int = 0.02 + 0.01 * k;
    r.r_sigma = 0.015 + 0.012 * k;
    r.cc_half = 0.999 - 0.02 * k;
    r.chi2 = 1.0;
    st.shells.push_back(r);
  }
  st.overall = st.shells.front();
  for (int b = 1; b <= 12; ++b)
    st.batches.push_back({b, 300 + b, 12.0 + (b % 3), 0.03 + 0.002 * b, b % 2, 0});
  for (int k = 0; k < 200; ++k) {
    const double q = -2.5 + 5.0 * k / 199.0;
    st.normal_probability.expected.push_back(q);
    st.normal_probability.observed.push_back(1.1 * q + 0.05);
  }
  st.normal_probability.slope = 1.1;
  st.normal_probability.intercept = 0.05;
  st.set_size_histogram = {0, 20, 50, 80, 40, 10};
  return st;
}

TEST(HtmlReport, EveryPlotOnOneSelfContainedPage) {
  RunFigures run;
  run.title = "example <run>";
  run.warnings = {"UNIT CELL IN EXP FILE DIFFERENT FROM CALCULATED FROM UB MATRIX"};
  const std::string page = html_report(example(), run);
  std::size_t plots = 0;
  for (auto at = page.find("<svg"); at != std::string::npos; at = page.find("<svg", at + 1))
    ++plots;
  EXPECT_EQ(plots, 9u);  // five by resolution, normal probability, set sizes, two by batch
  EXPECT_EQ(page.find("<script"), std::string::npos);
  EXPECT_EQ(page.find("https:"), std::string::npos);
  EXPECT_NE(page.find("example &lt;run&gt;"), std::string::npos);
  EXPECT_NE(page.find("UNIT CELL IN EXP FILE"), std::string::npos);
  EXPECT_NE(page.find("R(int) by batch"), std::string::npos);
  EXPECT_NE(page.find("DAC compl."), std::string::npos);

  const std::filesystem::path shots = std::filesystem::path(VORLANE_BIN_DIR) / ".." / "screenshots";
  std::filesystem::create_directories(shots);
  const auto html = shots / "report_batches.html";
  std::ofstream(html) << page;
  if (std::system("command -v chromium > /dev/null 2>&1") != 0) GTEST_SKIP() << "no chromium";
  const auto shot = shots / "report_batches.png";
  const auto profile = std::filesystem::temp_directory_path() / "vorlane_report_chromium";
  std::filesystem::remove(shot);
  const std::string cmd =
      "chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run "
      "--disable-background-networking --disable-component-update --disable-sync "
      "--user-data-dir=" + profile.string() + " --screenshot=" + shot.string() +
      " --window-size=1400,3000 file://" + std::filesystem::absolute(html).string() +
      " > /dev/null 2>&1";
  EXPECT_EQ(std::system(cmd.c_str()), 0);
  EXPECT_TRUE(std::filesystem::exists(shot));
  std::filesystem::remove_all(profile);
}

TEST(HtmlReport, ChartsStayChartsAndRatiosThatCannotBeFormedAreNotAvailable) {
  statistics::Statistics st = example();
  // A million equivalents of one reflection, and ten thousand batches.
  st.set_size_histogram.assign(1000001, 0);
  st.set_size_histogram[1000000] = 1;
  st.batches.clear();
  for (int b = 1; b <= 10000; ++b) st.batches.push_back({b, 10, 5.0, b == 7 ? -350.0 : 0.05, 0, 0});
  st.shells[2].r_int = std::nan("");
  RunFigures run;
  run.r_known = false;
  const std::string page = html_report(st, run);
  EXPECT_LT(page.size(), 400000u);
  std::size_t rects = 0;
  for (auto at = page.find("<rect"); at != std::string::npos; at = page.find("<rect", at + 1)) ++rects;
  EXPECT_LT(rects, 1000u);
  EXPECT_NE(page.find("R(int), absences left out (CIF)</th><td>n/a"), std::string::npos);
  EXPECT_NE(page.find("<td>n/a</td>"), std::string::npos);
}

}  // namespace
}  // namespace vorlane::report
