#include "pipeline/symmetry_check.hpp"

#include <cmath>
#include <cstdint>
#include <exception>
#include <memory>

#include <gemmi/symmetry.hpp>

#include "records/edit_list.hpp"
#include "symmetry_analysis/lattice_symmetry.hpp"
#include "run/messages.hpp"
#include "run/run_state.hpp"

namespace vorlane::pipeline {

namespace sa = symmetry_analysis;

namespace {

// A run checks its group on at most about this many measurements.
constexpr std::size_t CHECK_MEASUREMENTS = 200000;

}  // namespace

std::string given_space_group(const run::RunState& rs) {
  if (!rs.ctl.space_group_name.empty()) {
    const gemmi::SpaceGroup* sg = gemmi::find_spacegroup_by_name(rs.ctl.space_group_name);
    return sg != nullptr ? sg->xhm() : std::string();
  }
  const symmetry::SpaceGroup& g = rs.sg;
  if (g.NSYMOP <= 1 && g.NCENVEC <= 1 && g.ICENTRIC != 2) return {};
  gemmi::GroupOps ops;
  const auto den = [](float v) { return static_cast<int>(std::lround(v * gemmi::Op::DEN)); };
  for (int k = 0; k < g.NSYMOP; ++k) {
    const auto slot = static_cast<std::size_t>(k);
    gemmi::Op op;
    for (int r = 1; r <= 3; ++r) {
      for (int c = 1; c <= 3; ++c) op.rot[r - 1][c - 1] = den(symmetry::elem(g.SYMROT[slot], r, c));
      op.tran[r - 1] = den(g.SYMTRN[slot][static_cast<std::size_t>(r - 1)]);
    }
    ops.sym_ops.push_back(op.wrap());
  }
  for (int c = 0; c < g.NCENVEC; ++c) {
    gemmi::Op::Tran t;
    for (std::size_t r = 0; r < 3; ++r)
      t[r] = den(g.CENVEC[static_cast<std::size_t>(c)][r]);
    ops.cen_ops.push_back(t);
  }
  if (g.ICENTRIC == 2) ops.add_inversion();
  try {
    ops.add_missing_elements();
    const gemmi::SpaceGroup* sg = gemmi::find_spacegroup_by_ops(ops);
    return sg != nullptr ? sg->xhm() : std::string();
  } catch (const std::exception&) {
    return {};
  }
}

std::vector<sa::Measurement> thinned(std::vector<sa::Measurement> data, const sa::Crystal& crystal) {
  if (data.size() <= CHECK_MEASUREMENTS) return data;
  const std::uint64_t stride = (data.size() + CHECK_MEASUREMENTS - 1) / CHECK_MEASUREMENTS;
  const sa::PointGroup lattice = sa::lattice_symmetry(crystal, 'P', 3.0).holohedry;
  std::erase_if(data, [&](const sa::Measurement& m) {
    const sa::Hkl r = lattice.representative(m.hkl);
    std::uint64_t x = 1469598103934665603ull;
    for (const int v : r) x = (x ^ static_cast<std::uint32_t>(v)) * 1099511628211ull;
    return x % stride != 0;
  });
  return data;
}

std::vector<sa::Measurement> measurements_as_read(const run::RunState& rs) {
  std::vector<sa::Measurement> data;
  data.reserve(rs.refl.members.size());
  for (const run::Member& m : rs.refl.members)
    data.push_back({{m.hkl_read[0], m.hkl_read[1], m.hkl_read[2]}, m.FSQ, m.SIGFSQ});
  return data;
}

sa::Crystal run_crystal(const run::RunState& rs) {
  sa::Crystal crystal;
  for (std::size_t i = 0; i < 6; ++i) crystal.cell[i] = rs.ctl.CELLPAR[i];
  crystal.wavelength = rs.ctl.WAVE;
  return crystal;
}

std::future<std::optional<SymmetryVerdict>> start_symmetry_check(const run::RunState& rs,
                                                                 std::launch policy) {
  if (rs.ctl.ICELL != 1 || rs.symmetry) {
    std::promise<std::optional<SymmetryVerdict>> none;
    none.set_value(std::nullopt);
    return none.get_future();
  }
  return std::async(policy, [group = given_space_group(rs), all = measurements_as_read(rs),
                             crystal = run_crystal(rs)]() mutable -> std::optional<SymmetryVerdict> {
    const std::vector<sa::Measurement> data = thinned(std::move(all), crystal);
    SymmetryVerdict v;
    v.group = group;
    v.analysis = sa::analyse(data, crystal, {});
    if (!group.empty()) v.check = sa::check_given_group(data, v.analysis, group);
    return v;
  });
}

void keep_symmetry(run::RunState& rs, std::optional<SymmetryVerdict> verdict) {
  if (!verdict) return;
  warn_if_contradicted(rs, verdict);
  rs.symmetry = std::make_shared<const sa::Analysis>(std::move(verdict->analysis));
}

void warn_if_contradicted(run::RunState& rs, const std::optional<SymmetryVerdict>& verdict) {
  if (!verdict || !verdict->check.checked || !verdict->check.contradicted) return;
  // Warnings are at most 100 characters: one for each reason, one for the suggestion.
  const sa::GivenGroupCheck& c = verdict->check;
  const std::string head = "THE DATA CONTRADICT SPACE GROUP " + verdict->group + ": ";
  if (c.laue_probability < 0.05)
    run::warn(rs, head + "ITS LAUE CLASS HAS PROBABILITY" + records::format_F(c.laue_probability, 6, 3));
  if (sa::absences_contradicted(c))
    run::warn(rs, head + std::to_string(c.n_absent_strong) + " OF " + std::to_string(c.n_absent) +
                      " ABSENT REFLECTIONS ABOVE 3 SIGMA");
  const sa::SpaceGroupRow& best = verdict->analysis.space_groups.rows.front();
  run::warn(rs, "THE DATA SUGGEST " + best.symbol + " (PROBABILITY" +
                    records::format_F(best.probability, 6, 3) + ")" +
                    (verdict->analysis.reindexing.empty()
                         ? std::string()
                         : " AFTER REINDEXING " + verdict->analysis.reindexing) +
                    ": SEE vorlane symmetry");
}

}  // namespace vorlane::pipeline
