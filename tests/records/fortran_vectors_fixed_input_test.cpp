// Every fixed-field input vector of the reference compiler that reads one record of a file
// through I, F and Aw fields, as the program's readers do.
#include <gtest/gtest.h>

#include <iostream>
#include <string>
#include <variant>
#include <vector>

#include "records/fixed_reader.hpp"
#include "records/tsv_vectors.hpp"

namespace vorlane::records {
namespace {

using testing::parse_records;
using testing::split;
using testing::unquote;

constexpr int kIntSentinel = -77777;  // the generator's "unchanged" marker for integers

// Why a vector is not run.
std::string unused_feature(const testing::TsvRow& row, const std::string& format,
                           const std::vector<std::string>& records) {
  const std::string group = row.at("group");
  if (group == "I-blank-mode") return "BN/BZ switches (blanks are always ignored)";
  if (group == "comma") {
    return "a comma ending a field early (an extension of one compiler; here it is a bad "
           "character)";
  }
  if (format.find('T') != std::string::npos) return "T tabbing (not used)";
  if (format.find('/') != std::string::npos)
    return "several records per read (one record per call)";
  if (records.empty()) return "empty file (end of file is the caller's concern)";
  const std::string& input = row.at("input");
  if (input.find("\\r") != std::string::npos && input.find("\\r\"") == std::string::npos) {
    return "a lone CR inside a record (compiler quirk)";
  }
  return {};
}

TEST(FortranVectors, FixedFieldInput) {
  testing::VectorTally tally;
  for (const testing::TsvRow& row : testing::read_vector_file("input_fixed_vectors.tsv")) {
    const std::string id = row.at("id");
    const std::string format = unquote(row.at("format"));
    const std::vector<std::string> records = parse_records(row.at("input"));
    if (const std::string why = unused_feature(row, format, records); !why.empty()) {
      tally.skip(why);
      continue;
    }
    const EditList layout(format);
    const std::vector<std::string> types = split(row.at("targets"), ',');
    if (types.size() > layout.field_count()) {
      tally.skip("format reversion onto a second record (one record per call)");
      continue;
    }
    // A fields: only where the field width equals the variable's length (what a std::string
    // target means); A without width takes the rest of the record here.
    bool a_mismatch = false;
    {
      std::size_t t = 0;
      for (const Descriptor& d : layout.items()) {
        if (d.kind == Kind::X) continue;
        if (t >= types.size()) break;
        if (d.kind == Kind::A && types[t] != "CHAR(" + std::to_string(d.width) + ")") {
          a_mismatch = true;
        }
        ++t;
      }
    }
    if (a_mismatch) {
      tally.skip("A into CHARACTER(len) with a width other than len (lengths are not declared)");
      continue;
    }
    // Targets start at sentinels.
    std::vector<int> ints(types.size(), kIntSentinel);
    std::vector<float> floats(types.size(), -77777.0f);
    std::vector<double> doubles(types.size(), -77777.0);
    std::vector<std::string> texts(types.size(), "unchanged-sentinel");
    std::vector<Target> targets;
    for (std::size_t i = 0; i < types.size(); ++i) {
      if (types[i] == "I4") {
        targets.emplace_back(&ints[i]);
      } else if (types[i] == "R4") {
        targets.emplace_back(&floats[i]);
      } else if (types[i] == "R8") {
        targets.emplace_back(&doubles[i]);
      } else {
        targets.emplace_back(&texts[i]);
      }
    }
    ++tally.ran;
    const FieldResult r = read_fixed(layout, records.front(), targets);
    const std::string status = row.at("status");
    if (status == "ok") {
      EXPECT_EQ(r.status, ReadStatus::ok) << id << " " << format << " column " << r.column;
    } else {
      ASSERT_EQ(status, "error") << id;
      EXPECT_EQ(r.status, ReadStatus::bad) << id << " " << format;
    }
    const std::vector<std::string> values = split(row.at("values"), ';');
    const std::vector<std::string> hexes = split(row.at("hex"), ';');
    std::size_t first_unchanged = types.size();
    for (std::size_t i = 0; i < types.size(); ++i) {
      const std::string& v = values.at(i);
      if (v == "unchanged") {
        if (first_unchanged == types.size()) first_unchanged = i;
        if (types[i] == "I4") {
          EXPECT_EQ(ints[i], kIntSentinel) << id << " item " << i + 1;
        }
        if (types[i] == "R4") {
          EXPECT_EQ(floats[i], -77777.0f) << id << " item " << i + 1;
        }
        if (types[i] == "R8") {
          EXPECT_EQ(doubles[i], -77777.0) << id << " item " << i + 1;
        }
        continue;
      }
      if (types[i] == "I4") {
        EXPECT_EQ(ints[i], std::stoi(v)) << id << " item " << i + 1;
      } else if (types[i] == "R4") {
        EXPECT_EQ(testing::bits_of(floats[i]),
                  testing::bits_of(testing::float_from_hex(hexes.at(i))))
            << id << " item " << i + 1 << " read " << floats[i];
      } else if (types[i] == "R8") {
        EXPECT_EQ(testing::bits_of(doubles[i]),
                  testing::bits_of(testing::double_from_hex(hexes.at(i))))
            << id << " item " << i + 1;
      } else {
        EXPECT_EQ(texts[i], unquote(v)) << id << " item " << i + 1;
      }
    }
    if (status == "error") {
      // The offending field: the columns of the first item left unchanged.
      std::size_t pos = 0;
      std::size_t width = 0;
      std::size_t t = 0;
      for (const Descriptor& d : layout.items()) {
        width = static_cast<std::size_t>(d.width);
        if (d.kind != Kind::X && t++ == first_unchanged) break;
        pos += width;
      }
      const std::string& rec = records.front();
      EXPECT_EQ(r.column, static_cast<int>(pos) + 1) << id;
      EXPECT_EQ(r.text, pos < rec.size() ? rec.substr(pos, width) : std::string()) << id;
      EXPECT_FALSE(r.text.empty()) << id;
    }
  }
  std::cout << tally.summary("input_fixed_vectors.tsv") << "\n";
  EXPECT_GT(tally.ran, 150);
}

}  // namespace
}  // namespace vorlane::records
