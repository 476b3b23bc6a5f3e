// The packed readers of the usual I4 and F8.d forms against the field readers they stand in
// front of, over every field of a small alphabet that holds each kind of character (blanks,
// signs, point, digits, a stray letter): where the packed reader takes a field it must give
// the same value bit for bit, and it must take the common forms. (Eight-character fields use
// fewer characters: a plus sign or a letter makes no field packed already at four.)
#include <gtest/gtest.h>

#include <bit>
#include <array>
#include <cstdint>
#include <random>
#include <string>

#include "input/fixed_fields.hpp"
#include "input/packed_fields.hpp"
#include "input/packed_record.hpp"

namespace vorlane::input {
namespace {

// Every string of `width` characters over `alphabet`, passed to `f`.
template <class F>
void each_field(const std::string& alphabet, int width, F&& f) {
  std::string s(static_cast<std::size_t>(width), ' ');
  std::uint64_t n = 1;
  for (int i = 0; i < width; ++i) n *= alphabet.size();
  for (std::uint64_t k = 0; k < n; ++k) {
    std::uint64_t r = k;
    for (int i = 0; i < width; ++i) {
      s[static_cast<std::size_t>(i)] = alphabet[r % alphabet.size()];
      r /= alphabet.size();
    }
    f(s);
  }
}

TEST(PackedFields, I4AgreesWithTheFieldReaderOnEveryField) {
  long taken = 0;
  each_field(" -+.0159x", 4, [&](const std::string& s) {
    int packed = 12345;
    if (!detail::read_packed_i4(s.data(), packed)) return;
    ++taken;
    int plain = 0;
    ASSERT_TRUE(read_int_field(s, plain)) << '"' << s << '"';
    ASSERT_EQ(packed, plain) << '"' << s << '"';
  });
  EXPECT_GT(taken, 400);
  for (const char* usual : {"   1", "  -3", " 999", "-999", "9999", "   0", "  -0", "0012"}) {
    int v = 0;
    EXPECT_TRUE(detail::read_packed_i4(usual, v)) << usual;
  }
}

TEST(PackedFields, F8AgreesWithTheFieldReaderOnEveryField) {
  for (int decimals : {0, 5}) {
    long taken = 0;
    each_field(" -.019", 8, [&](const std::string& s) {
      float packed = 12345.0f;
      if (!detail::read_packed_f8(s.data(), decimals, packed)) return;
      ++taken;
      float plain = 0.0f;
      ASSERT_TRUE(read_real_field(s, decimals, plain)) << '"' << s << '"';
      ASSERT_EQ(std::bit_cast<std::uint32_t>(packed), std::bit_cast<std::uint32_t>(plain))
          << '"' << s << '"' << decimals;
    });
    EXPECT_GT(taken, 40000);
  }
  for (const char* usual : {"  105.20", "   -2.50", " 1234.56", "    0.00", "   -0.00", "1677.721",
                            "   12345", "  -.5000", "      5."}) {
    float v = 0.0f;
    EXPECT_TRUE(detail::read_packed_f8(usual, 0, v)) << usual;
  }
  // Digits beyond what a float holds exactly are left to the general reader.
  float v = 0.0f;
  EXPECT_FALSE(detail::read_packed_f8("16777216", 0, v));
  EXPECT_FALSE(detail::read_packed_f8("99999999", 0, v));
}

TEST(PackedFields, WholeRecordIsTakenExactlyWhenEveryFieldIs) {
  // Records of six random fields over the same alphabets (each field often in its usual form):
  // the record is read in one go exactly when each field's packed reader takes it, and then
  // to the same values.
  std::mt19937 rng(17);
  auto field = [&rng](const std::string& alphabet, int width) {
    std::string s(static_cast<std::size_t>(width), ' ');
    const int body = std::uniform_int_distribution<int>(0, width)(rng);
    const bool odd = std::uniform_int_distribution<int>(0, 9)(rng) == 0;
    for (int i = width - body; i < width; ++i) {
      const std::string& from = odd ? alphabet : std::string("0123456789");
      s[static_cast<std::size_t>(i)] =
          from[std::uniform_int_distribution<std::size_t>(0, from.size() - 1)(rng)];
    }
    if (body > 1 && std::uniform_int_distribution<int>(0, 2)(rng) == 0) {
      s[static_cast<std::size_t>(width - body)] = '-';
    }
    if (width == 8 && body > 2 && std::uniform_int_distribution<int>(0, 1)(rng) == 0) {
      s[static_cast<std::size_t>(width - 1 - std::uniform_int_distribution<int>(0, body - 2)(rng))] = '.';
    }
    return s;
  };
  long taken = 0;
  for (int n = 0; n < 200000; ++n) {
    const std::string rec = field(" -+.0159x", 4) + field(" -+.0159x", 4) +
                            field(" -+.0159x", 4) + field(" -+.019x", 8) +
                            field(" -+.019x", 8) + field(" -+.0159x", 4);
    std::array<int, 3> h{};
    float f1 = 0.0f, f2 = 0.0f;
    int batch = 0;
    int without_point = 0;
    const bool whole = read_usual_shelx_record(rec.data(), h, f1, f2, batch, 2, without_point);
    std::array<int, 4> fi{};
    std::array<float, 2> ff{};
    const bool each = detail::read_packed_i4(rec.data(), fi[0]) &&
                      detail::read_packed_i4(rec.data() + 4, fi[1]) &&
                      detail::read_packed_i4(rec.data() + 8, fi[2]) &&
                      detail::read_packed_f8(rec.data() + 12, 2, ff[0]) &&
                      detail::read_packed_f8(rec.data() + 20, 2, ff[1]) &&
                      detail::read_packed_i4(rec.data() + 28, fi[3]);
    ASSERT_EQ(whole, each) << '"' << rec << '"';
    if (!whole) continue;
    ++taken;
    ASSERT_EQ(h, (std::array<int, 3>{fi[0], fi[1], fi[2]})) << '"' << rec << '"';
    ASSERT_EQ(batch, fi[3]) << '"' << rec << '"';
    const int points = static_cast<int>(rec.substr(12, 8).find('.') == std::string::npos) +
                       static_cast<int>(rec.substr(20, 8).find('.') == std::string::npos);
    ASSERT_EQ(without_point, points) << rec;
    ASSERT_EQ(std::bit_cast<std::uint32_t>(f1), std::bit_cast<std::uint32_t>(ff[0])) << rec;
    ASSERT_EQ(std::bit_cast<std::uint32_t>(f2), std::bit_cast<std::uint32_t>(ff[1])) << rec;
  }
  EXPECT_GT(taken, 30000);
}

}  // namespace
}  // namespace vorlane::input
