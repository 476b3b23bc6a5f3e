// A data set long enough for the run's work to be shared between two threads (the reader's
// placement of members, the averaging, the set classification, the statistics and the CIF's
// figures ahead of the output): two runs of the same file give the same bytes, and the
// counts agree with one another.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "e2e/e2e_run.hpp"

namespace vorlane {
namespace {

using testing::E2eRun;
using testing::find_line;

// About 25 000 reflections of a P2(1)/c cell, each measured as several equivalents, in a fixed
// pseudo-random order. The indices reach (16 15 50): at 0.45 A all lie inside the limiting
// sphere (lambda/2d at most 0.92; at 0.71073 A a quarter would not).
std::string measurements() {
  std::string text;
  std::uint32_t x = 12345;
  auto next = [&x] { return x = x * 1664525u + 1013904223u; };
  for (int n = 0; n < 150000; ++n) {
    const int h = static_cast<int>(next() >> 28) + 1;           // 1..16
    const int k = static_cast<int>(next() >> 28);                // 0..15
    const int l = static_cast<int>((next() >> 25) % 100) - 50;   // -50..49, with repeats
    const int sk = (next() >> 31) != 0 ? 1 : -1;
    const int sh = (next() >> 31) != 0 ? 1 : -1;
    const int i = 100 + static_cast<int>((h * 37 + k * 11 + (l < 0 ? -l : l) * 5) % 900);
    const int noise = static_cast<int>(next() >> 27) - 16;
    text += testing::shelx_record(sh * h, sk * k, sh * l, std::to_string(i + noise) + ".0",
                                  std::to_string(5 + (n % 7)) + ".0");
  }
  return text;
}

TEST(RunLarge, TwoRunsGiveTheSameBytesAndTheCountsAgree) {
  const std::string exp =
      "TITLE  large\nCELL   10.2 12.7 15.3 90 101.5 90\nWAVEL 1 0.45\n"
      "VORLAN SPACEGROUP P 1 21/c 1\n";
  const std::string data = measurements();
  E2eRun a("e2e_large_a");
  E2eRun b("e2e_large_b");
  for (const E2eRun* r : {&a, &b}) {
    r->write("t.exp", exp);
    r->write("d.hkl", data);
    const auto res = r->run("t.exp t.prt d.hkl o.hkl");
    ASSERT_EQ(res.status, 0) << res.err;
  }
  for (const char* name : {"o.hkl", "o_vorlane.cif", "o_stats.json", "o_rejections.csv"}) {
    EXPECT_EQ(a.read(name), b.read(name)) << name;
  }
  EXPECT_EQ(testing::after_date(a.lines("t.prt")), testing::after_date(b.lines("t.prt")));

  const auto out = a.lines("o.hkl");
  const auto cif = a.lines("o_vorlane.cif");
  const std::string total = cif[find_line(cif, "_reflns_number_total")];
  EXPECT_EQ(std::stoi(total.substr(total.find_last_of(' ') + 1)), static_cast<int>(out.size()));
  EXPECT_GT(out.size(), 8192u);  // enough sets for the work to be shared
  const std::string number = cif[find_line(cif, "_diffrn_reflns_number")];
  EXPECT_LE(std::stoi(number.substr(number.find_last_of(' ') + 1)), 150000);
}

TEST(RunLarge, AValueTooWideScalesTheOutputWhenTheWorkIsShared) {
  // One reflection whose average does not fit its output field, among enough sets for the
  // ledger, the counts and the CIF's figures to be worked out ahead of the output: the output
  // scale is divided until it fits, and nothing is left out anywhere.
  const std::string exp =
      "TITLE  large\nCELL   10.2 12.7 15.3 90 101.5 90\nWAVEL 1 0.45\n"
      "VORLAN SPACEGROUP P 1 21/c 1\n";
  E2eRun r("e2e_large_overflow");
  r.write("t.exp", exp);
  r.write("d.hkl", measurements() + testing::shelx_record(20, 1, 3, "1.0E38", "2.0") +
                       testing::shelx_record(20, 1, 3, "1.0E38", "2.0"));
  const auto res = r.run("t.exp t.prt d.hkl o.hkl");
  ASSERT_EQ(res.status, 0) << res.err;
  const auto out = r.lines("o.hkl");
  const auto cif = r.lines("o_vorlane.cif");
  const std::string total = cif[find_line(cif, "_reflns_number_total")];
  EXPECT_EQ(std::stoi(total.substr(total.find_last_of(' ') + 1)), static_cast<int>(out.size()));
  const auto ledger = r.lines("o_rejections.csv");
  int overflowed = 0;
  for (const std::string& line : ledger) {
    if (line.find("value overflowed its output field") != std::string::npos) ++overflowed;
  }
  EXPECT_EQ(overflowed, 0);
  EXPECT_NE(r.read("o_stats.json").find("\"value_overflow\": 0"), std::string::npos);
  const auto prt = r.lines("t.prt");
  EXPECT_LT(find_line(prt, "OUTPUT SCALED BY 1E-33: THE LARGEST INTENSITY DID NOT FIT"),
            prt.size());
  EXPECT_EQ(find_line(prt, "OVERFLOW WRITING TO OUTPUT DATAFILE"), prt.size());
}

}  // namespace
}  // namespace vorlane
