#include "records/tsv_vectors.hpp"

#include <bit>
#include <charconv>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace vorlane::records::testing {

std::vector<std::string> split(std::string_view text, char separator) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (;;) {
    const std::size_t p = text.find(separator, start);
    if (p == std::string_view::npos) {
      parts.emplace_back(text.substr(start));
      return parts;
    }
    parts.emplace_back(text.substr(start, p - start));
    start = p + 1;
  }
}

std::vector<TsvRow> read_vector_file(const std::string& file_name) {
  const std::string path = std::string(VORLANE_TEST_DATA) + "/fortran-io/" + file_name;
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  std::string line;
  std::getline(in, line);
  const std::vector<std::string> names = split(line, '\t');
  std::vector<TsvRow> rows;
  while (std::getline(in, line)) {
    if (line.empty()) continue;
    const std::vector<std::string> cells = split(line, '\t');
    if (cells.size() != names.size()) throw std::runtime_error("bad row in " + path + ": " + line);
    TsvRow row;
    for (std::size_t i = 0; i < names.size(); ++i) row[names[i]] = cells[i];
    rows.push_back(std::move(row));
  }
  return rows;
}

namespace {

// Decodes the quoted string starting at text[pos] (a '"'); pos ends after the closing quote.
std::string decode_quoted(std::string_view text, std::size_t& pos) {
  if (pos >= text.size() || text[pos] != '"') throw std::runtime_error("expected a quoted string");
  ++pos;
  std::string out;
  while (pos < text.size() && text[pos] != '"') {
    char c = text[pos++];
    if (c == '\\') {
      const char e = text.at(pos++);
      switch (e) {
        case '\\':
          c = '\\';
          break;
        case '"':
          c = '"';
          break;
        case 't':
          c = '\t';
          break;
        case 'r':
          c = '\r';
          break;
        case 'f':
          c = '\f';
          break;
        case 'x': {
          unsigned v = 0;
          std::from_chars(text.data() + pos, text.data() + pos + 2, v, 16);
          pos += 2;
          c = static_cast<char>(v);
          break;
        }
        default:
          throw std::runtime_error("unknown escape");
      }
    }
    out += c;
  }
  if (pos >= text.size()) throw std::runtime_error("unterminated quoted string");
  ++pos;
  return out;
}

}  // namespace

std::string unquote(std::string_view quoted) {
  std::size_t pos = 0;
  return decode_quoted(quoted, pos);
}

std::vector<std::string> parse_records(std::string_view cell) {
  std::vector<std::string> records;
  if (cell == "(none)" || cell == "(no records)") return records;
  std::size_t pos = 0;
  for (;;) {
    records.push_back(decode_quoted(cell, pos));
    if (pos >= cell.size()) return records;
    if (cell[pos] != ' ') throw std::runtime_error("bad record list");
    ++pos;
  }
}

float float_from_hex(std::string_view hex) {
  std::uint32_t bits = 0;
  std::from_chars(hex.data(), hex.data() + hex.size(), bits, 16);
  return std::bit_cast<float>(bits);
}

double double_from_hex(std::string_view hex) {
  std::uint64_t bits = 0;
  std::from_chars(hex.data(), hex.data() + hex.size(), bits, 16);
  return std::bit_cast<double>(bits);
}

std::uint32_t bits_of(float f) { return std::bit_cast<std::uint32_t>(f); }
std::uint64_t bits_of(double d) { return std::bit_cast<std::uint64_t>(d); }

std::string VectorTally::summary(const std::string& file) const {
  std::ostringstream s;
  int total = 0;
  for (const auto& [reason, n] : skipped) total += n;
  s << file << ": " << ran << " vectors ran, " << total << " skipped";
  for (const auto& [reason, n] : skipped) s << "\n  " << n << " skipped: " << reason;
  return s.str();
}

}  // namespace vorlane::records::testing
