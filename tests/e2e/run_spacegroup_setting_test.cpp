// Whole runs with SPACEGROUP: a real C 1 2/c 1 data set reduced in its own setting and,
// with b and c exchanged (cell and indices), as B 1 1 2/b, whose asymmetric unit is built
// for unique axis c; the CIF fragment's space-group items; and chiral data with Friedel mates
// merged, which is a note and no warning when the group is named.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <sstream>

#include "e2e/e2e_run.hpp"
#include "support/test_support.hpp"

namespace vorlane::testing {
namespace {

const std::string kRealdata = std::string(VORLANE_TEST_DATA) + "/realdata/";
const std::string kExample = std::string(VORLANE_SOURCE_DIR) + "/examples/sh2185/";

using Index = std::array<int, 3>;

// The SHELX records of `text` with k and l exchanged (h, k, l in 3I4 at the start).
std::string swap_k_and_l(const std::string& text) {
  std::string out;
  for (const std::string& line : split_lines(text)) {
    if (line.size() < 12) {
      out += line + "\n";
      continue;
    }
    out += line.substr(0, 4) + line.substr(8, 4) + line.substr(4, 4) + line.substr(12) + "\n";
  }
  return out;
}

// An output record with its indices replaced by the largest of their 2/m (unique axis b)
// equivalents, so that two runs that chose different representatives on the boundary of the
// asymmetric unit can be compared record by record. `swap` reads the record's indices with k
// and l exchanged first.
std::string canonical(const std::string& line, bool swap) {
  std::istringstream in(line.substr(0, 12));
  Index h{};
  in >> h[0] >> h[1] >> h[2];
  if (swap) std::swap(h[1], h[2]);
  const std::array<Index, 4> orbit{
      {h, {-h[0], h[1], -h[2]}, {-h[0], -h[1], -h[2]}, {h[0], -h[1], h[2]}}};
  const Index best = *std::max_element(orbit.begin(), orbit.end());
  return rj(std::to_string(best[0]), 4) + rj(std::to_string(best[1]), 4) +
         rj(std::to_string(best[2]), 4) + line.substr(12);
}

std::vector<std::string> canonical_lines(const std::vector<std::string>& lines, bool swap) {
  std::vector<std::string> out;
  for (const std::string& l : lines) out.push_back(canonical(l, swap));
  std::sort(out.begin(), out.end());
  return out;
}

// The value of a CIF item line ("name   value"), or "" when the item is missing.
std::string cif_value(const std::vector<std::string>& cif, const std::string& name) {
  for (const std::string& l : cif)
    if (l.rfind(name + " ", 0) == 0) {
      const auto v = l.find_first_not_of(' ', name.size());
      return v == std::string::npos ? std::string() : l.substr(v);
    }
  return {};
}

TEST(RunSpaceGroupSetting, UniqueAxisCGivesTheSameReductionAsUniqueAxisB) {
  E2eRun r("sgsetting");
  const std::string hkl = read_text_file(kRealdata + "cod1552546_c2c_ag.hkl");
  const std::string head = "TITLE  cod1552546_c2c_ag\nWAVEL 1 0.56086\n";
  // The published setting by its cards (the set's own experiment file), by its name, and
  // with b and c exchanged.
  r.write("cards.exp", read_text_file(kRealdata + "cod1552546_c2c_ag.exp"));
  r.write("b.exp", head + "CELL  5.18750 9.0047 20.0217 90 95.7520 90\nVORLAN SPACEGROUP C 2/c\n");
  r.write("c.exp", head + "CELL  5.18750 20.0217 9.0047 90 90 95.7520\n"
                          "VORLAN SPACEGROUP B 1 1 2/b\n");
  r.write("b.hkl", hkl);
  r.write("c.hkl", swap_k_and_l(hkl));
  for (const std::string run : {"cards", "b", "c"}) {
    const std::string in = run == "cards" ? "b.hkl" : run + ".hkl";
    const auto res = r.run("--sigma-ratio keep " + run + ".exp " + run + ".prt " + in + " " + run +
                           "_out.hkl");
    ASSERT_EQ(res.status, 0) << run << "\n" << res.err;
    EXPECT_EQ(res.err.find("WARNING"), std::string::npos) << run << "\n" << res.err;
  }
  // The asymmetric unit of unique axis c, as the print file lists it: h >= 0, l >= 0.
  const auto c_print = r.lines("c.prt");
  const std::size_t unit = find_line(c_print, "Asymmetric unit for averaging:");
  ASSERT_LT(unit + 3, c_print.size());
  EXPECT_EQ(c_print[unit + 2], "   h          >=  0");
  EXPECT_EQ(c_print[unit + 3], "         +   l>=  0");

  // The same sets with the same averages and sigmas, record by record.
  const auto b_out = r.lines("b_out.hkl");
  const auto c_out = r.lines("c_out.hkl");
  ASSERT_GT(b_out.size(), 1400u);
  EXPECT_EQ(canonical_lines(c_out, true), canonical_lines(b_out, false));

  // The CIF fragments: the figures agree; the named runs add the group's items, and the run
  // from cards keeps its fragment as it was, which is the named run's without them.
  const auto cards_cif = r.lines("cards_out_vorlane.cif");
  const auto b_cif = r.lines("b_out_vorlane.cif");
  const auto c_cif = r.lines("c_out_vorlane.cif");
  EXPECT_EQ(cif_value(cards_cif, "_space_group_IT_number"), "");
  ASSERT_GT(b_cif.size(), cards_cif.size());
  EXPECT_TRUE(std::equal(cards_cif.begin(), cards_cif.end(), b_cif.begin()));
  for (const std::string item : {"_diffrn_reflns_av_R_equivalents", "_diffrn_reflns_av_unetI/netI",
                                 "_reflns_number_total", "_reflns_number_gt",
                                 "_diffrn_reflns_number", "_diffrn_reflns_theta_max",
                                 "_diffrn_measured_fraction_theta_max",
                                 "_diffrn_reflns_Laue_measured_fraction_max",
                                 "_diffrn_reflns_point_group_measured_fraction_full"}) {
    EXPECT_EQ(cif_value(c_cif, item), cif_value(b_cif, item)) << item;
    EXPECT_NE(cif_value(b_cif, item), "") << item;
  }
  const std::map<std::string, std::pair<std::string, std::string>> group_items{
      {"_space_group_crystal_system", {"monoclinic", "monoclinic"}},
      {"_space_group_IT_number", {"15", "15"}},
      {"_space_group_name_H-M_alt", {"'C 1 2/c 1'", "'B 1 1 2/b'"}},
  };
  for (const auto& [item, values] : group_items) {
    EXPECT_EQ(cif_value(b_cif, item), values.first) << item;
    EXPECT_EQ(cif_value(c_cif, item), values.second) << item;
  }
  // The operations as gemmi 0.5.7's Python module lists them for B 1 1 2/b.
  const auto loop = lines_from(c_cif, "loop_", 11);
  const std::vector<std::string> expected_loop{
      "loop_", " _space_group_symop_id", " _space_group_symop_operation_xyz",
      " 1 'x,y,z'", " 2 '-x,-y+1/2,z'", " 3 '-x,-y,-z'", " 4 'x,y+1/2,-z'",
      " 5 'x+1/2,y,z+1/2'", " 6 '-x+1/2,-y+1/2,z+1/2'", " 7 '-x+1/2,-y,-z+1/2'",
      " 8 'x+1/2,y+1/2,-z+1/2'"};
  EXPECT_EQ(loop, expected_loop);
}

TEST(RunSpaceGroupSetting, FriedelMatesMergedInANamedChiralGroupAreANote) {
  E2eRun r("sgfriedel");
  r.write("d.hkl", read_text_file(kExample + "sh2185.hkl"));
  const std::string head = "TITLE  sh2185\nCELL  7.71920 11.06720 20.9366 90 90 90\nWAVEL 1 1.54184\n";
  struct Case {
    std::string name, cards, args;
    bool note;       // the note (true) or the old warning (false)
    bool swapped;    // any reflection sent to its Friedel mate
  };
  const std::vector<Case> cases{
      {"named", "VORLAN SPACEGROUP P 21 21 21\n", "", true, true},
      {"spaced", "VORLAN SPACEGROUP P 2 1 2 1 2 1\n", "", true, true},
      {"cards",
       "VORLAN SYMOP -X+1/2,-Y,Z+1/2\nVORLAN SYMOP X+1/2,-Y+1/2,-Z\n"
       "VORLAN UNITIN    1    0    0    0\nVORLAN UNITIN    0    1    0    0\n"
       "VORLAN UNITIN    0    0    1    0\n",
       "", false, true},
      {"kept", "VORLAN SPACEGROUP P 21 21 21\n", "--friedel keep ", false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    r.write(c.name + ".exp", head + c.cards);
    const auto res =
        r.run("--sigma-ratio keep " + c.args + c.name + ".exp " + c.name + ".prt d.hkl " +
              c.name + ".hkl");
    ASSERT_EQ(res.status, 0) << res.err;
    const std::string print = read_text_file(r.dir + "/" + c.name + ".prt");
    const bool warned = res.err.find("Reflections transformed to Friedel mates. Check "
                                     "consistency of UNITIN and SYMOP cards") != std::string::npos;
    const auto note_at = res.out.find("  Note: ");
    EXPECT_EQ(warned, c.swapped && !c.note) << res.err;
    EXPECT_EQ(note_at != std::string::npos, c.note) << res.out;
    EXPECT_EQ(print.find("****NOTE:") != std::string::npos, c.note);
    EXPECT_EQ(print.find("****WARNING:") != std::string::npos, c.swapped && !c.note);
    EXPECT_EQ(print.find("The following input hkl's swapped to Friedel mates:") != std::string::npos,
              c.swapped);
    if (c.note) {
      const std::string note = res.out.substr(note_at, res.out.find('\n', note_at) - note_at);
      EXPECT_NE(note.find(" reflections were merged with their Friedel mates as equivalents (P 21 "
                          "21 21 is non-centrosymmetric and Friedel mates are merged). To keep "
                          "Friedel mates apart give VORLAN FRIEDEL NOFLIP or --friedel keep"),
                std::string::npos)
          << note;
      // The count is that of the reflections listed as swapped.
      const int count = std::stoi(note.substr(8));
      const auto lines = split_lines(print);
      const std::size_t heading = find_line(lines, "swapped to Friedel mates:");
      ASSERT_LT(heading, lines.size());
      EXPECT_GT(count, 1000);
      EXPECT_EQ(print.find(std::to_string(count) + " reflections were merged") != std::string::npos,
                true);
    }
  }
}

}  // namespace
}  // namespace vorlane::testing
