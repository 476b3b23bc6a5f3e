#pragma once
// Small line, point and bar charts as inline SVG: what the HTML report draws its plots with.
// Numbers are written locale-free; points that are not finite are left out.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vorlane::report {

struct Series {
  enum class Style { line, points, bars };
  std::string name;
  std::vector<double> x, y;
  Style style = Style::line;
  std::string colour = "#1f5fa8";
  bool markers = true;        // a line: a circle at each point (a theory curve has none)
  double point_radius = 1.6;  // points: the radius of each circle
};

struct Plot {
  std::string title;
  std::string x_label, y_label;
  std::vector<Series> series;
  // A second scale along the top: its label and the value it shows at a bottom-axis x
  // (d in Å above sin(theta)/lambda).
  std::string top_label;
  std::function<double(double)> top_value;
  bool diagonal = false;       // draw y = x for reference
  bool y_from_zero = true;     // the y axis starts at 0 unless data go below
  int width = 620, height = 340;
};

// Tick positions for a range: 1, 2 or 5 times a power of ten, about `count` of them.
std::vector<double> nice_ticks(double lo, double hi, int count);

// The number as the axes print it: as few decimals as the step between ticks needs.
std::string tick_text(double value, double step);

std::string render_svg(const Plot& plot);

// Text made safe inside XML, and valid UTF-8: markup characters become entities, and a byte
// that is not part of a UTF-8 character (or a control character) is written as "\xHH".
std::string xml_escape(std::string_view text);

// Bytes of the UTF-8 character starting at text[i] (1 to 4), or 0 when no valid character
// starts there.
std::size_t utf8_sequence_length(std::string_view text, std::size_t i);

// The text cut to at most `max_bytes` bytes at a character boundary: a UTF-8 character that
// the limit would split goes whole.
std::string utf8_cut(std::string_view text, std::size_t max_bytes);

}  // namespace vorlane::report
