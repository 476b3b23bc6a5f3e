// READ_DATA: conversion of both formats, filing into sets, messages with their numbering,
// Friedel handling and the capacities.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <random>

#include "input/input_test_groups.hpp"
#include "input/read_data.hpp"
#include "support/test_support.hpp"
#include "symmetry/asind.hpp"

namespace vorlane::input {
namespace {

using testing::MemoryRun;
using Hkl = std::array<int, 3>;

std::string rj(const std::string& s, std::size_t w) {
  return std::string(w > s.size() ? w - s.size() : 0, ' ') + s;
}
std::string i4(int v) { return rj(std::to_string(v), 4); }
std::string i3(int v) { return rj(std::to_string(v), 3); }

// A SHELX record: 3I4 and two F8 fields given as text; a whole number gets its point (a field
// without one holds hundredths).
std::string shelx(int h, int k, int l, std::string fsq, std::string sig) {
  for (std::string* f : {&fsq, &sig})
    if (f->find_first_of(".NI") == std::string::npos) *f += ".";
  return i4(h) + i4(k) + i4(l) + rj(fsq, 8) + rj(sig, 8) + "\n";
}
// A Zezor record: 3I3, F10.3, F6.3, F10.5, ten skipped columns and 4F7.2.
std::string zezor(int h, int k, int l, const std::string& f, const std::string& sig,
                  const std::string& aux = "0.0", const std::string& tth = "10.00",
                  const std::string& a2 = "0.00", const std::string& a3 = "0.00",
                  const std::string& a4 = "0.00") {
  return i3(h) + i3(k) + i3(l) + rj(f, 10) + rj(sig, 6) + rj(aux, 10) + "    1     " +
         rj(tth, 7) + rj(a2, 7) + rj(a3, 7) + rj(a4, 7) + "\n";
}

// ERRMSG without its blank padding.
std::string message(const run::RunState& rs) {
  const std::string& m = rs.msg.ERRMSG;
  return m.substr(0, m.find_last_not_of(' ') + 1);
}

struct Reading {
  MemoryRun run;
  explicit Reading(const std::string& input, int infmt,
                   symmetry::SpaceGroup sg = testing::group_p1_open())
      : run("", input) {
    run.rs.files.INFMT = infmt;
    run.rs.sg = std::move(sg);
  }
  run::RunState& rs() { return run.rs; }
  const run::ReflectionList& list() { return run.rs.refl; }
  const run::Member& member(int set, int j) {
    return list().member(list().sets[static_cast<std::size_t>(set - 1)], j);
  }
};

TEST(ReadDataZezor, AmplitudesBecomeIntensities) {
  Reading r(zezor(1, 0, 0, "0.0005", "0.5") + zezor(2, 0, 0, "-3.0", "0.5") +
                zezor(3, 0, 0, "0.002", "0.5") + zezor(4, 0, 0, "10.0", "0.25", "1.5"),
            0);
  READ_DATA(r.rs());
  ASSERT_EQ(r.list().NSET(), 4);
  EXPECT_EQ(r.member(1, 1).FSQ, 0.0f);
  EXPECT_EQ(r.member(1, 1).SIGFSQ, 1.0f);
  EXPECT_EQ(r.member(2, 1).FSQ, 0.0f);
  EXPECT_EQ(r.member(2, 1).SIGFSQ, 1.0f);
  EXPECT_FLOAT_EQ(r.member(3, 1).FSQ, 0.000004f);
  EXPECT_FLOAT_EQ(r.member(3, 1).SIGFSQ, 0.004f * 0.5f);
  EXPECT_FLOAT_EQ(r.member(4, 1).FSQ, 100.0f);
  EXPECT_FLOAT_EQ(r.member(4, 1).SIGFSQ, 5.0f);
  EXPECT_FLOAT_EQ(r.list().sets[3].AUXVAL, 1.5f);
  EXPECT_EQ(r.run.dialogs.warning_texts.size(), 0u);
  EXPECT_EQ(r.rs().msg.IHALT, 0);
}

TEST(ReadDataZezor, AnglesNegativeTwoThetaAndBlankLine) {
  Reading r(zezor(1, 2, 3, "5.0", "0.1", "0.0", "-22.5", "1.25", "2.5", "3.75") + "\n", 0);
  READ_DATA(r.rs());
  ASSERT_EQ(r.list().NSET(), 2);
  const run::Member& m = r.member(1, 1);
  EXPECT_FLOAT_EQ(m.REFANG[0], 22.5f);  // stored as its absolute value
  // The other angle values are kept beside the list, found by the record's line.
  const run::RecordAngles* more = r.list().angles_of(m);
  ASSERT_NE(more, nullptr);
  EXPECT_EQ(more->line, 1u);
  EXPECT_FLOAT_EQ(more->REFANG23[0], 1.25f);
  EXPECT_FLOAT_EQ(more->REFANG23[1], 2.5f);
  EXPECT_FLOAT_EQ(more->ITAG, 3.75f);
  // The blank line is the reflection 0 0 0 with F = 0.
  const run::Member& blank = r.member(2, 1);
  EXPECT_EQ(blank.IHKL, (Hkl{0, 0, 0}));
  EXPECT_EQ(blank.FSQ, 0.0f);
  EXPECT_EQ(blank.SIGFSQ, 1.0f);
}

TEST(ReadDataZezor, AZeroRecordIsOrdinaryAndTheFileIsReadToItsEnd) {
  Reading r(zezor(0, 0, 0, "0.0", "0.0") + zezor(1, 1, 1, "3.0", "0.1"), 0);
  READ_DATA(r.rs());
  EXPECT_EQ(r.list().NSET(), 2);
}

TEST(ReadDataShelx, ValuesUnchangedTheZeroRecordEndsTheData) {
  Reading r(shelx(1, 2, 3, "105.20", "3.10") + shelx(-1, 0, 4, "-2.5", "1.0") +
                shelx(0, 0, 0, "0.00", "0.00") + shelx(5, 5, 5, "9.0", "1.0") + "garbage\n",
            1);
  READ_DATA(r.rs());
  ASSERT_EQ(r.list().NSET(), 2);
  EXPECT_FLOAT_EQ(r.member(1, 1).FSQ, 105.2f);
  EXPECT_FLOAT_EQ(r.member(1, 1).SIGFSQ, 3.1f);
  EXPECT_FLOAT_EQ(r.member(2, 1).FSQ, -2.5f);
  // No cell, no orientation: 2theta cannot be had and is 0; the other angles are 0.
  EXPECT_EQ(r.member(1, 1).REFANG[0], 0.0f);
  EXPECT_EQ(r.list().angles_of(r.member(1, 1)), nullptr);
  EXPECT_EQ(r.list().sets[0].AUXVAL, 0.0f);
  // Nothing after 0 0 0 is read; the line after it that reads as a reflection is half of
  // what follows, so the early end is reported.
  ASSERT_EQ(r.run.dialogs.warning_texts.size(), 1u);
  EXPECT_EQ(r.run.dialogs.warning_texts[0],
            "DATA END AT LINE    3 (A 0 0 0 RECORD): 1 LATER LINES READ AS REFLECTIONS WERE "
            "IGNORED ");
}

TEST(ReadDataShelx, TextAfterTheEndSaysNothing) {
  Reading r(shelx(1, 2, 3, "105.20", "3.10") + shelx(0, 0, 0, "0.00", "0.00") + "\n" +
                "TITL x\nCELL 0.71073 5 6 7 90 90 90\n" + shelx(5, 5, 5, "9.0", "1.0") +
                "HKLF 4\nEND\n",
            1);
  READ_DATA(r.rs());
  EXPECT_EQ(r.list().NSET(), 1);
  EXPECT_TRUE(r.run.dialogs.warning_texts.empty());
}

TEST(ReadDataShelx, ABlankLineEndsTheData) {
  Reading r(shelx(1, 2, 3, "1.0", "1.0") + "\n" + shelx(2, 2, 3, "1.0", "1.0"), 1);
  READ_DATA(r.rs());
  EXPECT_EQ(r.list().NSET(), 1);
}

TEST(ReadDataMessages, UnreadableRecordsAreSkippedAndNamedByTheirLines) {
  // Two good records, a bad one on line 3, a good one, two bad ones on lines 5 and 6, then a
  // good one.
  Reading r(shelx(1, 0, 0, "1.0", "1.0") + shelx(2, 0, 0, "1.0", "1.0") +
                "   3   0   0  1x.0      1.0\n" + shelx(4, 0, 0, "1.0", "1.0") +
                "   5   0   0     NaN     1.0\n" + "   6   0   0     1.0     Inf\n" +
                shelx(7, 0, 0, "1.0", "1.0"),
            1);
  READ_DATA(r.rs());
  ASSERT_EQ(r.list().NSET(), 4);
  EXPECT_EQ(r.member(3, 1).IHKL, (Hkl{4, 0, 0}));
  EXPECT_EQ(r.member(4, 1).IHKL, (Hkl{7, 0, 0}));
  const std::vector<std::string> expected = {"Error on reading input datafile at line    3 ",
                                             "Error on reading input datafile at line    5 ",
                                             "Error on reading input datafile at line    6 "};
  EXPECT_EQ(r.run.dialogs.warning_texts, expected);
  EXPECT_EQ(r.rs().msg.IHALT, 0);
  // The warning block stands in the print file, right-justified in 100 columns after 5X
  // (the first blank being the carriage control, which is not printed).
  const std::vector<std::string> lines = r.run.print_lines();
  EXPECT_EQ(std::count(lines.begin(), lines.end(), std::string(4 + 100 - 45, ' ') + expected[0]),
            1);
}

TEST(ReadDataMessages, ZeroSigmaAcceptedWithZeroIntensityFatalOnTheSeventh) {
  std::string input;
  for (int i = 1; i <= 6; ++i) input += shelx(i, 0, 0, "0.0", "0.0");  // sigma 0, F2 0: fine
  input += shelx(7, 0, 0, "5.0", "0.0");
  input += shelx(8, 0, 0, "5.0", "1.0");
  Reading r(input, 1);
  READ_DATA(r.rs());
  EXPECT_EQ(r.rs().msg.IHALT, 1);
  EXPECT_EQ(message(r.rs()), "Reflection on line    7 has sig = 0");
  EXPECT_EQ(r.list().NSET(), 6);  // what was filed before the failing record
  ASSERT_EQ(r.run.dialogs.fatal_texts.size(), 1u);
}

TEST(ReadDataMessages, NoImageInTheAsymmetricUnitIsFatal) {
  // Centrosymmetric set-up with only the identity and the unit h >= 1: (-1, 0, 0) has no
  // image in the unit.
  Reading r(shelx(1, 0, 0, "1.0", "1.0") + shelx(-1, 0, 0, "1.0", "1.0"), 1,
            testing::make_group({testing::diagonal(1, 1, 1)}, true, {{1, 0, 0, 1}}));
  READ_DATA(r.rs());
  EXPECT_EQ(r.rs().msg.IHALT, 1);
  EXPECT_EQ(message(r.rs()), "Error transforming reflection #    2 Check SYMOP cards");
  EXPECT_EQ(r.list().NSET(), 1);
}

TEST(ReadDataFiling, SetOrderFirstAppearanceMemberOrderReadingOrder) {
  // mmm: (1,2,3), (-1,2,3), (1,-2,-3) ... are one set with representative (1,2,3).
  Reading r(shelx(-1, 2, 3, "10", "1") + shelx(0, 0, 2, "20", "1") + shelx(1, -2, -3, "11", "1") +
                shelx(0, 0, -2, "21", "1") + shelx(1, 2, 3, "12", "1"),
            1, testing::group_mmm());
  READ_DATA(r.rs());
  ASSERT_EQ(r.list().NSET(), 2);
  const run::EquivSet& s1 = r.list().sets[0];
  ASSERT_EQ(s1.NEQ, 3);
  EXPECT_EQ(r.member(1, 1).IHKL, (Hkl{1, 2, 3}));    // the representative
  EXPECT_EQ(r.member(1, 2).IHKL, (Hkl{1, -2, -3}));  // as read
  EXPECT_EQ(r.member(1, 3).IHKL, (Hkl{1, 2, 3}));
  EXPECT_FLOAT_EQ(r.member(1, 1).FSQ, 10.0f);
  EXPECT_FLOAT_EQ(r.member(1, 2).FSQ, 11.0f);
  EXPECT_FLOAT_EQ(r.member(1, 3).FSQ, 12.0f);
  ASSERT_EQ(r.list().sets[1].NEQ, 2);
  EXPECT_EQ(r.member(2, 1).IHKL, (Hkl{0, 0, 2}));
  EXPECT_EQ(r.member(2, 2).IHKL, (Hkl{0, 0, -2}));
  EXPECT_FLOAT_EQ(r.member(2, 2).FSQ, 21.0f);
}

TEST(ReadDataFiling, SetsAlreadyInTheListKeepTheirMembersFirst) {
  // A list holding one set (representative (1,2,3), two members) before the reading: members
  // of its class join it after its own, new classes open sets after it.
  Reading r(shelx(1, 2, -3, "30", "1") + shelx(0, 0, 2, "40", "1") + shelx(1, 2, 3, "31", "1"), 1,
            testing::group_mmm());
  run::ReflectionList& list = r.rs().refl;
  run::Member a;
  a.IHKL = {1, 2, 3};
  a.FSQ = 10.0f;
  run::Member b;
  b.IHKL = {-1, -2, 3};
  b.FSQ = 11.0f;
  list.members = {a, b};
  run::EquivSet set;
  set.first = 0;
  set.NEQ = 2;
  set.AUXVAL = 5.0f;
  list.sets = {set};
  READ_DATA(r.rs());
  ASSERT_EQ(list.NSET(), 2);
  ASSERT_EQ(list.sets[0].NEQ, 4);
  EXPECT_EQ(list.sets[0].AUXVAL, 5.0f);
  const float fsq[] = {10.0f, 11.0f, 30.0f, 31.0f};
  const Hkl hkl[] = {{1, 2, 3}, {-1, -2, 3}, {1, 2, -3}, {1, 2, 3}};
  for (int j = 1; j <= 4; ++j) {
    EXPECT_EQ(r.member(1, j).FSQ, fsq[j - 1]);
    EXPECT_EQ(r.member(1, j).IHKL, hkl[j - 1]);
  }
  ASSERT_EQ(list.sets[1].NEQ, 1);
  EXPECT_EQ(list.sets[1].first, 4u);
  EXPECT_EQ(r.member(2, 1).IHKL, (Hkl{0, 0, 2}));
  EXPECT_EQ(r.member(2, 1).FSQ, 40.0f);
}

TEST(ReadDataFiling, TwoThetaOfRepeatedIndicesFromTheCellOrFromTheirOwnCosines) {
  // Cubic a = 10 A, lambda = 0.7093 A: for (1,0,0), d = 10, sin theta = 0.035465 and
  // 2theta = 2 (0.035465 + 0.035465^3 / 6) rad = 4.0648 degrees; for (2,0,0), d = 5,
  // sin theta = 0.07093 and 2theta = 8.1348 degrees. A record with direction
  // cosines takes its angle from them (incident (1,0,0), diffracted (cos 150, sin 150, 0):
  // 30 degrees) even when its indices were met before without them.
  const double c150 = std::cos(150.0 * M_PI / 180.0);
  const double s150 = std::sin(150.0 * M_PI / 180.0);
  auto f85 = [](double v) {  // an F8.5 field
    std::string t = std::to_string(std::round(v * 1e5) / 1e5);
    t = t.substr(0, t.find('.') + 6);
    return rj(t, 8);
  };
  const std::string cosines = f85(1.0) + f85(c150) + f85(0.0) + f85(s150) + f85(0.0) + f85(0.0);
  auto rec = [&](int h, const std::string& tail) {
    std::string line = shelx(h, 0, 0, "10", "1");
    line.pop_back();
    return line + tail + "\n";
  };
  Reading r(rec(1, "") + rec(2, "   1") + rec(1, "   1" + cosines) + rec(1, "   1") +
                rec(2, ""),
            1);
  run::RunState& rs = r.rs();
  rs.ctl.IBMAT = 1;
  rs.ctl.ICELL = 1;
  rs.ctl.WAVE = 0.7093f;
  rs.cell.RCELL = {0.1f, 0.1f, 0.1f, 90.0f, 90.0f, 90.0f};
  rs.cell.BTINV = {10, 0, 0, 0, 10, 0, 0, 0, 10};
  for (int axis = 1; axis <= 3; ++axis) {
    rs.celltab.at(axis, 1, 1) = 10.0f;
    rs.celltab.at(axis, 2, 1) = 0.0f;
    rs.celltab.at(axis, 3, 1) = 1.0f;
    rs.celltab.at(axis, 1, 2) = 0.1f;
    rs.celltab.at(axis, 2, 2) = 0.0f;
    rs.celltab.at(axis, 3, 2) = 1.0f;
  }
  READ_DATA(rs);
  ASSERT_EQ(r.list().NSET(), 2);
  ASSERT_EQ(r.list().sets[0].NEQ, 3);
  ASSERT_EQ(r.list().sets[1].NEQ, 2);
  EXPECT_NEAR(r.member(1, 1).REFANG[0], 4.0648f, 2e-4f);
  EXPECT_NEAR(r.member(1, 2).REFANG[0], 30.0f, 1e-3f);
  EXPECT_NEAR(r.member(1, 3).REFANG[0], 4.0648f, 2e-4f);
  EXPECT_EQ(r.member(1, 3).REFANG[0], r.member(1, 1).REFANG[0]);
  EXPECT_NEAR(r.member(2, 1).REFANG[0], 8.1348f, 2e-4f);
  EXPECT_EQ(r.member(2, 2).REFANG[0], r.member(2, 1).REFANG[0]);
}

// The filing rule as the reader describes it, written out plainly (sets in the order their
// representatives first appear, each set's members in reading order): the reference the
// hashed reader must agree with.
struct ScanFiling {
  std::vector<Hkl> keys;
  std::vector<std::vector<std::pair<Hkl, float>>> members;
};

// Reads `count` records with indices from `pick` and compares the sets and their members with
// the scan over all sets.
template <class Pick>
void expect_filing_as_the_scan(int count, Pick pick) {
  const symmetry::SpaceGroup sg = testing::group_mmm();
  std::string input;
  ScanFiling ref;
  std::map<Hkl, std::size_t> set_of;  // the scan's answer, found faster
  for (int i = 0; i < count; ++i) {
    Hkl h = pick(i);
    if (h == Hkl{0, 0, 0}) h = {1, 1, 1};
    const float fsq = static_cast<float>(i);
    input += shelx(h[0], h[1], h[2], std::to_string(i) + ".", "1.");
    Hkl k{};
    int isym = 0;
    symmetry::ASIND(sg, h, k, isym);
    const auto [at, is_new] = set_of.try_emplace(k, ref.keys.size());
    if (is_new) {
      ref.keys.push_back(k);
      ref.members.push_back({{k, fsq}});
    } else {
      ref.members[at->second].push_back({h, fsq});
    }
  }
  Reading r(input, 1, sg);
  READ_DATA(r.rs());
  ASSERT_EQ(static_cast<std::size_t>(r.list().NSET()), ref.keys.size());
  for (std::size_t s = 0; s < ref.keys.size(); ++s) {
    const run::EquivSet& set = r.list().sets[s];
    ASSERT_EQ(static_cast<std::size_t>(set.NEQ), ref.members[s].size());
    for (int j = 1; j <= set.NEQ; ++j) {
      const auto& [h, fsq] = ref.members[s][static_cast<std::size_t>(j - 1)];
      ASSERT_EQ(r.list().member(set, j).IHKL, h);
      ASSERT_EQ(r.list().member(set, j).FSQ, fsq);
    }
  }
}

TEST(ReadDataFiling, AgreesWithTheScanOverAllSets) {
  std::mt19937 rng(5);
  std::uniform_int_distribution<int> idx(-6, 6);
  expect_filing_as_the_scan(4000, [&](int) { return Hkl{idx(rng), idx(rng), idx(rng)}; });
  // Four sets with tens of thousands of members among a few hundred small ones: the first
  // sets' group is too large to be placed through a buffer and is divided further in place.
  const Hkl heavy[] = {{1, 2, 3}, {2, 3, 4}, {3, 4, 5}, {4, 5, 6}};
  std::uniform_int_distribution<int> share(0, 9);
  expect_filing_as_the_scan(100000, [&](int i) {
    if (i < 4) return heavy[i];
    return share(rng) < 8 ? heavy[share(rng) % 4] : Hkl{idx(rng), idx(rng), idx(rng)};
  });
  // Enough sets for the groups to be placed on a second thread while the division goes on.
  std::uniform_int_distribution<int> wide(-40, 40);
  expect_filing_as_the_scan(60000, [&](int) { return Hkl{wide(rng), wide(rng), wide(rng)}; });
  // The same with heavy sets among them: their group is divided further on whichever thread
  // takes it.
  expect_filing_as_the_scan(160000, [&](int i) {
    if (i < 4) return heavy[i];
    return share(rng) < 5 ? heavy[share(rng) % 4] : Hkl{wide(rng), wide(rng), wide(rng)};
  });
}

TEST(ReadDataFriedel, MatesMergeAndAreListed) {
  // P1 without the inversion, unit h >= 1: (-2, 1, 0) reaches (2, -1, 0) through its mate.
  Reading r(shelx(2, -1, 0, "5", "1") + shelx(-2, 1, 0, "6", "1") + shelx(-3, -4, 5, "7", "1"),
            1, testing::group_p1_friedel());
  READ_DATA(r.rs());
  ASSERT_EQ(r.list().NSET(), 2);
  EXPECT_EQ(r.list().sets[0].NEQ, 2);
  EXPECT_EQ(r.member(1, 1).IHKL, (Hkl{2, -1, 0}));
  EXPECT_EQ(r.member(1, 2).IHKL, (Hkl{-2, 1, 0}));
  EXPECT_EQ(r.member(2, 1).IHKL, (Hkl{3, 4, -5}));
  ASSERT_EQ(r.run.dialogs.warning_texts.size(), 1u);
  EXPECT_EQ(r.run.dialogs.warning_texts[0],
            "    2 Reflections transformed to Friedel mates. Check consistency of UNITIN and "
            "SYMOP cards ");
  const std::vector<std::string> lines = r.run.print_lines();
  // The listing follows the warning block: empty line, heading, empty line, one line each.
  auto it = std::find(lines.begin(), lines.end(),
                      "    The following input hkl's swapped to Friedel mates:");
  ASSERT_NE(it, lines.end());
  ASSERT_GE(lines.end() - it, 4);
  EXPECT_EQ(*(it - 1), "");
  EXPECT_EQ(*(it + 1), "");
  EXPECT_EQ(*(it + 2), "       -2    1    0");
  EXPECT_EQ(*(it + 3), "       -3   -4    5");
  EXPECT_EQ(it + 4, lines.end());
}

TEST(ReadDataFriedel, NoflipKeepsMatesApartWithReversedIndices) {
  Reading r(shelx(2, -1, 0, "5", "1") + shelx(-2, 1, 0, "6", "1"), 1,
            testing::group_p1_friedel());
  r.rs().ctl.INOFLIP = 1;
  READ_DATA(r.rs());
  ASSERT_EQ(r.list().NSET(), 2);
  EXPECT_EQ(r.member(1, 1).IHKL, (Hkl{2, -1, 0}));
  EXPECT_EQ(r.member(2, 1).IHKL, (Hkl{-2, 1, 0}));
  EXPECT_TRUE(r.run.dialogs.warning_texts.empty());
  EXPECT_EQ(r.run.print_text().find("swapped"), std::string::npos);
}

TEST(ReadDataFriedel, AFullListIsCountedOnWithoutListing) {
  Reading r(shelx(-1, 0, 0, "5", "1") + shelx(-2, 0, 0, "6", "1") + shelx(-3, 0, 0, "6", "1"),
            1, testing::group_p1_friedel());
  ReadLimits limits;
  limits.max_swapped = 2;
  read_data(r.rs(), limits);
  ASSERT_EQ(r.run.dialogs.warning_texts.size(), 1u);
  EXPECT_EQ(r.run.dialogs.warning_texts[0].substr(0, 6), "    3 ");
  const std::string text = r.run.print_text();
  EXPECT_NE(text.find("       -2    0    0"), std::string::npos);
  EXPECT_EQ(text.find("       -3    0    0"), std::string::npos);
}

TEST(ReadDataLimits, SetsAndMembersBeyondTheOldCapacitiesAreRead) {
  // Once 999 members of one set and 100 000 sets stopped a run; storage now grows with the
  // data. 1500 measurements of one reflection, then 100 001 sets of one measurement each.
  std::string input;
  input.reserve(101501 * 29);
  for (int i = 0; i < 1500; ++i) input += shelx(1, 2, 3, "10", "1");
  for (int i = 0; i <= 100000; ++i) input += shelx(i % 100 + 1, i / 100 % 100, i / 10000 + 20, "1", "1");
  Reading r(input, 1);
  READ_DATA(r.rs());
  EXPECT_EQ(r.rs().msg.IHALT, 0);
  ASSERT_EQ(r.list().NSET(), 100002);
  EXPECT_EQ(r.list().sets[0].NEQ, 1500);
  EXPECT_EQ(r.list().members.size(), 101501u);
}

}  // namespace
}  // namespace vorlane::input

