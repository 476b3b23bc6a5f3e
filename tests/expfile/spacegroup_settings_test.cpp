// SPACEGROUP in every setting of gemmi's table but rhombohedral axes, against gemmi itself
// (tests/data/symmetry/settings.txt, made by tools/gemmi/make_setting_reference.py): the
// group's order, centrosymmetry and absences, and the asymmetric unit: every reflection of
// a sample has exactly one representative, inside the unit; all its equivalents (and their
// Friedel mates) share it; reflections gemmi puts in different classes get different ones;
// and the representative is an image of gemmi's own representative, in the unit's own
// convention.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <sstream>

#include "expfile/exp_reading.hpp"
#include "expfile/laue_classes.hpp"
#include "expfile/laue_of_group.hpp"
#include "run/run_state.hpp"
#include "symmetry/absences.hpp"
#include "symmetry/asind.hpp"
#include "symmetry/inbox.hpp"
#include "symmetry/representative_search.hpp"
#include "symmetry/syminv.hpp"
#include "support/test_support.hpp"
#include "symmetry_cards_test_helpers.hpp"

namespace vorlane::expfile {
namespace {

using Index = std::array<int, 3>;
using symtest::MemoryPrint;

struct Sampled {
  Index h, rep;  // rep: gemmi's representative
  bool absent;
};

struct Setting {
  int number = 0;
  std::string xhm;  // blanks as written by gemmi
  int order = 0;
  int centric = 0;
  std::string system;
  std::vector<std::array<int, 9>> rotations;  // row by row, acting on positions
  std::vector<Sampled> sample;
};

std::vector<Setting> read_settings() {
  const std::string path = std::string(VORLANE_TEST_DATA) + "/symmetry/settings.txt";
  std::ifstream in(path);
  if (!in) throw std::runtime_error("cannot read " + path);
  std::vector<Setting> out;
  for (std::string line; std::getline(in, line);) {
    std::istringstream ls(line);
    std::string tag, w;
    ls >> tag;
    if (tag == "setting") {
      Setting s;
      ls >> s.number >> s.xhm >> w >> s.order >> w >> s.centric >> w >> s.system;
      std::replace(s.xhm.begin(), s.xhm.end(), '_', ' ');
      out.push_back(s);
    } else if (tag == "rot") {
      for (std::array<int, 9> r; ls >> r[0] >> r[1] >> r[2] >> r[3] >> r[4] >> r[5] >> r[6] >> r[7] >> r[8];)
        out.back().rotations.push_back(r);
    } else if (tag == "refl") {
      for (Sampled s; ls >> s.h[0] >> s.h[1] >> s.h[2] >> s.rep[0] >> s.rep[1] >> s.rep[2];) {
        int a = 0;
        ls >> a;
        s.absent = a != 0;
        out.back().sample.push_back(s);
      }
    }
  }
  return out;
}

const std::vector<Setting>& settings() {
  static const std::vector<Setting> s = read_settings();
  return s;
}

// h·R: the equivalent of h under the position rotation R.
Index times(const Index& h, const std::array<int, 9>& r) {
  return {h[0] * r[0] + h[1] * r[3] + h[2] * r[6], h[0] * r[1] + h[1] * r[4] + h[2] * r[7],
          h[0] * r[2] + h[1] * r[5] + h[2] * r[8]};
}

// Every equivalent of h and of its Friedel mate under the reference rotations.
std::vector<Index> orbit(const Setting& s, const Index& h) {
  std::vector<Index> o;
  for (const auto& r : s.rotations) {
    const Index e = times(h, r);
    o.push_back(e);
    o.push_back({-e[0], -e[1], -e[2]});
  }
  return o;
}

// The group of a SPACEGROUP card with `text`, finished as the experiment-file reader finishes
// it, in reflection form.
struct CardGroup {
  run::RunState rs;
  std::vector<std::string> print;
  explicit CardGroup(const std::string& text) {
    INITSYM(rs.sg);
    ExpReading rd;
    rd.line = 1;
    int column = 0;
    rd.card = symtest::card("SPACEGROUP", " " + text, column);
    read_spacegroup_card(rs, rd, column);
    if (rs.msg.IHALT != 0) return;
    MemoryPrint mp;
    SYMOP_EXP(rs.sg, mp.prt);
    symmetry::SYMINV(rs.sg, 2, mp.prt);
    print = mp.lines();
  }
};

TEST(SpaceGroupSettings, ReferenceHoldsEverySettingButRhombohedralAxes) {
  // gemmi 0.5.7 lists 559 settings, 7 of them in rhombohedral axes.
  ASSERT_EQ(settings().size(), 552u);
  int unique_a = 0, unique_c = 0;
  for (const Setting& s : settings()) {
    ASSERT_EQ(s.sample.size(), 30u) << s.xhm;
    ASSERT_FALSE(s.rotations.empty()) << s.xhm;
    if (s.system == "monoclinic" && s.xhm.rfind(" 1 1", 1) == 1) ++unique_c;
    if (s.system == "monoclinic" && s.xhm.size() > 2 && s.xhm.substr(s.xhm.size() - 4) == " 1 1") ++unique_a;
  }
  EXPECT_GT(unique_a, 20);
  EXPECT_GT(unique_c, 20);
}

TEST(SpaceGroupSettings, EverySettingIsReadAndPartitionsLikeGemmi) {
  for (const Setting& s : settings()) {
    SCOPED_TRACE(s.xhm);
    CardGroup g(s.xhm);
    ASSERT_EQ(g.rs.msg.IHALT, 0) << g.rs.msg.ERRMSG;
    const symmetry::SpaceGroup& sg = g.rs.sg;
    EXPECT_EQ(g.rs.ctl.space_group_name, s.xhm);
    EXPECT_EQ(g.rs.ctl.space_group_number, s.number);
    EXPECT_EQ(sg.NSYMOP * sg.NCENVEC, s.order);
    EXPECT_EQ(sg.ICENTRIC, s.centric + 1);
    EXPECT_GT(sg.NPLANE, 0);

    const symmetry::RepresentativeSearch search(sg);
    std::map<Index, Index> ours_of_gemmi;  // gemmi's representative -> ours
    std::map<Index, Index> gemmi_of_ours;
    for (const Sampled& r : s.sample) {
      const std::array<float, 3> hf{static_cast<float>(r.h[0]), static_cast<float>(r.h[1]),
                                    static_cast<float>(r.h[2])};
      EXPECT_EQ(symmetry::ISPABS(sg, hf) + symmetry::LATABS(sg, hf) != 2, r.absent)
          << r.h[0] << " " << r.h[1] << " " << r.h[2];
      Index k{};
      int isym = 0;
      symmetry::ASIND(sg, r.h, k, isym);
      ASSERT_NE(isym, 0) << r.h[0] << " " << r.h[1] << " " << r.h[2];
      EXPECT_GE(symmetry::INBOX(sg, k), 0);
      Index k_fast{};
      int isym_fast = 0;
      search.find(r.h, k_fast, isym_fast);
      EXPECT_EQ(k_fast, k);
      EXPECT_EQ(isym_fast, isym);
      // Every equivalent, and every Friedel mate of one, has the same representative.
      for (const Index& e : orbit(s, r.h)) {
        Index ke{};
        int ie = 0;
        symmetry::ASIND(sg, e, ke, ie);
        EXPECT_EQ(ke, k) << "equivalent " << e[0] << " " << e[1] << " " << e[2] << " of "
                         << r.h[0] << " " << r.h[1] << " " << r.h[2];
      }
      // Ours is an image of gemmi's, and the two are one-to-one over the sample.
      const std::vector<Index> of_gemmi = orbit(s, r.rep);
      EXPECT_NE(std::find(of_gemmi.begin(), of_gemmi.end(), k), of_gemmi.end())
          << "ours " << k[0] << " " << k[1] << " " << k[2] << ", gemmi's " << r.rep[0] << " "
          << r.rep[1] << " " << r.rep[2];
      EXPECT_EQ(ours_of_gemmi.emplace(r.rep, k).first->second, k);
      EXPECT_EQ(gemmi_of_ours.emplace(k, r.rep).first->second, r.rep);
    }
  }
}

// Centrosymmetric exactly when cctbx says so (tests/data/symmetry/centric_cctbx.txt, made by
// tools/cctbx/make_centric_reference.py), origin choice 1 included: there the operators are
// paired after the origin is moved to the centre of symmetry, and the print file says where
// it went. (The partition test above holds for the moved operators too.)
TEST(SpaceGroupSettings, CentrosymmetricAsCctbxFindsIt) {
  int settings = 0, moved = 0;
  for (const auto& [xhm, is_centric] : testing::centric_reference()) {
    const int centric = is_centric ? 1 : 0;
    CardGroup g(xhm);
    ASSERT_EQ(g.rs.msg.IHALT, 0) << xhm;
    ++settings;
    EXPECT_EQ(g.rs.sg.ICENTRIC, centric + 1) << xhm;
    const std::string verdict =
        centric == 1 ? "centrosymmetric space group" : "non-centrosymmetric space group";
    EXPECT_NE(std::find(g.print.begin(), g.print.end(), verdict), g.print.end()) << xhm;
    const bool shifted = std::any_of(g.print.begin(), g.print.end(), [](const std::string& l) {
      return l.rfind("origin moved to the centre of symmetry at", 0) == 0;
    });
    EXPECT_EQ(shifted, centric == 1 && xhm.substr(xhm.size() - 2) == ":1") << xhm;
    moved += shifted ? 1 : 0;
  }
  EXPECT_EQ(settings, 552);
  EXPECT_EQ(moved, 33);  // origin choice 1 of the 24 groups with two origins, in all their axes
  CardGroup pnnn("P n n n:1");
  EXPECT_NE(std::find(pnnn.print.begin(), pnnn.print.end(),
                      "origin moved to the centre of symmetry at  0.2500  0.2500  0.2500"),
            pnnn.print.end());
}

TEST(SpaceGroupSettings, MonoclinicPlanesFollowTheUniqueAxis) {
  struct Case {
    std::string text;
    int number;
    std::vector<std::array<int, 4>> planes;
  };
  // The table's 2/m planes h >= 0, k >= 0 (unique axis b): the unique index and the index of
  // the first other axis not negative.
  const std::vector<Case> cases{
      {"P 1 21/c 1", 14, {{1, 0, 0, 0}, {0, 1, 0, 0}}},
      {"P 1 1 21/b", 14, {{1, 0, 0, 0}, {0, 0, 1, 0}}},
      {"P 1 1 21/n", 14, {{1, 0, 0, 0}, {0, 0, 1, 0}}},
      {"P 21/b 1 1", 14, {{0, 1, 0, 0}, {1, 0, 0, 0}}},
      {"B 1 1 2", 5, {{1, 0, 0, 0}, {0, 0, 1, 0}}},
      {"C 2/c 1 1", 15, {{0, 1, 0, 0}, {1, 0, 0, 0}}},
      {"P 1 1 m", 6, {{1, 0, 0, 0}, {0, 0, 1, 0}}},
      {"P b c a", 61, {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    CardGroup g(c.text);
    ASSERT_EQ(g.rs.msg.IHALT, 0) << g.rs.msg.ERRMSG;
    EXPECT_EQ(g.rs.ctl.space_group_number, c.number);
    ASSERT_EQ(g.rs.sg.NPLANE, static_cast<int>(c.planes.size()));
    for (std::size_t j = 0; j < c.planes.size(); ++j) EXPECT_EQ(g.rs.sg.IPLANE[j], c.planes[j]);
  }
}

TEST(SpaceGroupSettings, LaueSettingOfPermutedAxes) {
  // The table's planes carried by a permutation: index i of the group is index axes[i] of
  // the table.
  struct Case {
    std::array<int, 3> axes;
    std::array<int, 4> plane, expected;
  };
  const std::vector<Case> cases{
      {{0, 1, 2}, {1, -1, 0, 0}, {1, -1, 0, 0}},
      {{0, 2, 1}, {0, 1, 0, 0}, {0, 0, 1, 0}},
      {{1, 0, 2}, {1, 0, 0, 0}, {0, 1, 0, 0}},
      {{2, 0, 1}, {1, 0, -1, 2}, {-1, 1, 0, 2}},
  };
  for (const Case& c : cases) {
    LaueSetting s;
    s.row = 2;
    s.axes = c.axes;
    EXPECT_EQ(plane_in_setting(c.plane, s), c.expected);
  }
}

TEST(SpaceGroupSettings, BlanksInsideTheSymbol) {
  struct Case {
    std::string text;
    std::string name;  // the table entry taken; empty: the run stops
  };
  const std::vector<Case> cases{
      {"P 21 /c", "P 1 21/c 1"},      {"P 21/ c", "P 1 21/c 1"},   {"P 2 1/c", "P 1 21/c 1"},
      {"p 21 / n", "P 1 21/n 1"},     {"C 2 /c", "C 1 2/c 1"},     {"P 1 1 21 /b", "P 1 1 21/b"},
      {"P 2 1 2 1 2 1", "P 21 21 21"}, {"F d - 3 m", "F d -3 m:2"}, {"P 4 2/n", "P 42/n:2"},
      {"P 21/q", ""},                 {"1 4", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    CardGroup g(c.text);
    EXPECT_EQ(g.rs.msg.IHALT != 0, c.name.empty()) << g.rs.msg.ERRMSG;
    EXPECT_EQ(g.rs.ctl.space_group_name, c.name);
  }
}

TEST(SpaceGroupSettings, RhombohedralAxesStayRefused) {
  for (const std::string text : {"R 3:R", "R -3 c:R", "r32:r"}) {
    SCOPED_TRACE(text);
    CardGroup g(text);
    EXPECT_EQ(g.rs.msg.IHALT, 1);
    EXPECT_NE(g.rs.msg.ERRMSG.find("IS IN RHOMBOHEDRAL AXES"), std::string::npos);
  }
}

}  // namespace
}  // namespace vorlane::expfile
