#include "report/svg_plot.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace vorlane::report {

namespace {

std::string num(double v, int decimals = 1) {
  // Room for the widest double in fixed notation (309 digits, a sign, a point, the decimals):
  // what a buffer too short would hold is unspecified.
  char buf[400];
  const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
  if (r.ec != std::errc()) return "0";
  return std::string(buf, r.ptr);
}

struct Range {
  double lo = std::numeric_limits<double>::infinity();
  double hi = -std::numeric_limits<double>::infinity();
  void add(double v) {
    if (!std::isfinite(v)) return;
    lo = std::min(lo, v);
    hi = std::max(hi, v);
  }
  bool empty() const { return !(lo <= hi); }
};

}  // namespace

std::size_t utf8_sequence_length(std::string_view text, std::size_t i) {
  const auto b = [&text](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char c = b(i);
  if (c < 0x80) return 1;
  std::size_t n = 0;
  unsigned char lo = 0x80, hi = 0xBF;  // the range of the second byte
  if (c >= 0xC2 && c <= 0xDF) {
    n = 2;
  } else if (c >= 0xE0 && c <= 0xEF) {
    n = 3;
    if (c == 0xE0) lo = 0xA0;  // no overlong forms
    if (c == 0xED) hi = 0x9F;  // no surrogates
  } else if (c >= 0xF0 && c <= 0xF4) {
    n = 4;
    if (c == 0xF0) lo = 0x90;
    if (c == 0xF4) hi = 0x8F;  // nothing above U+10FFFF
  } else {
    return 0;
  }
  if (i + n > text.size()) return 0;
  if (b(i + 1) < lo || b(i + 1) > hi) return 0;
  for (std::size_t k = 2; k < n; ++k)
    if (b(i + k) < 0x80 || b(i + k) > 0xBF) return 0;
  return n;
}

std::string utf8_cut(std::string_view text, std::size_t max_bytes) {
  std::size_t end = std::min(text.size(), max_bytes);
  // The last character that starts before the limit: back over up to three continuation
  // bytes to its first byte. When that byte announces more bytes than lie before the limit
  // (a text cut at a fixed column, or cut here), the character goes whole.
  std::size_t start = end;
  while (start > 0 && end - start < 4) {
    --start;
    if ((static_cast<unsigned char>(text[start]) & 0xC0) != 0x80) break;
  }
  if (start < end) {
    const auto lead = static_cast<unsigned char>(text[start]);
    const std::size_t announced = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    if (lead >= 0xC0 && announced > end - start) end = start;
  }
  return std::string(text.substr(0, end));
}

std::string xml_escape(std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string s;
  for (std::size_t i = 0; i < text.size();) {
    const char c = text[i];
    switch (c) {
      case '&': s += "&amp;"; ++i; continue;
      case '<': s += "&lt;"; ++i; continue;
      case '>': s += "&gt;"; ++i; continue;
      case '"': s += "&quot;"; ++i; continue;
      default: break;
    }
    const auto u = static_cast<unsigned char>(c);
    // Control characters other than tab and line ends are not allowed in XML text.
    if (u < 0x20 && c != '\t' && c != '\n' && c != '\r') {
      s.append("\\x").push_back(kHex[u >> 4]);
      s.push_back(kHex[u & 15]);
      ++i;
      continue;
    }
    const std::size_t n = utf8_sequence_length(text, i);
    if (n == 0) {
      // A byte that is not part of a UTF-8 character (a Latin-1 file name): shown as \xHH, so
      // that the page stays valid UTF-8 and the byte can still be read off.
      s.append("\\x").push_back(kHex[u >> 4]);
      s.push_back(kHex[u & 15]);
      ++i;
      continue;
    }
    s.append(text.substr(i, n));
    i += n;
  }
  return s;
}

std::vector<double> nice_ticks(double lo, double hi, int count) {
  std::vector<double> t;
  if (!(hi > lo) || count < 1) return {lo};
  const double raw = (hi - lo) / count;
  const double p = std::pow(10.0, std::floor(std::log10(raw)));
  double step = p;
  for (double m : {1.0, 2.0, 5.0, 10.0}) {
    step = m * p;
    if (step >= raw) break;
  }
  if (!std::isfinite(step) || !(step > 0.0)) return {lo, hi};
  // Ticks by their whole multiples of the step: a value far larger than the step (1e17 with a
  // step of 5) would not move when the step is added to it.
  const double first = std::ceil(lo / step - 1e-9);
  const double last = std::floor(hi / step + 1e-9);
  if (!std::isfinite(first) || !std::isfinite(last) || !(last - first < 1000.0)) return {lo, hi};
  const auto n = static_cast<long>(last - first);
  for (long i = 0; i <= n; ++i) {
    const double v = (first + static_cast<double>(i)) * step;
    t.push_back(std::fabs(v) < step * 1e-9 ? 0.0 : v);
  }
  if (t.empty()) t.push_back(lo);
  return t;
}

std::string tick_text(double value, double step) {
  int decimals = 0;
  if (step > 0.0 && step < 1.0) decimals = static_cast<int>(std::ceil(-std::log10(step) - 1e-9));
  return num(value, std::clamp(decimals, 0, 6));
}

std::string render_svg(const Plot& plot) {
  const double W = plot.width, H = plot.height;
  const double left = 70, right = 20, top = plot.top_value ? 62 : 36, bottom = 52;
  const double pw = W - left - right, ph = H - top - bottom;

  Range xr, yr;
  for (const Series& s : plot.series) {
    for (std::size_t i = 0; i < s.x.size() && i < s.y.size(); ++i) {
      if (!std::isfinite(s.x[i]) || !std::isfinite(s.y[i])) continue;
      xr.add(s.x[i]);
      yr.add(s.y[i]);
      if (s.style == Series::Style::bars) {
        xr.add(s.x[i] - 0.5);
        xr.add(s.x[i] + 0.5);
      }
    }
  }
  std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + num(W, 0) +
                    "\" height=\"" + num(H, 0) + "\" viewBox=\"0 0 " + num(W, 0) + " " +
                    num(H, 0) + "\" font-family=\"sans-serif\" font-size=\"12\">\n";
  svg += "<rect x=\"0\" y=\"0\" width=\"" + num(W, 0) + "\" height=\"" + num(H, 0) +
         "\" fill=\"white\"/>\n";
  svg += "<text x=\"" + num(W / 2, 0) + "\" y=\"18\" text-anchor=\"middle\" font-size=\"14\" "
         "font-weight=\"bold\">" + xml_escape(plot.title) + "</text>\n";
  if (xr.empty()) {
    svg += "<text x=\"" + num(W / 2, 0) + "\" y=\"" + num(H / 2, 0) +
           "\" text-anchor=\"middle\">no data</text>\n</svg>\n";
    return svg;
  }
  if (plot.y_from_zero) yr.add(0.0);
  if (xr.hi == xr.lo) { xr.lo -= 0.5; xr.hi += 0.5; }
  if (yr.hi == yr.lo) { yr.lo -= 0.5; yr.hi += 0.5; }
  const double ypad = (yr.hi - yr.lo) * 0.05;
  if (!(plot.y_from_zero && yr.lo == 0.0)) yr.lo -= ypad;
  yr.hi += ypad;

  auto X = [&](double x) { return left + (x - xr.lo) / (xr.hi - xr.lo) * pw; };
  auto Y = [&](double y) { return top + ph - (y - yr.lo) / (yr.hi - yr.lo) * ph; };

  // Frame, ticks and grid.
  svg += "<rect x=\"" + num(left) + "\" y=\"" + num(top) + "\" width=\"" + num(pw) +
         "\" height=\"" + num(ph) + "\" fill=\"none\" stroke=\"black\"/>\n";
  const auto xt = nice_ticks(xr.lo, xr.hi, 6);
  const double xstep = xt.size() > 1 ? xt[1] - xt[0] : 1.0;
  for (double v : xt) {
    const double x = X(v);
    svg += "<line x1=\"" + num(x) + "\" y1=\"" + num(top) + "\" x2=\"" + num(x) + "\" y2=\"" +
           num(top + ph) + "\" stroke=\"#e0e0e0\"/>\n";
    svg += "<line x1=\"" + num(x) + "\" y1=\"" + num(top + ph) + "\" x2=\"" + num(x) +
           "\" y2=\"" + num(top + ph + 5) + "\" stroke=\"black\"/>\n";
    svg += "<text x=\"" + num(x) + "\" y=\"" + num(top + ph + 18) +
           "\" text-anchor=\"middle\">" + tick_text(v, xstep) + "</text>\n";
    if (plot.top_value) {
      const double tv = plot.top_value(v);
      svg += "<line x1=\"" + num(x) + "\" y1=\"" + num(top) + "\" x2=\"" + num(x) + "\" y2=\"" +
             num(top - 5) + "\" stroke=\"black\"/>\n";
      if (std::isfinite(tv))
        svg += "<text x=\"" + num(x) + "\" y=\"" + num(top - 8) +
               "\" text-anchor=\"middle\">" + num(tv, 2) + "</text>\n";
    }
  }
  const auto yt = nice_ticks(yr.lo, yr.hi, 5);
  const double ystep = yt.size() > 1 ? yt[1] - yt[0] : 1.0;
  for (double v : yt) {
    const double y = Y(v);
    svg += "<line x1=\"" + num(left) + "\" y1=\"" + num(y) + "\" x2=\"" + num(left + pw) +
           "\" y2=\"" + num(y) + "\" stroke=\"#e0e0e0\"/>\n";
    svg += "<line x1=\"" + num(left - 5) + "\" y1=\"" + num(y) + "\" x2=\"" + num(left) +
           "\" y2=\"" + num(y) + "\" stroke=\"black\"/>\n";
    svg += "<text x=\"" + num(left - 8) + "\" y=\"" + num(y + 4) + "\" text-anchor=\"end\">" +
           tick_text(v, ystep) + "</text>\n";
  }
  svg += "<text x=\"" + num(left + pw / 2) + "\" y=\"" + num(H - 10) +
         "\" text-anchor=\"middle\">" + xml_escape(plot.x_label) + "</text>\n";
  if (plot.top_value)
    svg += "<text x=\"" + num(left + pw / 2) + "\" y=\"" + num(top - 26) +
           "\" text-anchor=\"middle\">" + xml_escape(plot.top_label) + "</text>\n";
  svg += "<text transform=\"translate(16," + num(top + ph / 2) +
         ") rotate(-90)\" text-anchor=\"middle\">" + xml_escape(plot.y_label) + "</text>\n";

  if (plot.diagonal) {
    const double lo = std::max(xr.lo, yr.lo), hi = std::min(xr.hi, yr.hi);
    svg += "<line x1=\"" + num(X(lo)) + "\" y1=\"" + num(Y(lo)) + "\" x2=\"" + num(X(hi)) +
           "\" y2=\"" + num(Y(hi)) + "\" stroke=\"#999\" stroke-dasharray=\"4 3\"/>\n";
  }

  // Data.
  int legend = 0;
  for (const Series& s : plot.series) {
    const std::size_t n = std::min(s.x.size(), s.y.size());
    if (s.style == Series::Style::line) {
      std::string pts;
      for (std::size_t i = 0; i < n; ++i) {
        if (!std::isfinite(s.x[i]) || !std::isfinite(s.y[i])) continue;
        pts += num(X(s.x[i])) + "," + num(Y(s.y[i])) + " ";
        if (s.markers)
          svg += "<circle cx=\"" + num(X(s.x[i])) + "\" cy=\"" + num(Y(s.y[i])) +
               "\" r=\"3\" fill=\"" + s.colour + "\"/>\n";
      }
      svg += "<polyline points=\"" + pts + "\" fill=\"none\" stroke=\"" + s.colour +
             "\" stroke-width=\"2\"/>\n";
    } else if (s.style == Series::Style::points) {
      for (std::size_t i = 0; i < n; ++i) {
        if (!std::isfinite(s.x[i]) || !std::isfinite(s.y[i])) continue;
        svg += "<circle cx=\"" + num(X(s.x[i])) + "\" cy=\"" + num(Y(s.y[i])) +
               "\" r=\"" + num(s.point_radius) + "\" fill=\"" + s.colour + "\"/>\n";
      }
    } else {
      const double bw = std::max(1.0, pw / (xr.hi - xr.lo) * 0.8);
      const double base = Y(std::max(yr.lo, 0.0));
      for (std::size_t i = 0; i < n; ++i) {
        if (!std::isfinite(s.x[i]) || !std::isfinite(s.y[i])) continue;
        const double y = Y(s.y[i]);
        svg += "<rect x=\"" + num(X(s.x[i]) - bw / 2) + "\" y=\"" + num(std::min(y, base)) +
               "\" width=\"" + num(bw) + "\" height=\"" + num(std::fabs(base - y)) +
               "\" fill=\"" + s.colour + "\"/>\n";
      }
    }
    // The legend stands in the bottom margin, left of the axis label, clear of the data.
    if (!s.name.empty()) {
      const double lx = 8 + 120 * legend++, ly = H - 10;
      svg += "<rect x=\"" + num(lx) + "\" y=\"" + num(ly - 9) +
             "\" width=\"10\" height=\"10\" fill=\"" + s.colour + "\"/>\n";
      svg += "<text x=\"" + num(lx + 14) + "\" y=\"" + num(ly) + "\">" +
             xml_escape(s.name) + "</text>\n";
    }
  }
  svg += "</svg>\n";
  return svg;
}

}  // namespace vorlane::report
