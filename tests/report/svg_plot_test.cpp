// The plot module: ticks, and that a drawn plot carries its title, both axes' labels, the top
// scale and its data (points that are not finite left out).
#include <gtest/gtest.h>

#include <cmath>

#include "report/svg_plot.hpp"

namespace vorlane::report {
namespace {

TEST(SvgPlot, NiceTicks) {
  struct Case { double lo, hi; int n; std::vector<double> want; };
  const Case cases[] = {
      {0.0, 1.0, 5, {0.0, 0.2, 0.4, 0.6, 0.8, 1.0}},
      {0.13, 0.71, 6, {0.2, 0.3, 0.4, 0.5, 0.6, 0.7}},
      {-3.2, 3.9, 5, {-2.0, 0.0, 2.0}},
      {0.0, 57.0, 5, {0.0, 20.0, 40.0}},
  };
  for (const Case& c : cases) {
    const auto t = nice_ticks(c.lo, c.hi, c.n);
    ASSERT_EQ(t.size(), c.want.size()) << c.lo << " " << c.hi;
    for (std::size_t i = 0; i < t.size(); ++i) EXPECT_NEAR(t[i], c.want[i], 1e-12);
  }
  EXPECT_EQ(tick_text(0.30000000000000004, 0.1), "0.3");
  EXPECT_EQ(tick_text(40.0, 20.0), "40");
}

TEST(SvgPlot, DrawsAxesLabelsAndData) {
  Plot p;
  p.title = "R(int) & more";
  p.x_label = "sin(θ)/λ (Å⁻¹)";
  p.y_label = "R(int)";
  p.top_label = "d (Å)";
  p.top_value = [](double s) { return 1.0 / (2.0 * s); };
  Series s;
  s.x = {0.1, 0.2, 0.3, 0.4};
  s.y = {0.02, std::nan(""), 0.05, 0.09};
  p.series.push_back(s);
  const std::string svg = render_svg(p);
  EXPECT_EQ(svg.rfind("<svg", 0), 0u);
  EXPECT_NE(svg.find("R(int) &amp; more"), std::string::npos);
  EXPECT_NE(svg.find("sin(θ)/λ (Å⁻¹)"), std::string::npos);
  EXPECT_NE(svg.find("d (Å)"), std::string::npos);
  EXPECT_NE(svg.find(">5.00<"), std::string::npos);  // d at sin(theta)/lambda = 0.1
  std::size_t circles = 0;
  for (std::size_t at = svg.find("<circle"); at != std::string::npos;
       at = svg.find("<circle", at + 1))
    ++circles;
  EXPECT_EQ(circles, 3u);
  EXPECT_EQ(svg.find("nan"), std::string::npos);

  Plot empty;
  empty.title = "nothing";
  EXPECT_NE(render_svg(empty).find("no data"), std::string::npos);
}

}  // namespace
}  // namespace vorlane::report
