#include "averaging/calc_rint.hpp"

#include <array>
#include <string_view>
#include <vector>

#include "averaging/rint_sums.hpp"
#include "records/edit_list.hpp"

namespace vorlane::averaging {

namespace {

constexpr std::string_view kHeader =
    R"((/,/," REFLECTION CLASS     ALL REFLECTIONS      ",15X,"GREATER-THANS",23X,)"
    R"("LESS-THANS",/,16X,3("   NREF RINT  RINT2 RSIG  RSIG2",3X)))";
constexpr std::string_view kRow = R"((1X,A15,3(F7.0,4F6.3,3X)))";
constexpr std::string_view kRatio =
    R"((/,/,5X," RATIO OUTPUT SIGMA TO EXTERNAL-SIG1 IS: ",F7.2,/,)"
    R"~(5X," CALCULATED FROM ",I5," SYMMETRY-EQUIVALENT SETS WITH FSQ > ",F4.1," SIG(FSQ)"))~";

// Which sets and members a row of the table takes in.
enum class SetRule { all, inside_2theta, allowed };
enum class MemberRule { all, not_dac_dip, accepted };
enum class Column { all, greater_than, less_than };

bool set_qualifies(const run::EquivSet& set, SetRule rule, Column column) {
  if (set.NEQ < 2) return false;
  switch (rule) {
    case SetRule::all: break;
    case SetRule::inside_2theta:
      if (set.IABS != 0 && set.IABS != 1) return false;
      break;
    case SetRule::allowed:
      if (set.IABS != 0) return false;
      break;
  }
  switch (column) {
    case Column::all: return true;
    case Column::greater_than: return set.IGT == 1;
    case Column::less_than: return set.IGT == 0;
  }
  return true;
}

bool member_qualifies(const run::Member& m, MemberRule rule) {
  switch (rule) {
    case MemberRule::all: return true;
    case MemberRule::not_dac_dip: return m.IREJ != 1;
    case MemberRule::accepted: return m.IREJ == 0;
  }
  return true;
}

// Which sets and members one row of the table takes in.
struct RowRule {
  SetRule sets;
  MemberRule members;
};

// The three columns (all, greater-thans, less-thans) of rows [r0, r1), in one pass over the
// list. Each accumulator still sees its own sets and members in list order, so its sums are
// exactly those of a pass of its own; what a member adds is worked out once per set.
void add_rows(const run::ReflectionList& refl, const std::vector<RowRule>& rows, std::size_t r0,
              std::size_t r1, std::vector<std::array<RintSums, 3>>& table) {
  constexpr Column kColumns[3] = {Column::all, Column::greater_than, Column::less_than};
  // The rows are summed in storage of this call's own and copied back at the end.
  std::vector<std::array<RintSums, 3>> sums(r1 - r0);
  for (std::size_t r = r0; r < r1; ++r) sums[r - r0] = table[r];
  std::array<RintSums*, 3> open{};
  std::vector<MemberTerms> terms;
  // A row whose accumulators have so far had exactly the additions of the row before (all
  // start cleared; the same member rule, and every set entering the same columns of both:
  // e.g. all reflections and those inside the 2theta limits while no set lies outside them)
  // holds the same sums: it is copied instead of summed, until a set enters the two rows
  // differently.
  std::vector<char> as_before(r1 - r0, 0);
  for (std::size_t r = r0 + 1; r < r1; ++r) {
    as_before[r - r0] = rows[r].members == rows[r - 1].members ? 1 : 0;
  }
  for (int i = 1; i <= refl.NSET(); ++i) {
    const run::EquivSet& set = refl.sets[static_cast<std::size_t>(i - 1)];
    if (set.NEQ < 2) continue;
    terms.clear();
    for (int j = 1; j <= set.NEQ; ++j) terms.push_back(member_terms(set, refl.member(set, j)));
    for (std::size_t r = r0; r < r1; ++r) {
      if (as_before[r - r0] != 0) {
        bool same = true;
        for (const Column c : kColumns) {
          same = same && set_qualifies(set, rows[r].sets, c) == set_qualifies(set, rows[r - 1].sets, c);
        }
        if (same) {
          sums[r - r0] = sums[r - r0 - 1];
          continue;
        }
        as_before[r - r0] = 0;
      }
      std::size_t n = 0;
      for (std::size_t c = 0; c < 3; ++c) {
        if (set_qualifies(set, rows[r].sets, kColumns[c])) open[n++] = &sums[r - r0][c];
      }
      // One accumulator at a time, held in a local while the set's members enter it (the
      // order of its additions is the same).
      for (std::size_t a = 0; a < n; ++a) {
        RintSums acc = *open[a];
        RINT_SUMS(acc, refl, RINT_START_SET);
        for (int j = 1; j <= set.NEQ; ++j) {
          if (!member_qualifies(refl.member(set, j), rows[r].members)) continue;
          rint_add_terms(acc, terms[static_cast<std::size_t>(j - 1)]);
        }
        RINT_SUMS(acc, refl, RINT_END_SET);
        *open[a] = acc;
      }
    }
  }
  for (std::size_t r = r0; r < r1; ++r) table[r] = sums[r - r0];
}

// Every row's sums, in one pass on this thread (a run works out its statistics and figures
// on others meanwhile).
std::vector<std::array<RintSums, 3>> table_sums(const run::ReflectionList& refl,
                                                const std::vector<RowRule>& rows) {
  std::vector<std::array<RintSums, 3>> sums(rows.size());
  for (auto& row : sums)
    for (auto& acc : row) RINT_SUMS(acc, refl, RINT_CLEAR);
  add_rows(refl, rows, 0, rows.size(), sums);
  for (auto& row : sums)
    for (auto& acc : row) RINT_SUMS(acc, refl, RINT_FINISH);
  return sums;
}

}  // namespace

void CALC_RINT(run::RunState& rs) {
  const auto& refl = rs.refl;
  const auto& ctl = rs.ctl;
  auto& prt = rs.files.print;
  prt.put(records::EditList(kHeader));

  struct Row {
    std::string_view label;
    RowRule rule;
  };
  std::vector<Row> rows = {{"All Reflections", {SetRule::all, MemberRule::all}},
                           {"Inside 2theta  ", {SetRule::inside_2theta, MemberRule::all}}};
  if (ctl.IABSENT != 3) rows.push_back({"Sp Gp allowed  ", {SetRule::allowed, MemberRule::all}});
  if (ctl.IREJMODE == 2 || ctl.IREJMODE == 3) {
    rows.push_back({"Passed DAC dip ", {SetRule::allowed, MemberRule::not_dac_dip}});
  }
  rows.push_back({"Unrejected     ", {SetRule::allowed, MemberRule::accepted}});

  std::vector<RowRule> rules;
  for (const Row& r : rows) rules.push_back(r.rule);
  const auto sums = table_sums(refl, rules);
  rs.res.RINT_ALL = sums[0][0].RINT;
  rs.res.RSIG_ALL = sums[0][0].RSIG;

  const records::EditList row(kRow);
  for (std::size_t r = 0; r < rows.size(); ++r) {
    const RintSums& all = sums[r][0];
    const RintSums& gt = sums[r][1];
    const RintSums& lt = sums[r][2];
    prt.put(row, rows[r].label,
            static_cast<float>(all.NREF), all.RINT, all.RINT2, all.RSIG, all.RSIG2,
            static_cast<float>(gt.NREF), gt.RINT, gt.RINT2, gt.RSIG, gt.RSIG2,
            static_cast<float>(lt.NREF), lt.RINT, lt.RINT2, lt.RSIG, lt.RSIG2);
  }

  prt.put(records::EditList(kRatio), rs.res.RATIO, rs.res.NRATIO, ctl.LTHRESH);
}

}  // namespace vorlane::averaging
