#include "input/shelx_equivalent.hpp"

#include <charconv>
#include <cmath>

namespace vorlane::input {
namespace {

void append_right(std::string& out, std::string_view text, std::size_t width) {
  if (text.size() < width) out.append(width - text.size(), ' ');
  out.append(text);
}

void append_i4(std::string& out, int v) {
  char buf[16];
  const auto r = std::to_chars(buf, buf + sizeof buf, v);
  append_right(out, std::string_view(buf, static_cast<std::size_t>(r.ptr - buf)), 4);
}

}  // namespace

std::string f8_text(double value) {
  char buf[64];
  for (int decimals = 7; decimals >= 0; --decimals) {
    const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
    if (r.ec != std::errc()) continue;
    std::size_t n = static_cast<std::size_t>(r.ptr - buf);
    // Without decimals the point stays: F8.0 then reads the digits as they stand.
    if (decimals == 0 && n < 8) buf[n++] = '.';
    if (n <= 8) {
      std::string s(8 - n, ' ');
      s.append(buf, n);
      return s;
    }
  }
  return {};
}

std::string shelx_equivalent(const IntegrationData& data, const std::string& file) {
  std::string out;
  out.reserve(data.measurements.size() * 33);
  std::size_t n = 0;
  for (const IntegrationMeasurement& m : data.measurements) {
    ++n;
    const std::string i = f8_text(m.intensity);
    const std::string s = f8_text(m.sigma);
    if (i.empty() || s.empty()) {
      throw IntegrationReadError(
          file + ", measurement " + std::to_string(n) + " (" + std::to_string(m.h[0]) + " " +
          std::to_string(m.h[1]) + " " + std::to_string(m.h[2]) + "): the intensity " +
          std::to_string(m.intensity) + " or its sigma " + std::to_string(m.sigma) +
          " does not fit the eight columns of a SHELX record");
    }
    for (int h : m.h) append_i4(out, h);
    out += i;
    out += s;
    append_i4(out, m.batch);
    out += '\n';
  }
  return out;
}

}  // namespace vorlane::input
