#include "input/parse_record.hpp"

#include <cmath>

#include "input/input_record.hpp"

namespace vorlane::input {

Parsed parse_record(const run::RunState& rs, std::string_view text, Measurement& m) {
  InputRecord r;
  if (rs.files.INFMT == 1) {
    if (!parse_shelx_record(text, r)) return Parsed::unreadable;
    // The 0 0 0 record closes a SHELX file; whatever follows it is not data.
    if (r.h[0] == 0 && r.h[1] == 0 && r.h[2] == 0) return Parsed::end_of_data;
    // A negative batch number marks a twin component of an HKLF 5 file.
    if (r.batch < 0) return Parsed::twinned;
    if (r.sigma < 0.0f) return Parsed::negative_sigma;
    m.h = r.h;
    m.without_point = static_cast<std::uint8_t>(r.without_point);
    m.fsq = r.value;
    m.sigfsq = r.sigma;
    m.itag = 0.0f;
    m.aux = 0.0f;
    m.batch = r.batch;
    // Without cosine columns (most files) the cosines read as zero: 2theta then comes from
    // the cell whenever the run can work it out.
    m.tth_from_cell = r.cosine_columns ? two_theta_source(rs, r.cosines) == TwoThetaSource::cell
                                       : rs.ctl.IBMAT != 0 && rs.ctl.ICELL != 0;
    if (m.tth_from_cell) {
      m.refang = {0.0f, 0.0f, 0.0f};
    } else {
      float tth = 0.0f;
      int ierr = 0;
      GET_2THETA(rs, r.cosines, r.h, tth, ierr);
      m.refang = {ierr == 0 ? tth : 0.0f, 0.0f, 0.0f};
    }
    return Parsed::measurement;
  }
  if (!parse_zezor_record(text, r)) return Parsed::unreadable;
  if (r.sigma < 0.0f) return Parsed::negative_sigma;
  m.h = r.h;
  m.tth_from_cell = false;
  // Zezor files hold amplitudes; a vanishing or negative F carries no intensity and gets a
  // unit sigma.
  if (r.value > 0.001f) {
    m.fsq = r.value * r.value;
    m.sigfsq = 2.0f * r.sigma * r.value;
  } else {
    m.fsq = 0.0f;
    m.sigfsq = 1.0f;
  }
  // An amplitude whose square overflows single precision cannot be averaged: the record is
  // as unusable as one that does not read.
  if (!std::isfinite(m.fsq) || !std::isfinite(m.sigfsq)) return Parsed::unreadable;
  // 2theta is an angle between two beams: a negative one is taken as its size, and one above
  // 180 degrees is no angle of a reflection (0 stands for "not known").
  const float tth = std::fabs(r.angles[0]);
  if (!(tth <= 180.0f)) return Parsed::unreadable;
  m.without_point = 0;
  m.refang = {tth, r.angles[1], r.angles[2]};
  m.itag = r.angles[3];
  m.aux = r.aux;
  m.batch = 0;
  return Parsed::measurement;
}

}  // namespace vorlane::input
