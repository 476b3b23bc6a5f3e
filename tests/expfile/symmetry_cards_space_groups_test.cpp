// Every space group and Laue class against gemmi's tables (tests/data/symmetry, made by
// tools/gemmi/make_symmetry_reference.py): group order, centrosymmetry, systematic absences
// and the partition of reflections into equivalence classes by ASIND.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "expfile/exp_reading.hpp"
#include "expfile/laue_classes.hpp"
#include "run/run_state.hpp"
#include "symmetry/absences.hpp"
#include "averaging/complete_set.hpp"
#include "symmetry/asind.hpp"
#include "symmetry/reflection_image.hpp"
#include "symmetry/representative_search.hpp"
#include "symmetry/syminv.hpp"
#include "symmetry_cards_test_helpers.hpp"

namespace vorlane::expfile {
namespace {

using Index = std::array<int, 3>;
using symtest::MemoryPrint;
using symtest::ReferenceGroup;

const std::string DATA = std::string(VORLANE_TEST_DATA) + "/symmetry/";

const std::vector<ReferenceGroup>& groups() {
  static const std::vector<ReferenceGroup> g = symtest::read_reference_groups(DATA + "space_groups.txt");
  return g;
}
const std::vector<std::vector<int>>& laue_orbits() {
  static const std::vector<std::vector<int>> o = symtest::read_laue_orbits(DATA + "laue_orbits.txt");
  return o;
}

// Checks that ASIND maps the box onto one representative per reference class: members of a
// class share the representative, different classes have different ones, the representative
// lies in the unit and is an image of the reflection (or of its Friedel mate).
::testing::AssertionResult partitions(const symmetry::SpaceGroup& sg, const std::vector<int>& labels) {
  std::map<int, Index> rep_of_label;
  std::map<Index, int> label_of_rep;
  int wrong = 0;
  std::ostringstream first;
  const std::size_t n = static_cast<std::size_t>(symtest::SIDE * symtest::SIDE * symtest::SIDE);
  if (labels.size() != n) return ::testing::AssertionFailure() << "reference has " << labels.size();
  for (std::size_t i = 0; i < n; ++i) {
    const Index h = symtest::triple(i);
    Index k{};
    int isym = 0;
    symmetry::ASIND(sg, h, k, isym);
    bool ok = isym != 0 && symmetry::INBOX(sg, k) >= 0;
    if (ok) {
      const int m = isym > 0 ? isym : -isym;
      Index img = symmetry::reflection_image(sg, m, h);
      if (isym < 0) img = {-img[0], -img[1], -img[2]};
      ok = img == k;
    }
    const auto [itl, new_label] = rep_of_label.emplace(labels[i], k);
    const auto [itr, new_rep] = label_of_rep.emplace(k, labels[i]);
    ok = ok && itl->second == k && itr->second == labels[i];
    if (!ok) {
      if (wrong++ == 0) {
        first << "(" << h[0] << "," << h[1] << "," << h[2] << ") -> (" << k[0] << "," << k[1]
              << "," << k[2] << ") isym " << isym << ", class representative ("
              << itl->second[0] << "," << itl->second[1] << "," << itl->second[2] << ")";
      }
    }
  }
  if (wrong == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << wrong << " reflections wrong, first " << first.str();
}

// With Friedel mates kept apart, the reader negates a representative reached from the Friedel
// mate (ISYM < 0). Those signed representatives must still be one per point-group class:
// every image h·R of h gets the same one. Checked on a smaller box, where all images are.
::testing::AssertionResult friedel_signs_consistent(const symmetry::SpaceGroup& sg) {
  const auto signed_rep = [&sg](const Index& h) {
    Index k{};
    int isym = 0;
    symmetry::ASIND(sg, h, k, isym);
    return isym < 0 ? Index{-k[0], -k[1], -k[2]} : k;
  };
  for (int a = -3; a <= 3; ++a)
    for (int b = -3; b <= 3; ++b)
      for (int c = -3; c <= 3; ++c) {
        const Index h{a, b, c};
        const Index ref = signed_rep(h);
        for (int m = 2; m <= sg.NSYMOP; ++m) {
          const Index img = symmetry::reflection_image(sg, m, h);
          if (signed_rep(img) != ref) {
            return ::testing::AssertionFailure()
                   << "(" << a << "," << b << "," << c << ") and its image under operator " << m;
          }
        }
      }
  return ::testing::AssertionSuccess();
}

TEST(SymmetryCardsSpaceGroups, ReferenceDataIsComplete) {
  ASSERT_EQ(groups().size(), 230u);
  ASSERT_EQ(laue_orbits().size(), 12u);
  for (const auto& o : laue_orbits()) EXPECT_EQ(o.size(), 17u * 17u * 17u);
}

TEST(SymmetryCardsSpaceGroups, OrderCentrosymmetryAndAbsences) {
  for (const ReferenceGroup& g : groups()) {
    SCOPED_TRACE(std::to_string(g.number) + " " + g.name);
    symmetry::SpaceGroup sg;
    INITSYM(sg);
    for (const std::string& op : g.ops) symtest::symop(sg, op);
    MemoryPrint mp;
    SYMOP_EXP(sg, mp.prt);
    EXPECT_EQ(sg.NSYMOP * sg.NCENVEC, g.order);
    EXPECT_EQ(sg.ICENTRIC, g.centric + 1);
    const auto lines = mp.lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], g.centric ? "centrosymmetric space group" : "non-centrosymmetric space group");
    // The run uses the reflection form; the position form gives other numbers only for the
    // non-orthogonal matrices of the trigonal and hexagonal groups.
    const bool hexagonal = g.number >= 143 && g.number <= 194;
    for (int mode : {2, 1}) {
      if (mode == 1 && !hexagonal) break;
      symmetry::SYMINV(sg, mode, mp.prt);
      int wrong = 0;
      for (std::size_t i = 0; i < 17u * 17u * 17u; ++i) {
        const Index h = symtest::triple(i);
        const std::array<float, 3> hf{static_cast<float>(h[0]), static_cast<float>(h[1]),
                                      static_cast<float>(h[2])};
        const bool absent = symmetry::ISPABS(sg, hf) + symmetry::LATABS(sg, hf) != 2;
        if (absent != g.absent(i) && wrong++ < 3) {
          ADD_FAILURE() << "mode " << mode << " (" << h[0] << "," << h[1] << "," << h[2]
                        << ") absent " << absent;
        }
      }
    }
  }
}

TEST(SymmetryCardsSpaceGroups, AsindPartitionsLikeTheLaueClass) {
  // ASIND sees only the rotation matrices in table order, ICENTRIC and the planes; groups that
  // build the same table (translations and centring apart) are checked once.
  std::set<std::vector<float>> checked;
  for (const ReferenceGroup& g : groups()) {
    SCOPED_TRACE(std::to_string(g.number) + " " + g.name);
    symmetry::SpaceGroup sg;
    INITSYM(sg);
    for (const std::string& op : g.ops) symtest::symop(sg, op);
    const LaueClass& lc = LAUE_CLASSES.at(static_cast<std::size_t>(g.laue - 1));
    for (const auto& p : lc.planes) {
      if (p != std::array<int, 4>{}) {
        ASSERT_EQ(symtest::unitin(sg, p), 0);
      }
    }
    MemoryPrint mp;
    SYMOP_EXP(sg, mp.prt);
    std::vector<float> key{static_cast<float>(sg.ICENTRIC), static_cast<float>(g.laue)};
    for (int n = 0; n < sg.NSYMOP; ++n) {
      key.insert(key.end(), sg.SYMROT[static_cast<std::size_t>(n)].begin(),
                 sg.SYMROT[static_cast<std::size_t>(n)].end());
    }
    if (!checked.insert(key).second) continue;
    const auto& labels = laue_orbits()[static_cast<std::size_t>(g.laue - 1)];
    EXPECT_TRUE(partitions(sg, labels)) << "position form";
    symmetry::SYMINV(sg, 2, mp.prt);
    EXPECT_TRUE(partitions(sg, labels)) << "reflection form";
    if (sg.ICENTRIC == 1) {
      EXPECT_TRUE(friedel_signs_consistent(sg));
    }
  }
}

TEST(SymmetryCardsSpaceGroups, WholeNumberSearchesGiveWhatAsindAndTheAbsenceTestsGive) {
  // The representative search and the absence test of the reader and the completeness
  // counts work on integer images; every group, in both matrix forms, over the box and a
  // few indices too large for integer images (which take the general path).
  std::vector<Index> triples;
  for (std::size_t i = 0; i < 17u * 17u * 17u; ++i) triples.push_back(symtest::triple(i));
  for (const Index& h : {Index{4095, -17, 3}, Index{-4096, 2, 1}, Index{9999, -999, 5000},
                         Index{0, 0, -4100}, Index{12, 4095, -4095}}) {
    triples.push_back(h);
  }
  run::RunState rs;
  rs.ctl.IABSENT = 1;  // absences tested
  for (const ReferenceGroup& g : groups()) {
    SCOPED_TRACE(std::to_string(g.number) + " " + g.name);
    symmetry::SpaceGroup sg;
    INITSYM(sg);
    for (const std::string& op : g.ops) symtest::symop(sg, op);
    for (const auto& p : LAUE_CLASSES.at(static_cast<std::size_t>(g.laue - 1)).planes) {
      if (p != std::array<int, 4>{}) {
        ASSERT_EQ(symtest::unitin(sg, p), 0);
      }
    }
    MemoryPrint mp;
    SYMOP_EXP(sg, mp.prt);
    for (int form = 1; form <= 2; ++form) {
      if (form == 2) symmetry::SYMINV(sg, 2, mp.prt);
      const symmetry::RepresentativeSearch search(sg);
      const averaging::AbsenceTest absent(rs.ctl, sg);
      int wrong = 0;
      for (const Index& h : triples) {
        Index k{}, k_fast{};
        int isym = 0, isym_fast = 0;
        symmetry::ASIND(sg, h, k, isym);
        search.find(h, k_fast, isym_fast);
        const std::array<float, 3> hf{static_cast<float>(h[0]), static_cast<float>(h[1]),
                                      static_cast<float>(h[2])};
        const bool absent_ref = symmetry::ISPABS(sg, hf) + symmetry::LATABS(sg, hf) != 2;
        if (isym_fast != isym || (isym != 0 && k_fast != k) || absent(h) != absent_ref) {
          if (wrong++ == 0) {
            ADD_FAILURE() << "form " << form << ": (" << h[0] << "," << h[1] << "," << h[2]
                          << ") gives isym " << isym_fast << " for " << isym;
          }
        }
      }
      EXPECT_EQ(wrong, 0) << "form " << form;
    }
  }
}

// The group a SPACEGROUP keyword builds from `text` (the symbol or number as written).
struct SpaceGroupCard {
  run::RunState rs;
  explicit SpaceGroupCard(const std::string& text) {
    INITSYM(rs.sg);
    ExpReading rd;
    rd.line = 1;
    int column = 0;
    rd.card = symtest::card("SPACEGROUP", " " + text, column);
    read_spacegroup_card(rs, rd, column);
  }
};

// What ASIND and the absence tests make of every reflection of the box, for comparing two
// groups: the representative, whether it came from the Friedel mate, and whether it is absent.
std::vector<std::array<int, 5>> classification(symmetry::SpaceGroup sg) {
  MemoryPrint mp;
  SYMOP_EXP(sg, mp.prt);
  symmetry::SYMINV(sg, 2, mp.prt);
  std::vector<std::array<int, 5>> out;
  for (std::size_t i = 0; i < 17u * 17u * 17u; ++i) {
    const Index h = symtest::triple(i);
    Index k{};
    int isym = 0;
    symmetry::ASIND(sg, h, k, isym);
    const std::array<float, 3> hf{static_cast<float>(h[0]), static_cast<float>(h[1]),
                                  static_cast<float>(h[2])};
    const int absent = symmetry::ISPABS(sg, hf) + symmetry::LATABS(sg, hf);
    out.push_back({k[0], k[1], k[2], isym < 0 ? -1 : (isym > 0 ? 1 : 0), absent});
  }
  return out;
}

// The symbol as people type it: no blanks, lower case, no origin or axes suffix (origin
// choice 2 and hexagonal axes are what SPACEGROUP takes then, as the reference does).
std::string typed_symbol(const std::string& reference_name) {
  std::string s;
  for (const char c : reference_name.substr(0, reference_name.find(':')))
    if (c != '_') s += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

TEST(SymmetryCardsSpaceGroups, SpaceGroupKeywordActsAsItsSymopAndUnitinCards) {
  for (const ReferenceGroup& g : groups()) {
    SCOPED_TRACE(std::to_string(g.number) + " " + g.name);
    symmetry::SpaceGroup cards;
    INITSYM(cards);
    for (const std::string& op : g.ops) symtest::symop(cards, op);
    for (const auto& p : LAUE_CLASSES.at(static_cast<std::size_t>(g.laue - 1)).planes) {
      if (p != std::array<int, 4>{}) {
        ASSERT_EQ(symtest::unitin(cards, p), 0);
      }
    }
    const auto expected = classification(cards);
    std::string spaced = g.name;
    std::replace(spaced.begin(), spaced.end(), '_', ' ');
    for (const std::string& text : {std::to_string(g.number), spaced, typed_symbol(g.name)}) {
      SCOPED_TRACE(text);
      SpaceGroupCard sgc(text);
      ASSERT_EQ(sgc.rs.msg.IHALT, 0) << sgc.rs.msg.ERRMSG;
      EXPECT_EQ(sgc.rs.ctl.laue_row, g.laue);
      EXPECT_EQ(sgc.rs.ctl.space_group_number, g.number);
      EXPECT_EQ(sgc.rs.sg.NPLANE, cards.NPLANE);
      EXPECT_TRUE(classification(sgc.rs.sg) == expected);
    }
  }
}

TEST(SymmetryCardsSpaceGroups, SpaceGroupKeywordSettings) {
  struct Case {
    std::string text;
    int number;        // 0: the run stops
    std::string name;  // the table entry taken
  };
  const std::vector<Case> cases{
      {"P 21/n", 14, "P 1 21/n 1"},  {"P21/a", 14, "P 1 21/a 1"},  {"C 2/c", 15, "C 1 2/c 1"},
      {"I 2/a", 15, "I 1 2/a 1"},    {"P n a 21", 33, "P n a 21"},  {"pcab", 61, "P c a b"},
      {"P b c a", 61, "P b c a"},    {"Pnnn", 48, "P n n n:2"},     {"P n n n:1", 48, "P n n n:1"},
      {"Fd-3m", 227, "F d -3 m:2"},  {"R-3c", 167, "R -3 c:H"},     {"R 3:R", 0, ""},
      {"P 1 1 21/b", 14, "P 1 1 21/b"}, {"P 2 1/c", 14, "P 1 21/c 1"}, {"231", 0, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    SpaceGroupCard sgc(c.text);
    EXPECT_EQ(sgc.rs.msg.IHALT != 0, c.number == 0);
    EXPECT_EQ(sgc.rs.ctl.space_group_number, c.number);
    EXPECT_EQ(sgc.rs.ctl.space_group_name, c.name);
  }
  SpaceGroupCard rhombohedral("R 3:R");
  EXPECT_NE(rhombohedral.rs.msg.ERRMSG.find("USE HEXAGONAL AXES"), std::string::npos);
}

TEST(SymmetryCardsSpaceGroups, LaueKeywordPartitions) {
  for (int row = 1; row <= 12; ++row) {
    const LaueClass& lc = LAUE_CLASSES[static_cast<std::size_t>(row - 1)];
    SCOPED_TRACE(std::string(lc.symbol));
    symmetry::SpaceGroup sg;
    INITSYM(sg);
    int column = 0;
    std::string keyword_text = " ";
    keyword_text += lc.symbol;
    const std::string c = symtest::card("LAUE", keyword_text, column);
    int error = 5;
    int lauecls = 0;
    READ_LAUE(sg, c, 80, column, error, lauecls);
    ASSERT_EQ(error, 0);
    EXPECT_EQ(lauecls, row);
    MemoryPrint mp;
    SYMOP_EXP(sg, mp.prt);
    EXPECT_EQ(sg.NSYMOP, lc.operators);
    EXPECT_EQ(sg.ICENTRIC, 2);
    symmetry::SYMINV(sg, 2, mp.prt);
    EXPECT_TRUE(partitions(sg, laue_orbits()[static_cast<std::size_t>(row - 1)]));
  }
}

}  // namespace
}  // namespace vorlane::expfile