namespace vorlane::input {
namespace {

// Every member keeps the record as read: its indices (member 1 too, whose IHKL holds the
// representative), its batch number (SHELX columns 29-32, 0 for Zezor) and its line in the
// file, counted over unreadable lines as well.
TEST(ReadDataRecord, IndicesAsReadBatchAndLineForEveryMember) {
  const std::string shelx_text = shelx(-3, -4, 5, "7", "1").substr(0, 28) + "   7\n" +
                                 "  x\n" + shelx(3, 4, -5, "8", "1").substr(0, 28) + "  12\n" +
                                 shelx(1, 0, 0, "9", "1");
  Reading s(shelx_text, 1, testing::group_p1_friedel());
  READ_DATA(s.rs());
  ASSERT_EQ(s.list().NSET(), 2);
  ASSERT_EQ(s.list().sets[0].NEQ, 2);
  const Hkl read1{-3, -4, 5};
  const Hkl read2{3, 4, -5};
  EXPECT_EQ(s.member(1, 1).IHKL, (Hkl{3, 4, -5}));  // the representative
  EXPECT_EQ(s.member(1, 1).hkl_read, read1);
  EXPECT_EQ(s.member(1, 2).hkl_read, read2);
  EXPECT_EQ(s.member(1, 1).batch, 7);
  EXPECT_EQ(s.member(1, 2).batch, 12);
  EXPECT_EQ(s.member(2, 1).batch, 0);
  EXPECT_EQ(s.member(1, 1).line, 1u);
  EXPECT_EQ(s.member(1, 2).line, 3u);  // line 2 does not read
  EXPECT_EQ(s.member(2, 1).line, 4u);

  Reading z(zezor(2, 1, 0, "3.0", "0.1") + zezor(-2, -1, 0, "3.0", "0.1"), 0,
            testing::group_p1bar());
  READ_DATA(z.rs());
  ASSERT_EQ(z.list().NSET(), 1);
  const Hkl mate{-2, -1, 0};
  EXPECT_EQ(z.member(1, 2).hkl_read, mate);
  EXPECT_EQ(z.member(1, 2).batch, 0);
  EXPECT_EQ(z.member(1, 2).line, 2u);
}

}  // namespace
}  // namespace vorlane::input
