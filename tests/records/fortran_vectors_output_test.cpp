// Every formatted-output vector of the reference compiler whose descriptors the program uses.
#include <gtest/gtest.h>

#include <charconv>
#include <iostream>
#include <regex>
#include <stdexcept>
#include <string>
#include <vector>

#include "records/edit_list.hpp"
#include "records/tsv_vectors.hpp"

namespace vorlane::records {
namespace {

using testing::parse_records;
using testing::split;
using testing::unquote;

// Why a vector is not run: features of Fortran formats that no layout of the program uses.
std::string unused_feature(const std::string& format) {
  std::string upper;
  bool in_literal = false;
  for (char c : format) {
    if (c == '\'' || c == '"') in_literal = !in_literal;
    if (!in_literal) upper += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }
  if (upper.find("SP") != std::string::npos) return "SP sign control (layouts never force a +)";
  if (std::regex_search(upper, std::regex(R"(-?\dP)"))) return "kP scale factors (not used)";
  if (upper.find("ES") != std::string::npos) return "ES editing (not used)";
  if (std::regex_search(upper, std::regex(R"(T\d|TR\d)"))) return "T/TR tabbing (not used)";
  return {};
}

struct Item {
  std::string type;
  std::string value;
  std::string hex;
};

// The items of a row, or an empty list for rows without items.
std::vector<Item> row_items(const testing::TsvRow& row) {
  std::vector<Item> items;
  if (row.at("types") == "-") return items;
  // Types are separated by commas, except inside CHAR(n).
  const std::vector<std::string> values = split(row.at("values"), ';');
  const std::vector<std::string> hexes = split(row.at("hex32"), ';');
  std::vector<std::string> types;
  std::string cur;
  int depth = 0;
  for (char c : row.at("types")) {
    if (c == '(') ++depth;
    if (c == ')') --depth;
    if (c == ',' && depth == 0) {
      types.push_back(cur);
      cur.clear();
    } else {
      cur += c;
    }
  }
  types.push_back(cur);
  for (std::size_t i = 0; i < types.size(); ++i) {
    items.push_back({types[i], values.at(i), hexes.size() > i ? hexes[i] : "-"});
  }
  return items;
}

TEST(FortranVectors, FormattedOutput) {
  testing::VectorTally tally;
  int real64_ran = 0;
  for (const testing::TsvRow& row : testing::read_vector_file("output_vectors.tsv")) {
    const std::string id = row.at("id");
    const std::string format = unquote(row.at("format"));
    if (const std::string why = unused_feature(format); !why.empty()) {
      tally.skip(why);
      continue;
    }
    const std::vector<Item> items = row_items(row);
    std::vector<std::string> texts;  // keeps CHAR values alive for the string_views
    texts.reserve(items.size());
    std::vector<Value> values;
    std::vector<Value> values64;
    bool decimal_literals = true;
    for (const Item& it : items) {
      if (it.type == "I4") {
        values.emplace_back(std::stoi(it.value));
        values64.push_back(values.back());
      } else if (it.type == "R4") {
        values.emplace_back(testing::float_from_hex(it.hex));
        double d = 0;
        if (it.value.starts_with("#")) {
          decimal_literals = false;
        } else {
          const auto r = std::from_chars(it.value.data(), it.value.data() + it.value.size(), d);
          ASSERT_EQ(r.ec, std::errc()) << id;
        }
        values64.emplace_back(d);
      } else {
        ASSERT_TRUE(it.type.starts_with("CHAR(")) << id;
        texts.push_back(unquote(it.value));
        values.emplace_back(std::string_view(texts.back()));
        values64.push_back(values.back());
      }
    }
    ++tally.ran;
    if (row.at("status") != "ok") {
      EXPECT_THROW(write_records(EditList(format), values), std::invalid_argument) << id;
      continue;
    }
    const EditList layout(format);
    EXPECT_EQ(write_records(layout, values), parse_records(row.at("output")))
        << id << " " << format;
    const std::string& out64 = row.at("output_real64");
    if (out64 != "-" && decimal_literals) {
      ++real64_ran;
      EXPECT_EQ(write_records(layout, values64), parse_records(out64))
          << id << " (as double) " << format;
    }
  }
  std::cout << tally.summary("output_vectors.tsv") << "\n  " << real64_ran
            << " of the vectors also run with double values\n";
  EXPECT_GT(tally.ran, 400);
}

}  // namespace
}  // namespace vorlane::records
