#include "averaging/calc_rint.hpp"

#include <array>
#include <cmath>
#include <span>
#include <string_view>
#include <vector>

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
    case SetRule::not_absent:
      if (set.IABS == 1 || set.IABS == 3) return false;
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

// Four double-precision lanes, each added on its own with IEEE rounding: lane for lane
// what four separate additions give.
using Lanes = double __attribute__((vector_size(32)));

// The running sums of one accumulator while the table is summed: SUMD, SUMI, SUMS and SUMRS
// in the lanes of `sums`, in that order.
struct Running {
  Lanes sums{0.0, 0.0, 0.0, 0.0};
  int NREF = 0;
  int NS = 0;
  double RINT2 = 0.0;
};

// Adds `terms` in order to each accumulator of `accs`, two at a time, each pair's sums held in
// registers while the set's members go by.
void add_terms(std::span<Running* const> accs, std::span<const Lanes> terms) {
  std::size_t a = 0;
  for (; a + 1 < accs.size(); a += 2) {
    Lanes x = accs[a]->sums;
    Lanes y = accs[a + 1]->sums;
    for (const Lanes& t : terms) {
      x += t;
      y += t;
    }
    accs[a]->sums = x;
    accs[a + 1]->sums = y;
  }
  if (a < accs.size()) {
    Lanes x = accs[a]->sums;
    for (const Lanes& t : terms) x += t;
    accs[a]->sums = x;
  }
}

}  // namespace

