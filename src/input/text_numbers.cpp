#include "input/text_numbers.hpp"

#include <charconv>
#include <cmath>
#include <string>

namespace vorlane::input {

bool parse_real(std::string_view text, double& value) {
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text.empty()) return false;
  double v = 0.0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(v)) return false;
  value = v;
  return true;
}

bool parse_whole(std::string_view text, int& value) {
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text.empty()) return false;
  int v = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (ec != std::errc() || end != text.data() + text.size()) return false;
  value = v;
  return true;
}

bool parse_header_value(std::string_view text, HeaderValue& value) {
  if (!parse_real(text, value.value)) return false;
  const std::size_t e = text.find_first_of("eE");
  const std::string_view mantissa = text.substr(0, e);
  int exponent = 0;
  if (e != std::string_view::npos && !parse_whole(text.substr(e + 1), exponent)) return false;
  const std::size_t dot = mantissa.find('.');
  const int decimals =
      dot == std::string_view::npos ? 0 : static_cast<int>(mantissa.size() - dot - 1);
  value.precision = 0.5 * std::pow(10.0, static_cast<double>(exponent - decimals));
  return true;
}

std::vector<std::string_view> words_of(std::string_view line) {
  std::vector<std::string_view> words;
  std::size_t i = 0;
  while (i < line.size()) {
    const std::size_t b = line.find_first_not_of(" \t", i);
    if (b == std::string_view::npos) break;
    std::size_t e = line.find_first_of(" \t", b);
    if (e == std::string_view::npos) e = line.size();
    words.push_back(line.substr(b, e - b));
    i = e;
  }
  return words;
}

std::string shown_text(std::string_view line) {
  std::string s(line.substr(0, 60));
  if (line.size() > 60) s += "...";
  return s;
}

}  // namespace vorlane::input
