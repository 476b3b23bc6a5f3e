#include "input/content_check.hpp"

#include <cctype>
#include <fstream>
#include <string_view>
#include <vector>

namespace vorlane::input {
namespace {

constexpr int LINES_LOOKED_AT = 20;

enum class LineKind { shelx, zezor, text, other };

bool digit_at(std::string_view line, std::size_t column) {
  return column <= line.size() && std::isdigit(static_cast<unsigned char>(line[column - 1])) != 0;
}

bool numeric_word(std::string_view w) {
  bool digit = false;
  for (const char c : w) {
    if (std::isdigit(static_cast<unsigned char>(c)) != 0) digit = true;
    else if (c != '-' && c != '+' && c != '.' && c != 'e' && c != 'E') return false;
  }
  return digit;
}

LineKind kind_of(std::string_view line) {
  std::vector<std::string_view> words;
  std::size_t i = 0;
  while (i < line.size()) {
    const std::size_t b = line.find_first_not_of(" \t", i);
    if (b == std::string_view::npos) break;
    const std::size_t e = std::min(line.find_first_of(" \t", b), line.size());
    words.push_back(line.substr(b, e - b));
    i = e;
  }
  for (const auto w : words)
    if (!numeric_word(w)) return LineKind::text;
  // The last column of each index field holds a digit: columns 4, 8, 12 in SHELX (3I4),
  // columns 3, 6, 9 in Zezor (3I3).
  if (digit_at(line, 4) && digit_at(line, 8) && digit_at(line, 12)) return LineKind::shelx;
  if (digit_at(line, 3) && digit_at(line, 6) && digit_at(line, 9)) return LineKind::zezor;
  return LineKind::other;
}

}  // namespace

std::string content_mismatch(std::istream& in, int infmt) {
  int shelx = 0, zezor = 0, text = 0, seen = 0;
  bool sadabs = false;
  std::string line;
  while (seen < LINES_LOOKED_AT && std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.find_first_not_of(" \t") == std::string::npos) continue;
    ++seen;
    if (line.find("SADABS") != std::string::npos) sadabs = true;
    const LineKind k = kind_of(line);
    if (k == LineKind::text && seen == 1) continue;  // a header line, skipped by the reader
    if (k == LineKind::shelx) ++shelx;
    else if (k == LineKind::zezor) ++zezor;
    else if (k == LineKind::text) ++text;
  }
  if (sadabs) return "a SADABS listing (text), not reflection records";
  if (text >= 3 && text > shelx + zezor) return "text lines, not reflection records";
  if (infmt == 1 && zezor > 0 && shelx == 0) return "Zezor abs records (indices in 3 columns)";
  if (infmt == 0 && shelx > 0 && zezor == 0) return "SHELX hkl records (indices in 4 columns)";
  return {};
}

std::string content_check_message(const std::filesystem::path& path, int infmt) {
  std::ifstream in(path, std::ios::binary);
  const std::string found = content_mismatch(in, infmt);
  if (found.empty()) return {};
  return "input data file '" + path.string() + "' should hold " +
         (infmt == 1 ? "SHELX hkl records" : "Zezor abs records") + ", but its first lines are " +
         found + "; give --in-format zezor|shelx if the name misleads";
}

}  // namespace vorlane::input