std::vector<std::array<RintSums, 3>> rint_table_sums(const run::ReflectionList& refl,
                                                     const std::vector<RowRule>& rows) {
  constexpr Column kColumns[3] = {Column::all, Column::greater_than, Column::less_than};
  constexpr int kRules = 3;
  const std::size_t nrows = rows.size();
  std::vector<std::array<Running, 3>> work(nrows);
  // A row whose accumulators have so far had exactly the additions of the row before (all
  // start cleared; the same member rule, and every set entering the same columns of both:
  // e.g. all reflections and those inside the 2theta limits while no set lies outside them)
  // holds the same sums: it is copied instead of summed, until a set enters the two rows
  // differently.
  std::vector<char> as_before(nrows, 0);
  for (std::size_t r = 1; r < nrows; ++r) {
    as_before[r] = rows[r].members == rows[r - 1].members ? 1 : 0;
  }
  std::vector<char> copied(nrows, 0);
  // Per member rule: the set's terms as that rule takes them (a member it leaves out adds +0,
  // which changes none of the sums: each starts at +0 and never becomes -0, the one value an
  // added +0 would change), and the accumulators open for the set.
  std::array<std::vector<Lanes>, kRules> terms;
  std::array<std::vector<Running*>, kRules> open;
  for (const run::EquivSet& set : refl.sets) {
    if (set.NEQ < 2) continue;
    for (auto& o : open) o.clear();
    for (std::size_t r = 0; r < nrows; ++r) {
      copied[r] = 0;
      if (as_before[r] != 0) {
        bool same = true;
        for (const Column c : kColumns) {
          same = same &&
                 set_qualifies(set, rows[r].sets, c) == set_qualifies(set, rows[r - 1].sets, c);
        }
        if (same) {
          copied[r] = 1;
          continue;
        }
        as_before[r] = 0;
      }
      for (std::size_t c = 0; c < 3; ++c) {
        if (set_qualifies(set, rows[r].sets, kColumns[c])) {
          open[static_cast<std::size_t>(rows[r].members)].push_back(&work[r][c]);
        }
      }
    }
    // What each member adds (mode 2): |FSQ - FAVE|, FSQ, SIGFSQ and, when |FSQ| > 0.001,
    // SIGFSQ / FSQ (else +0).
    const auto neq = static_cast<std::size_t>(set.NEQ);
    for (int rule = 0; rule < kRules; ++rule) {
      if (!open[static_cast<std::size_t>(rule)].empty()) {
        terms[static_cast<std::size_t>(rule)].resize(neq);
      }
    }
    std::array<int, kRules> count{};
    for (std::size_t j = 0; j < neq; ++j) {
      const run::Member& m = refl.member(set, static_cast<int>(j) + 1);
      const MemberTerms mt = member_terms(set, m);
      const Lanes t{mt.d, mt.fsq, mt.sig, mt.has_ratio ? mt.ratio : 0.0f};
      for (std::size_t rule = 0; rule < kRules; ++rule) {
        if (open[rule].empty()) continue;
        const bool in = member_qualifies(m, static_cast<MemberRule>(rule));
        count[rule] += in ? 1 : 0;
        terms[rule][j] = in ? t : Lanes{0.0, 0.0, 0.0, 0.0};
      }
    }
    for (std::size_t rule = 0; rule < kRules; ++rule) {
      if (open[rule].empty()) continue;
      add_terms(open[rule], terms[rule]);
      // The set's own sums (modes 1 and 3), from +0 over the members the rule takes.
      double d = 0.0, i = 0.0;
      for (const Lanes& t : terms[rule]) {
        d += t[0];
        i += t[1];
      }
      for (Running* acc : open[rule]) {
        acc->NREF += count[rule];
        if (i > static_cast<double>(0.001f)) {
          acc->NS += 1;
          acc->RINT2 += d / i;
        }
      }
    }
    for (std::size_t r = 1; r < nrows; ++r) {
      if (copied[r] != 0) work[r] = work[r - 1];
    }
  }
  std::vector<std::array<RintSums, 3>> sums(nrows);
  for (std::size_t r = 0; r < nrows; ++r) {
    for (std::size_t c = 0; c < 3; ++c) {
      RintSums& acc = sums[r][c];
      RINT_SUMS(acc, refl, RINT_CLEAR);
      const Running& w = work[r][c];
      acc.NREF = w.NREF;
      acc.NS = w.NS;
      acc.SUMD = w.sums[0];
      acc.SUMI = w.sums[1];
      acc.SUMS = w.sums[2];
      acc.SUMRS = w.sums[3];
      acc.RINT2 = w.RINT2;
      RINT_SUMS(acc, refl, RINT_FINISH);
    }
  }
  return sums;
}

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
  // One more row, not printed: the equivalents that formed the averages, without the sets
  // that are systematic absences (published R(int) values leave them out).
  rules.push_back({SetRule::not_absent, MemberRule::all});
  const auto sums = rint_table_sums(refl, rules);
  rs.res.RINT_ALL = sums[0][0].RINT;
  rs.res.RSIG_ALL = sums[0][0].RSIG;
  const RintSums& used = sums.back()[0];
  rs.res.RINT_USED = used.NREF > 0 && used.SUMI > 0.0 ? used.RINT : -1.0f;
  rs.res.rint_known = sums[0][0].NREF > 0 && sums[0][0].SUMI > 0.0f &&
                      std::isfinite(sums[0][0].RINT) && std::isfinite(sums[0][0].RSIG);

  const records::EditList row(kRow);
  for (std::size_t r = 0; r < rows.size(); ++r) {
    const RintSums& all = sums[r][0];
    const RintSums& gt = sums[r][1];
    const RintSums& lt = sums[r][2];
    prt.put(row, rows[r].label,
            static_cast<float>(all.NREF), all.RINT, static_cast<float>(all.RINT2), all.RSIG,
            all.RSIG2, static_cast<float>(gt.NREF), gt.RINT, static_cast<float>(gt.RINT2),
            gt.RSIG, gt.RSIG2, static_cast<float>(lt.NREF), lt.RINT,
            static_cast<float>(lt.RINT2), lt.RSIG, lt.RSIG2);
  }

  prt.put(records::EditList(kRatio), rs.res.RATIO, rs.res.NRATIO, ctl.LTHRESH);
}

}  // namespace vorlane::averaging
