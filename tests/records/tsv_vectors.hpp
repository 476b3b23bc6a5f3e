#pragma once
// Reading the reference-compiler vector files (tests/data/fortran-io/*.tsv).
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vorlane::records::testing {

// One row: column name -> raw cell text.
using TsvRow = std::map<std::string, std::string>;

// All rows of a TSV file under tests/data/fortran-io (first line = column names).
std::vector<TsvRow> read_vector_file(const std::string& file_name);

// Splits on a separator character.
std::vector<std::string> split(std::string_view text, char separator);

// One double-quoted string with C escapes (\\ \" \t \r \f \xHH).
std::string unquote(std::string_view quoted);

// A list of records: quoted strings separated by one blank; "(none)" / "(no records)" = none.
std::vector<std::string> parse_records(std::string_view cell);

// IEEE bit patterns: 8 hex digits = float, 16 = double.
float float_from_hex(std::string_view hex);
double double_from_hex(std::string_view hex);
std::uint32_t bits_of(float f);
std::uint64_t bits_of(double d);

// Counts of vectors run and skipped, with the reasons, printed at the end of a test.
struct VectorTally {
  int ran = 0;
  std::map<std::string, int> skipped;  // reason -> count
  void skip(const std::string& reason) { ++skipped[reason]; }
  std::string summary(const std::string& file) const;
};

}  // namespace vorlane::records::testing
