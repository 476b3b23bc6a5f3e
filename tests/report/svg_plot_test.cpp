// The plot module: ticks, and that a drawn plot carries its title, both axes' labels, the top
// scale and its data (points that are not finite left out).
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>
#include <vector>

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

TEST(SvgPlot, TicksOfAnyRangeEnd) {
  // A range far narrower than its values: adding the step does not move the value.
  const auto t = nice_ticks(1e17, std::nextafter(1e17, 1e18), 6);
  EXPECT_GE(t.size(), 1u);
  EXPECT_LE(t.size(), 8u);
  for (const auto& [lo, hi] : std::vector<std::pair<double, double>>{
           {-1e308, 1e308}, {0.0, 5e-324}, {-1e300, -1e299}, {1e15, 1e15 + 4.0}}) {
    const auto u = nice_ticks(lo, hi, 5);
    EXPECT_GE(u.size(), 1u) << lo << " " << hi;
    EXPECT_LE(u.size(), 1001u) << lo << " " << hi;
  }
}

TEST(SvgPlot, TextsBecomeValidUtf8) {
  struct Case { std::string in, want; };
  const Case cases[] = {
      {"a<b & \"c\">", "a&lt;b &amp; &quot;c&quot;&gt;"},
      {"\xC3\xA9t\xC3\xA9", "\xC3\xA9t\xC3\xA9"},       // UTF-8 stays
      {"caf\xE9.hkl", "caf\\xE9.hkl"},                    // Latin-1 byte shown as \xE9
      {"\xE2\x82", "\\xE2\\x82"},                         // a character cut short
      {"\xC0\xAF", "\\xC0\\xAF"},                         // an overlong form
      {"\xED\xA0\x80", "\\xED\\xA0\\x80"},               // a surrogate
      {"bell\x07", "bell\\x07"},                           // a control character
  };
  for (const Case& c : cases) EXPECT_EQ(xml_escape(c.in), c.want) << c.in;
}

TEST(SvgPlot, CutsAtCharacterBoundaries) {
  const std::string euro = "\xE2\x82\xAC";
  EXPECT_EQ(utf8_cut("ab" + euro, 5), "ab" + euro);
  EXPECT_EQ(utf8_cut("ab" + euro, 4), "ab");
  EXPECT_EQ(utf8_cut("ab" + euro, 3), "ab");
  EXPECT_EQ(utf8_cut("ab" + euro + "c", 2), "ab");
  // A text already cut inside its last character loses that character.
  EXPECT_EQ(utf8_cut("ab\xE2\x82", 10), "ab");
  EXPECT_EQ(utf8_cut("abc", 10), "abc");
}

}  // namespace
}  // namespace vorlane::report
