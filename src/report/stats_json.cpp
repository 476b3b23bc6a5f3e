#include "report/stats_json.hpp"

#include <cmath>
#include <nlohmann/json.hpp>

namespace vorlane::report {

namespace {

using nlohmann::json;

json number(double v) { return std::isfinite(v) ? json(v) : json(nullptr); }

json shell(const statistics::ShellRow& r, bool dac) {
  json j = {{"d_max", number(r.d_max)},
            {"d_min", number(r.d_min)},
            {"n_obs", r.n_obs},
            {"n_unique", r.n_unique},
            {"n_possible", r.n_possible},
            {"multiplicity", number(r.multiplicity)},
            {"completeness", number(r.completeness)},
            {"i_over_sigma", number(r.i_over_sigma)},
            {"r_int", number(r.r_int)},
            {"r_sigma", number(r.r_sigma)},
            {"r_meas", number(r.r_meas)},
            {"r_pim", number(r.r_pim)},
            {"cc_half", number(r.cc_half)},
            {"chi2", number(r.chi2)}};
  if (dac) {
    j["n_accessible"] = r.n_accessible;
    j["n_unique_accessible"] = r.n_unique_accessible;
    j["dac_completeness"] = number(r.dac_completeness);
  }
  return j;
}

json fraction(double f) { return f < 0.0 ? json(nullptr) : json(f); }

}  // namespace

std::string stats_json(const statistics::Statistics& st, const RunFigures& run) {
  json j;
  j["shells"] = json::array();
  for (const auto& r : st.shells) j["shells"].push_back(shell(r, st.has_dac));
  j["overall"] = st.has_shells ? shell(st.overall, st.has_dac) : json(nullptr);
  if (!st.has_shells) j["no_shells_reason"] = st.no_shells_reason;
  j["batches"] = json::array();
  for (const auto& b : st.batches)
    j["batches"].push_back({{"batch", b.batch},
                            {"n_obs", b.n_obs},
                            {"i_over_sigma", number(b.i_over_sigma)},
                            {"r_int", number(b.r_int)},
                            {"n_outliers", b.n_outliers},
                            {"n_dac_dips", b.n_dac_dips}});
  const auto& np = st.normal_probability;
  json expected = json::array(), observed = json::array();
  for (std::size_t i = 0; i < np.expected.size(); ++i) {
    expected.push_back(number(np.expected[i]));
    observed.push_back(number(np.observed[i]));
  }
  // The points as two lists of equal length: expected normal quantile, sorted deviation.
  j["normal_probability"] = {{"slope", number(np.slope)},
                             {"intercept", number(np.intercept)},
                             {"points", {{"expected", expected}, {"observed", observed}}}};
  const auto& rj = st.rejections;
  j["rejections"] = {{"space_group_violation", rj.violation},
                     {"outside_2theta", rj.outside_2theta},
                     {"less_than", rj.less_than},
                     {"singlet_dropped", rj.singlet_dropped},
                     {"dac_dip", rj.dac_dip},
                     {"outlier", rj.outlier},
                     {"value_overflow", rj.overflow},
                     {"beyond_limiting_sphere", rj.impossible}};
  j["set_size_histogram"] = st.set_size_histogram;
  j["summary"] = {{"reflections_read", run.reflections_read},
                  {"equivalent_sets", run.sets},
                  {"singlets", run.singlets},
                  {"diffrn_reflns_av_r_equivalents",
                   run.r_known ? number(run.r_int_all) : json(nullptr)},
                  {"diffrn_reflns_av_unet_i_over_net_i",
                   run.r_known ? number(run.r_sigma_all) : json(nullptr)},
                  {"diffrn_measured_fraction_theta_max", fraction(run.completeness_max)},
                  {"diffrn_measured_fraction_theta_full", fraction(run.completeness_full)},
                  {"wavelength", number(run.wavelength)}};
  if (st.has_dac) {
    j["summary"]["dac_opening_half_angle"] = run.dac_opening;
    j["summary"]["dac_completeness"] = number(st.overall.dac_completeness);
  }
  // Texts come from files (a reason naming a card): bytes that are not UTF-8 are replaced
  // rather than making the whole file unwritable.
  return j.dump(1, ' ', false, json::error_handler_t::replace) + "\n";
}

}  // namespace vorlane::report
