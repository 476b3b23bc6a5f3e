#include "output/output_scale.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <vector>

#include "averaging/written_sets.hpp"
#include "output/dynamic_ft.hpp"
#include "output/write_one_reflection_layouts.hpp"
#include "run/messages.hpp"

namespace vorlane::output {

namespace {

struct Written {
  run::Indices hkl{};
  float fsq = 0.0f;  // before scaling
};

// The intensity of every record the writer will be asked for, unscaled.
std::vector<Written> written_intensities(const run::RunState& rs) {
  const expfile::RunControls& ctl = rs.ctl;
  const run::ReflectionList& list = rs.refl;
  std::vector<Written> out;
  for (const run::EquivSet& set : list.sets) {
    if (ctl.IOUTAVE == 1) {
      if (averaging::set_record_due(set, ctl))
        out.push_back({list.member(set, 1).IHKL, set.FAVE});
      continue;
    }
    if (averaging::set_left_out(set, ctl.IABSENT)) continue;
    for (int m = 1; m <= set.NEQ; ++m) {
      const run::Member& member = list.member(set, m);
      if (averaging::member_record_due(set, member, ctl)) out.push_back({member.IHKL, member.FSQ});
    }
  }
  return out;
}

// Whether the intensity fits its field with the scale (F for Zezor, F^2 for SHELX).
bool fits(float fsq, float scale, int OUTFMT) {
  const float scaled = scale * fsq;
  int d = 0, iover = 0;
  if (OUTFMT == 0) {
    if (!(scaled > 0.0f)) return std::isfinite(scaled);
    DYNAMIC_FT(ReflectionRecordLayouts::ZEZOR_F_WIDTH, std::sqrt(scaled), d, iover);
  } else {
    DYNAMIC_FT(ReflectionRecordLayouts::SHELX_WIDTH, scaled, d, iover);
  }
  return iover == 0;
}

bool all_fit(const std::vector<Written>& w, float scale, int OUTFMT) {
  for (const Written& x : w)
    if (!fits(x.fsq, scale, OUTFMT)) return false;
  return true;
}

float times_power_of_ten(float scale, int k) {
  return static_cast<float>(static_cast<double>(scale) * std::pow(10.0, k));
}

// The largest scale, to four significant digits, with which every intensity fits.
float largest_fitting_scale(const std::vector<Written>& w, float scale, int OUTFMT) {
  double hi = scale;
  double lo = 0.0;
  for (int i = 0; i < 200 && hi - lo > hi * 1e-7; ++i) {
    const double mid = 0.5 * (lo + hi);
    if (all_fit(w, static_cast<float>(mid), OUTFMT)) lo = mid;
    else hi = mid;
  }
  if (lo <= 0.0) return 0.0f;
  const double step = std::pow(10.0, std::floor(std::log10(lo)) - 3.0);
  return static_cast<float>(std::floor(lo / step) * step);
}

// The shortest text that reads back as the same float.
std::string shortest(float x) {
  char buf[32];
  const auto r = std::to_chars(buf, buf + sizeof buf, x);
  return std::string(buf, r.ptr);
}

}  // namespace

std::string power_of_ten_text(int k) {
  return std::string("1E") + (k < 0 ? "-" : "+") + std::to_string(k < 0 ? -k : k);
}

std::string choose_output_scale(run::RunState& rs) {
  expfile::RunControls& ctl = rs.ctl;
  const int fmt = rs.files.OUTFMT;
  const std::vector<Written> w = written_intensities(rs);
  if (w.empty()) return {};
  if (ctl.scale_from_card == 1) {
    // The reflection named is the one of largest magnitude that does not fit (the smaller
    // indices among equals), whatever the order of the records.
    const Written* worst = nullptr;
    for (const Written& x : w) {
      if (fits(x.fsq, ctl.OSCALE, fmt)) continue;
      if (worst == nullptr || std::fabs(x.fsq) > std::fabs(worst->fsq) ||
          (std::fabs(x.fsq) == std::fabs(worst->fsq) && x.hkl.v < worst->hkl.v))
        worst = &x;
    }
    if (worst != nullptr) {
      const Written& x = *worst;
      const float best = largest_fitting_scale(w, ctl.OSCALE, fmt);
      // Kept short: the message block of the print file holds 100 characters.
      run::fatal(rs, "OUTPUT FIELD TOO NARROW FOR REFLECTION " + std::to_string(x.hkl[0]) + " " +
                         std::to_string(x.hkl[1]) + " " + std::to_string(x.hkl[2]) +
                         " WITH SCALE " + shortest(ctl.OSCALE) +
                         "; LARGEST SCALE THAT FITS: " + shortest(best));
      return {};
    }
    return {};
  }
  int k = 0;
  std::string why;
  if (!all_fit(w, ctl.OSCALE, fmt)) {
    // Divide by the smallest power of ten that makes every intensity fit.
    for (k = -1; k > -40 && !all_fit(w, times_power_of_ten(ctl.OSCALE, k), fmt); --k) {
    }
    if (k <= -40) return {};  // nothing fits at any scale (not finite): the writer reports it
    why = "THE LARGEST INTENSITY DID NOT FIT ITS FIELD";
  } else {
    float largest = -std::numeric_limits<float>::infinity();
    for (const Written& x : w) largest = std::max(largest, ctl.OSCALE * x.fsq);
    if (!(largest > 0.0f && largest < 1.0f)) return {};
    // The value written: F for Zezor, F^2 for SHELX; brought into [1000, 10000).
    const double shown = fmt == 0 ? std::sqrt(static_cast<double>(largest)) : largest;
    const double per_power = fmt == 0 ? 0.5 : 1.0;  // F grows by sqrt(10) a power
    k = static_cast<int>(std::ceil((3.0 - std::log10(shown)) / per_power - 1e-9));
    // Negative intensities far larger than the positive ones must still fit.
    while (k > 0 && !all_fit(w, times_power_of_ten(ctl.OSCALE, k), fmt)) --k;
    if (k == 0) return {};
    why = "THE LARGEST INTENSITY WAS BELOW 1";
  }
  ctl.OSCALE = times_power_of_ten(ctl.OSCALE, k);
  rs.res.output_scale_power = k;
  std::string note = "OUTPUT SCALED BY " + power_of_ten_text(k) + ": " + why;
  run::warn(rs, note);
  return note;
}

}  // namespace vorlane::output
