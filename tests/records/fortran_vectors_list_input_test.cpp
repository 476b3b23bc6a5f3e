// Every list-directed input vector of the reference compiler that reads integers and reals
// from an 80-column card (an internal file), as the program's card readers do.
#include <gtest/gtest.h>

#include <iostream>
#include <regex>
#include <string>
#include <vector>

#include "records/free_reader.hpp"
#include "records/tsv_vectors.hpp"

namespace vorlane::records {
namespace {

using testing::split;
using testing::unquote;

// "I*2,R" -> I, I, R.
std::vector<char> expand_types(const std::string& types) {
  std::vector<char> out;
  for (const std::string& part : split(types, ',')) {
    const std::size_t star = part.find('*');
    const int n = star == std::string::npos ? 1 : std::stoi(part.substr(star + 1));
    for (int k = 0; k < n; ++k) out.push_back(part[0]);
  }
  return out;
}

std::string unused_feature(const testing::TsvRow& row) {
  if (row.at("source") != "int") {
    return "external files over several records (cards are read one at a time)";
  }
  if (row.at("types").find('C') != std::string::npos) return "CHARACTER items (not read)";
  const std::string msg = row.at("iomsg");
  if (msg.find("Read type") != std::string::npos) {
    return "a repeat spanning an INTEGER and a REAL item (allowed by the standard, refused by "
           "one compiler; here the repeated value is read as each item's type)";
  }
  if (msg.find("Error during floating point read") != std::string::npos) {
    return "\".\" / \"-.\" store 0 in the item before the error (compiler quirk; nothing is "
           "stored here)";
  }
  return {};
}

TEST(FortranVectors, ListDirectedInput) {
  testing::VectorTally tally;
  for (const testing::TsvRow& row : testing::read_vector_file("list_directed_vectors.tsv")) {
    const std::string id = row.at("id");
    if (const std::string why = unused_feature(row); !why.empty()) {
      tally.skip(why);
      continue;
    }
    ++tally.ran;
    std::string card = unquote(row.at("input"));
    card.resize(80, ' ');  // CHARACTER(len=80), blank-padded
    const std::vector<char> types = expand_types(row.at("types"));
    std::vector<int> ints(types.size(), -77777);
    std::vector<float> floats(types.size(), -77777.0f);
    std::vector<double> doubles(types.size(), -77777.0);
    FreeReader reader(card);
    ReadStatus last = ReadStatus::ok;
    std::size_t stopped_at = types.size();
    for (std::size_t i = 0; i < types.size(); ++i) {
      if (types[i] == 'I') last = reader.read(ints[i]);
      if (types[i] == 'R') last = reader.read(floats[i]);
      if (types[i] == 'D') last = reader.read(doubles[i]);
      if (last != ReadStatus::ok) {
        stopped_at = i;
        break;
      }
    }
    const std::string status = row.at("status");
    if (status == "ok") {
      // A slash ends the list early: the reader says end, the compiler says ok.
      if (last == ReadStatus::end) {
        EXPECT_NE(card.find('/'), std::string::npos) << id << " ended without a slash";
      } else {
        EXPECT_EQ(last, ReadStatus::ok) << id << " item " << stopped_at + 1;
      }
    } else if (status == "eof") {
      EXPECT_EQ(last, ReadStatus::end) << id;
    } else {
      EXPECT_EQ(last, ReadStatus::bad) << id;
      std::smatch m;
      const std::string msg = row.at("iomsg");
      ASSERT_TRUE(std::regex_search(msg, m, std::regex(R"(item (\d+))"))) << id;
      EXPECT_EQ(stopped_at + 1, static_cast<std::size_t>(std::stoi(m[1]))) << id;
      EXPECT_FALSE(reader.bad_item().empty()) << id;
    }
    const std::vector<std::string> values = split(row.at("values"), ';');
    const std::vector<std::string> hexes = split(row.at("hex"), ';');
    for (std::size_t i = 0; i < types.size(); ++i) {
      const std::string& v = values.at(i);
      const bool unchanged = v == "unchanged";
      if (types[i] == 'I') {
        EXPECT_EQ(ints[i], unchanged ? -77777 : std::stoi(v)) << id << " item " << i + 1;
      } else if (types[i] == 'R') {
        const float want = unchanged ? -77777.0f : testing::float_from_hex(hexes.at(i));
        EXPECT_EQ(testing::bits_of(floats[i]), testing::bits_of(want)) << id << " item " << i + 1;
      } else {
        const double want = unchanged ? -77777.0 : testing::double_from_hex(hexes.at(i));
        EXPECT_EQ(testing::bits_of(doubles[i]), testing::bits_of(want)) << id << " item " << i + 1;
      }
    }
  }
  std::cout << tally.summary("list_directed_vectors.tsv") << "\n";
  EXPECT_GT(tally.ran, 100);
}

}  // namespace
}  // namespace vorlane::records
