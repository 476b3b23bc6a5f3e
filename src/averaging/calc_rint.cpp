#include "averaging/calc_rint.hpp"

#include <string_view>

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

RintSums one_pass(const run::ReflectionList& refl, SetRule sets, MemberRule members,
                  Column column) {
  RintSums acc;
  RINT_SUMS(acc, refl, RINT_CLEAR);
  for (int i = 1; i <= refl.NSET(); ++i) {
    const run::EquivSet& set = refl.sets[static_cast<std::size_t>(i - 1)];
    if (!set_qualifies(set, sets, column)) continue;
    RINT_SUMS(acc, refl, RINT_START_SET);
    for (int j = 1; j <= set.NEQ; ++j) {
      if (member_qualifies(refl.member(set, j), members)) RINT_SUMS(acc, refl, RINT_ADD_MEMBER, i, j);
    }
    RINT_SUMS(acc, refl, RINT_END_SET);
  }
  RINT_SUMS(acc, refl, RINT_FINISH);
  return acc;
}

}  // namespace

void CALC_RINT(run::RunState& rs) {
  const auto& refl = rs.refl;
  const auto& ctl = rs.ctl;
  auto& prt = rs.files.print;
  prt.put(records::EditList(kHeader));

  const records::EditList row(kRow);
  auto print_row = [&](std::string_view label, SetRule sets, MemberRule members,
                       bool keep_for_cif) {
    const RintSums all = one_pass(refl, sets, members, Column::all);
    if (keep_for_cif) {
      rs.res.RINT_ALL = all.RINT;
      rs.res.RSIG_ALL = all.RSIG;
    }
    const RintSums gt = one_pass(refl, sets, members, Column::greater_than);
    const RintSums lt = one_pass(refl, sets, members, Column::less_than);
    prt.put(row, label,
            static_cast<float>(all.NREF), all.RINT, all.RINT2, all.RSIG, all.RSIG2,
            static_cast<float>(gt.NREF), gt.RINT, gt.RINT2, gt.RSIG, gt.RSIG2,
            static_cast<float>(lt.NREF), lt.RINT, lt.RINT2, lt.RSIG, lt.RSIG2);
  };

  print_row("All Reflections", SetRule::all, MemberRule::all, true);
  print_row("Inside 2theta  ", SetRule::inside_2theta, MemberRule::all, false);
  if (ctl.IABSENT != 3) print_row("Sp Gp allowed  ", SetRule::allowed, MemberRule::all, false);
  if (ctl.IREJMODE == 2 || ctl.IREJMODE == 3) {
    print_row("Passed DAC dip ", SetRule::allowed, MemberRule::not_dac_dip, false);
  }
  print_row("Unrejected     ", SetRule::allowed, MemberRule::accepted, false);

  prt.put(records::EditList(kRatio), rs.res.RATIO, rs.res.NRATIO, ctl.LTHRESH);
}

}  // namespace vorlane::averaging
