#include "input/get_2theta.hpp"

#include <cmath>

#include "geometry/tth_fromdc.hpp"
#include "symmetry/cell_table.hpp"

namespace vorlane::input {

namespace {

// B^T-inverse times a column vector; matrices are stored column by column.
std::array<float, 3> times(const geometry::Mat3& m, const std::array<float, 3>& x) {
  std::array<float, 3> y{};
  for (int row = 0; row < 3; ++row) {
    float s = 0.0f;
    for (int col = 0; col < 3; ++col) s += m[static_cast<std::size_t>(col * 3 + row)] * x[static_cast<std::size_t>(col)];
    y[static_cast<std::size_t>(row)] = s;
  }
  return y;
}

// Scalar products of the two beams with themselves, in reciprocal-axis units: beams whose
// cosines are all (nearly) zero were not given.
bool cosines_given(const std::array<float, 6>& DC) {
  // The usual SHELX record has no cosines: all six read as zero.
  if (DC == std::array<float, 6>{}) return false;
  float s1 = 0.0f;
  float s2 = 0.0f;
  for (std::size_t i = 0; i < 3; ++i) {
    const float incident = DC[2 * i];
    const float diffracted = DC[2 * i + 1];
    s1 += incident * incident;
    s2 += diffracted * diffracted;
  }
  return s1 >= 0.0001f || s2 >= 0.0001f;
}

float two_theta_from_cosines(const run::RunState& rs, const std::array<float, 6>& DC) {
  // A direction cosine with a reciprocal axis times the axis length is the scalar product of
  // the beam's unit vector with that axis.
  std::array<float, 3> u{};
  std::array<float, 3> v{};
  for (std::size_t i = 0; i < 3; ++i) {
    u[i] = DC[2 * i] * rs.cell.RCELL[i];
    v[i] = DC[2 * i + 1] * rs.cell.RCELL[i];
  }
  std::array<float, 3> U = times(rs.cell.BTINV, u);  // Cartesian beam vectors
  std::array<float, 3> V = times(rs.cell.BTINV, v);
  return geometry::TTH_FROMDC(U, V);
}

}  // namespace

TwoThetaSource two_theta_source(const run::RunState& rs, const std::array<float, 6>& DC) {
  if (rs.ctl.IBMAT == 0) return TwoThetaSource::none;
  if (cosines_given(DC)) return TwoThetaSource::cosines;
  if (rs.ctl.ICELL == 0) return TwoThetaSource::none;
  return TwoThetaSource::cell;
}

void two_theta_from_cell(const run::RunState& rs, const std::array<int, 3>& H, float& TTH,
                         int& IERR) {
  const CellTwoTheta cell_two_theta(rs);
  cell_two_theta(H, TTH, IERR);
}

CellTwoTheta::CellTwoTheta(const run::RunState& rs) : wave_(rs.ctl.WAVE) {
  for (int i = 1; i <= 3; ++i) {
    side_[static_cast<std::size_t>(i - 1)] = rs.celltab.at(i, symmetry::CELL_SIDE, 2);
    cos_[static_cast<std::size_t>(i - 1)] = rs.celltab.at(i, symmetry::CELL_COS, 2);
  }
}

void CellTwoTheta::operator()(const std::array<int, 3>& H, float& TTH, int& IERR) const {
  IERR = 0;
  TTH = 0.0f;
  // VCTMOD of the reciprocal cell with unit scale.
  double sum = 0.0;
  for (std::size_t i = 0; i < 3; ++i) {
    const std::size_t j = (i + 1) % 3;
    const std::size_t k = (j + 1) % 3;
    const double xi = static_cast<float>(H[i]);
    const double xj = static_cast<float>(H[j]);
    const double xk = static_cast<float>(H[k]);
    sum = sum + (xi * side_[i]) * (xi * side_[i]) + 2.0 * xj * xk * side_[j] * side_[k] * cos_[i];
  }
  const float dstar = static_cast<float>(static_cast<double>(1.0f) * std::sqrt(sum));
  const float d = 1.0f / dstar;
  const float sine = wave_ / 2.0f / d;
  if (!(std::fabs(sine) <= 1.0f)) {
    IERR = 1;
    return;
  }
  TTH = 2.0f * std::asin(sine) * 57.29578f;
}

void GET_2THETA(const run::RunState& rs, const std::array<float, 6>& DC,
                const std::array<int, 3>& H, float& TTH, int& IERR) {
  IERR = 0;
  TTH = 0.0f;
  switch (two_theta_source(rs, DC)) {
    case TwoThetaSource::none:
      IERR = 1;
      return;
    case TwoThetaSource::cosines:
      TTH = two_theta_from_cosines(rs, DC);
      return;
    case TwoThetaSource::cell:
      two_theta_from_cell(rs, H, TTH, IERR);
      return;
  }
}

}  // namespace vorlane::input
