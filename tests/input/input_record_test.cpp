// The pieces of the reader: fixed fields, the two record layouts, the line splitter, the set
// index and the cache of what is known about each index triple.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <map>
#include <random>
#include <sstream>

#include "input/fixed_fields.hpp"
#include "input/input_record.hpp"
#include "input/hkl_cache.hpp"
#include "input/line_source.hpp"
#include "input/set_index.hpp"

namespace vorlane::input {
namespace {

TEST(FixedFields, IntegersRightJustifiedBlankIsZeroEmbeddedBlanksIgnored) {
  int v = -99;
  EXPECT_TRUE(read_int_field("  12", v));
  EXPECT_EQ(v, 12);
  EXPECT_TRUE(read_int_field("    ", v));
  EXPECT_EQ(v, 0);
  EXPECT_TRUE(read_int_field("", v));
  EXPECT_EQ(v, 0);
  EXPECT_TRUE(read_int_field(" -13", v));
  EXPECT_EQ(v, -13);
  EXPECT_TRUE(read_int_field(" 1 2", v));  // blanks inside a number vanish
  EXPECT_EQ(v, 12);
  EXPECT_TRUE(read_int_field("-  3", v));
  EXPECT_EQ(v, -3);
  EXPECT_FALSE(read_int_field("  1a", v));
  EXPECT_FALSE(read_int_field(" 1.0", v));
  EXPECT_FALSE(read_int_field("   -", v));
}

TEST(FixedFields, RealsGetTheImpliedDecimalsOnlyWithoutAPoint) {
  float v = 0;
  EXPECT_TRUE(read_real_field("     12345", 3, v));
  EXPECT_FLOAT_EQ(v, 12.345f);
  EXPECT_TRUE(read_real_field("   123.45 ", 3, v));
  EXPECT_FLOAT_EQ(v, 123.45f);
  EXPECT_TRUE(read_real_field("       1", 5, v));  // F8.5 "1" is 1e-5
  EXPECT_FLOAT_EQ(v, 1e-5f);
  EXPECT_TRUE(read_real_field("     -12", 0, v));
  EXPECT_FLOAT_EQ(v, -12.0f);
  EXPECT_TRUE(read_real_field("        ", 0, v));
  EXPECT_EQ(v, 0.0f);
  EXPECT_TRUE(read_real_field("  1.5E2 ", 0, v));  // exponent form, by the general reader
  EXPECT_FLOAT_EQ(v, 150.0f);
  EXPECT_TRUE(read_real_field(" 1 0 5.2", 0, v));
  EXPECT_FLOAT_EQ(v, 105.2f);
  EXPECT_FALSE(read_real_field("  12.3x ", 0, v));
  EXPECT_FALSE(read_real_field(" 1.2.3  ", 0, v));
}

TEST(FixedFields, NanAndInfinityMakeAFieldUnreadable) {
  float v = 7.0f;
  EXPECT_FALSE(read_real_field("     NaN", 0, v));
  EXPECT_FALSE(read_real_field("Infinity", 0, v));
  EXPECT_FALSE(read_real_field("    -Inf", 0, v));
  EXPECT_FALSE(read_real_field("  1.0E39", 0, v));  // overflows single precision
  EXPECT_EQ(v, 7.0f);
}

TEST(FixedFields, FastPathRoundsExactlyAsOneDecimalRounding) {
  // Every value the fast path takes must be the correctly rounded float of the decimal text.
  std::mt19937 rng(7);
  std::uniform_int_distribution<int> mant(0, 9999999);
  for (int i = 0; i < 20000; ++i) {
    const int m = mant(rng);
    const int dec = i % 6;
    // Zero-padded on the left to at least dec + 1 digits (built by appending: GCC 12 reports a
    // false overlap in an insert at the front of a string).
    const std::string bare = std::to_string(m);
    const std::size_t pad = static_cast<std::size_t>(dec) + 1 > bare.size()
                                ? static_cast<std::size_t>(dec) + 1 - bare.size()
                                : 0;
    const std::string digits = std::string(pad, '0').append(bare);
    const std::string text = digits.substr(0, digits.size() - dec) + "." +
                             digits.substr(digits.size() - dec);
    std::string field = std::string(12 - std::min<std::size_t>(12, text.size()), ' ') + text;
    float v = 0;
    ASSERT_TRUE(read_real_field(field, 0, v)) << field;
    const float expected = std::strtof(text.c_str(), nullptr);
    ASSERT_EQ(v, expected) << field;
  }
}

std::string rj(const std::string& s, std::size_t w) {
  return std::string(w > s.size() ? w - s.size() : 0, ' ') + s;
}

// The fixed-width readers must take exactly the fields the general ones take, with the same
// values: fields of typical and odd characters, also cut short by the end of the record.
template <int W>
void expect_width_readers_agree(std::mt19937& rng, int decimals) {
  static const char alphabet[] = "     0123456789012345678901234567890123456789..--+E,x";
  std::uniform_int_distribution<std::size_t> pick(0, sizeof alphabet - 2);
  std::uniform_int_distribution<int> cut(0, W + 2);
  for (int t = 0; t < 40000; ++t) {
    std::string record(static_cast<std::size_t>(W) + 2, ' ');
    for (int i = 0; i < W; ++i) record[static_cast<std::size_t>(2 + i)] = alphabet[pick(rng)];
    if (t % 3 == 0) {
      // A plain number right-justified: the common case, with all its digit counts.
      // (Built by appending: GCC 12 reports a false overlap in an insert into a string.)
      const std::string all = std::to_string(rng() % 100000000u);
      const std::string digits = all.substr(0, std::min<std::size_t>(all.size(), W - 2));
      std::string number = t % 5 == 0 ? "-" : "";
      if (t % 2 == 0 && digits.size() > 1) {
        number.append(digits, 0, digits.size() / 2).append(".").append(digits, digits.size() / 2);
      } else {
        number.append(digits);
      }
      record.replace(static_cast<std::size_t>(2 + W) - number.size(), number.size(), number);
    }
    if (t % 7 == 0) record.resize(static_cast<std::size_t>(cut(rng)));
    const std::string_view field = field_at(record, 3, W);
    int a = 11;
    int b = 11;
    const bool ia = read_int_field(field, a);
    const bool ib = read_int_field_at<W>(record, 3, b);
    ASSERT_EQ(ia, ib) << "[" << field << "]";
    if (ia) {
      ASSERT_EQ(a, b) << "[" << field << "]";
    }
    float x = 7.0f;
    float y = 7.0f;
    const bool ra = read_real_field(field, decimals, x);
    const bool rb = read_real_field_at<W>(record, 3, decimals, y);
    ASSERT_EQ(ra, rb) << "[" << field << "]";
    if (ra) {
      ASSERT_EQ(std::bit_cast<std::uint32_t>(x), std::bit_cast<std::uint32_t>(y))
          << "[" << field << "]";
    }
  }
}

TEST(FixedFields, WidthReadersTakeTheSameFieldsWithTheSameValues) {
  std::mt19937 rng(17);
  expect_width_readers_agree<3>(rng, 0);
  expect_width_readers_agree<4>(rng, 0);
  expect_width_readers_agree<6>(rng, 3);
  expect_width_readers_agree<7>(rng, 2);
  expect_width_readers_agree<8>(rng, 0);
  expect_width_readers_agree<8>(rng, 5);
  expect_width_readers_agree<10>(rng, 3);
}

TEST(InputRecordLayouts, ZezorColumns) {
  // 3I3, F10.3, F6.3, F10.5, 10 skipped, 4F7.2, then ignored columns.
  const std::string rec = rj("-1", 3) + rj("2", 3) + rj("3", 3) + rj("12.5", 10) +
                          rj("0.25", 6) + rj("1.5", 10) + "xxxxxxxxxx" + rj("-20.5", 7) +
                          rj("1.25", 7) + rj("2.5", 7) + rj("3.75", 7) + "    99 junk";
  InputRecord r;
  ASSERT_TRUE(parse_zezor_record(rec, r));
  EXPECT_EQ(r.h, (std::array<int, 3>{-1, 2, 3}));
  EXPECT_FLOAT_EQ(r.value, 12.5f);
  EXPECT_FLOAT_EQ(r.sigma, 0.25f);
  EXPECT_FLOAT_EQ(r.aux, 1.5f);
  EXPECT_FLOAT_EQ(r.angles[0], -20.5f);
  EXPECT_FLOAT_EQ(r.angles[1], 1.25f);
  EXPECT_FLOAT_EQ(r.angles[2], 2.5f);
  EXPECT_FLOAT_EQ(r.angles[3], 3.75f);
}

TEST(InputRecordLayouts, ZezorImpliedDecimalsAndShortRecord) {
  // F without a point in F10.3 has three implied decimals; a record ending after the sigma
  // reads the rest as blanks.
  const std::string rec = rj("1", 3) + rj("0", 3) + rj("0", 3) + rj("12345", 10) + rj("250", 6);
  InputRecord r;
  ASSERT_TRUE(parse_zezor_record(rec, r));
  EXPECT_FLOAT_EQ(r.value, 12.345f);
  EXPECT_FLOAT_EQ(r.sigma, 0.25f);
  EXPECT_EQ(r.aux, 0.0f);
  EXPECT_EQ(r.angles[0], 0.0f);
}

TEST(InputRecordLayouts, ShelxWithBatchAndCosines) {
  const std::string rec = "  -1   2   3  105.20    3.10   1" + rj("-0.5", 8) + rj("0.25", 8) +
                          rj("12345", 8) + rj("1", 8) + rj("0", 8) + rj("-1.0", 8);
  InputRecord r;
  ASSERT_TRUE(parse_shelx_record(rec, r));
  EXPECT_EQ(r.h, (std::array<int, 3>{-1, 2, 3}));
  EXPECT_FLOAT_EQ(r.value, 105.2f);
  EXPECT_FLOAT_EQ(r.sigma, 3.1f);
  EXPECT_EQ(r.batch, 1);
  EXPECT_FLOAT_EQ(r.cosines[0], -0.5f);
  EXPECT_FLOAT_EQ(r.cosines[1], 0.25f);
  EXPECT_FLOAT_EQ(r.cosines[2], 0.12345f);  // F8.5 without a point
  EXPECT_FLOAT_EQ(r.cosines[3], 0.00001f);
  EXPECT_EQ(r.cosines[4], 0.0f);
  EXPECT_FLOAT_EQ(r.cosines[5], -1.0f);
}

TEST(InputRecordLayouts, ShelxTouchingFieldsAndBadFields) {
  InputRecord r;
  // An intensity that fills its eight columns runs into the l field.
  ASSERT_TRUE(parse_shelx_record("   0   2   299999.00  127.85  26", r));
  EXPECT_EQ(r.h[2], 2);
  EXPECT_FLOAT_EQ(r.value, 99999.0f);
  EXPECT_EQ(r.batch, 26);
  // Without a point, F squared and sigma hold hundredths: SHELX reads them with 2F8.2.
  ASSERT_TRUE(parse_shelx_record("   1   0   0     105       3", r));
  EXPECT_FLOAT_EQ(r.value, 1.05f);
  EXPECT_FLOAT_EQ(r.sigma, 0.03f);
  EXPECT_EQ(r.without_point, 2);
  EXPECT_FALSE(parse_shelx_record("   1   0   0  abc.00    3.00", r));
  EXPECT_FALSE(parse_shelx_record("   1   0   0  105.00    3.00  x1", r));  // batch
  EXPECT_FALSE(parse_shelx_record("   1   0   0  105.00    3.00   1     NaN", r));
}

// The fields of the real HKLF 5 file p-4_twin_hklf5 ("  268870    3060"), which SHELX reads as
// 2688.70 and 30.60: the same on the one-go path (a 32-column record), on the field readers
// (a 28-column record, and a record whose l field is unusual) and with a point in one field.
TEST(InputRecordLayouts, ShelxFieldsWithoutPointHoldHundredths) {
  struct Row {
    const char* record;
    float value, sigma;
    int without_point;
  };
  const Row rows[] = {
      {"  -1   0   0  268870    3060   1", 2688.70f, 30.60f, 2},
      {"  -1   0   0  268870    3060", 2688.70f, 30.60f, 2},
      {"  -1   0  +0  268870    3060   1", 2688.70f, 30.60f, 2},
      {"  -1   0   0  2688.7    3060   1", 2688.7f, 30.60f, 1},
      {"  -1   0   0   -1234   30.60   1", -12.34f, 30.6f, 1},
      {"  -1   0   0  2688.7   30.60   1", 2688.7f, 30.6f, 0},
      {"  -1   0   0            3.00   1", 0.0f, 3.0f, 0},  // a blank field is zero either way
  };
  for (const Row& row : rows) {
    InputRecord r;
    ASSERT_TRUE(parse_shelx_record(row.record, r)) << row.record;
    EXPECT_FLOAT_EQ(r.value, row.value) << row.record;
    EXPECT_FLOAT_EQ(r.sigma, row.sigma) << row.record;
    EXPECT_EQ(r.without_point, row.without_point) << row.record;
  }
}

std::vector<std::string> all_lines(const std::string& text, std::size_t block) {
  std::istringstream in(text);
  LineSource lines(in, block);
  std::vector<std::string> out;
  std::string_view rec;
  while (lines.next(rec)) out.emplace_back(rec);
  return out;
}

TEST(LineSourceTest, SplitsLinesDropsCrKeepsLastLineWithoutEnd) {
  using V = std::vector<std::string>;
  EXPECT_EQ(all_lines("a\nbb\r\n\nccc", 1 << 20), (V{"a", "bb", "", "ccc"}));
  EXPECT_EQ(all_lines("a\n", 1 << 20), (V{"a"}));
  EXPECT_EQ(all_lines("", 1 << 20), V{});
  EXPECT_EQ(all_lines("\n\n", 1 << 20), (V{"", ""}));
}

TEST(LineSourceTest, LinesAcrossBlocksAndLongerThanABlock) {
  std::string text;
  std::vector<std::string> expected;
  for (int i = 0; i < 300; ++i) {
    std::string line(static_cast<std::size_t>(i % 37), static_cast<char>('a' + i % 26));
    expected.push_back(line);
    text += line + (i % 3 == 0 ? "\r\n" : "\n");
  }
  for (std::size_t block : {1u, 2u, 5u, 16u, 64u}) EXPECT_EQ(all_lines(text, block), expected);
}

// Records taken many at a time are the records taken one at a time, each with a line end:
// lines across and longer than a block, CR LF, a CR that does not end a line, empty lines, a
// last line without a line end, and takes that end on a block's edge.
TEST(LineSourceTest, RecordsTakenInBulkAreTheRecordsOneByOne) {
  std::mt19937 rng(9);
  std::uniform_int_distribution<int> length(0, 40), kind(0, 9);
  for (int trial = 0; trial < 40; ++trial) {
    std::string text;
    const int lines = 1 + trial * 7;
    for (int i = 0; i < lines; ++i) {
      for (int c = length(rng); c > 0; --c) text.push_back(kind(rng) == 0 ? '\r' : 'x');
      const int end = kind(rng);
      if (i + 1 == lines && trial % 2 == 0) break;  // no line end after the last line
      text += end == 0 ? "\r\n" : "\n";
    }
    std::string expected;
    for (const std::string& line : all_lines(text, 1 << 20)) expected += line + "\n";
    const std::size_t count = all_lines(text, 1 << 20).size();
    for (std::size_t block : {1u, 2u, 5u, 16u, 17u, 64u, 1u << 20}) {
      for (std::size_t most : {1u, 3u, 16u, 2048u}) {
        std::istringstream in(text);
        LineSource source(in, block);
        std::string got;
        std::size_t taken = 0;
        for (;;) {
          const std::size_t n = source.append_records(got, most);
          taken += n;
          if (n < most) break;
        }
        EXPECT_EQ(got, expected) << "trial " << trial << " block " << block << " most " << most;
        EXPECT_EQ(taken, count);
      }
    }
  }
}

TEST(LineSourceTest, RemainingSizeOfAStringStream) {
  std::istringstream in("0123456789");
  EXPECT_EQ(LineSource::remaining_size(in), 10u);
  char c;
  in.get(c);
  EXPECT_EQ(LineSource::remaining_size(in), 9u);
  in.get(c);
  EXPECT_EQ(c, '1');  // the position is kept
}

TEST(SetIndexTest, FindsWhatWasInsertedAcrossGrowth) {
  SetIndex index;
  std::map<std::array<int, 3>, std::uint32_t> reference;
  std::mt19937 rng(3);
  std::uniform_int_distribution<int> hkl(-40, 40);
  std::uint32_t next = 0;
  for (int i = 0; i < 50000; ++i) {
    const std::array<int, 3> k{hkl(rng), hkl(rng), hkl(rng)};
    const std::uint32_t found = index.find(k);
    auto it = reference.find(k);
    if (it == reference.end()) {
      ASSERT_EQ(found, SetIndex::NOT_FOUND);
      index.insert(k, next);
      reference[k] = next++;
    } else {
      ASSERT_EQ(found, it->second);
    }
  }
  EXPECT_EQ(index.size(), reference.size());
  EXPECT_EQ(index.find({1000, 0, 0}), SetIndex::NOT_FOUND);
}

TEST(HklCacheTest, FindsWhatWasInsertedAcrossGrowthWithItsFlags) {
  HklCache cache;
  struct Kept {
    std::uint32_t set;
    std::uint64_t flags;
  };
  std::map<std::array<int, 3>, Kept> reference;
  std::mt19937 rng(9);
  std::uniform_int_distribution<int> hkl(-60, 60);
  std::size_t generation = cache.generation();
  int grown = 0;
  for (int i = 0; i < 60000; ++i) {
    const std::array<int, 3> h{hkl(rng), hkl(rng), hkl(rng)};
    ASSERT_TRUE(HklCache::packable(h));
    const std::uint64_t key = HklCache::pack(h);
    HklCache::Entry* e = cache.find(key);
    auto it = reference.find(h);
    if (it == reference.end()) {
      ASSERT_EQ(e, nullptr);
      const std::uint64_t flags = (i % 3 == 0 ? HklCache::FRIEDEL : 0);
      const HklCache::Entry& added = cache.insert(key, static_cast<std::uint32_t>(i), flags);
      ASSERT_EQ(added.key & HklCache::INDEX_BITS, key);
      reference[h] = Kept{static_cast<std::uint32_t>(i), flags};
      if (cache.generation() != generation) {
        generation = cache.generation();
        ++grown;
      }
    } else {
      ASSERT_NE(e, nullptr);
      ASSERT_EQ(e->set, it->second.set);
      ASSERT_EQ(e->key & HklCache::INDEX_BITS, key);
      ASSERT_EQ(e->key & ~HklCache::INDEX_BITS, HklCache::OCCUPIED | it->second.flags);
    }
  }
  EXPECT_GT(reference.size(), 50000u);
  EXPECT_GE(grown, 4);  // the table grew many times over, and said so
}

TEST(HklCacheTest, SignsAndComponentsAreKeptApartAndWideIndicesAreNotPacked) {
  // Sign patterns and permutations of the same numbers are different reflections.
  const std::array<std::array<int, 3>, 8> distinct{{{1, 2, 3},
                                                    {-1, 2, 3},
                                                    {1, -2, 3},
                                                    {1, 2, -3},
                                                    {3, 2, 1},
                                                    {-1, -1, 0},
                                                    {0, -1, -1},
                                                    {-32768, 32767, 0}}};
  HklCache cache;
  for (std::size_t i = 0; i < distinct.size(); ++i) {
    ASSERT_TRUE(HklCache::packable(distinct[i]));
    cache.insert(HklCache::pack(distinct[i]), static_cast<std::uint32_t>(i), 0);
  }
  for (std::size_t i = 0; i < distinct.size(); ++i) {
    const HklCache::Entry* e = cache.find(HklCache::pack(distinct[i]));
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->set, i);
  }
  EXPECT_EQ(cache.find(HklCache::pack({2, 1, 3})), nullptr);
  EXPECT_FALSE(HklCache::packable({32768, 0, 0}));
  EXPECT_FALSE(HklCache::packable({0, -32769, 0}));
}

}  // namespace
}  // namespace vorlane::input
