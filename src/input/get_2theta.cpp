#include "input/get_2theta.hpp"

#include <cmath>

#include "geometry/tth_fromdc.hpp"
#include "symmetry/vctmod.hpp"

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

}  // namespace

void GET_2THETA(const run::RunState& rs, const std::array<float, 6>& DC,
                const std::array<int, 3>& H, float& TTH, int& IERR) {
  IERR = 0;
  TTH = 0.0f;
  if (rs.ctl.IBMAT == 0) {
    IERR = 1;
    return;
  }
  // A direction cosine with a reciprocal axis times the axis length is the scalar product of
  // the beam's unit vector with that axis.
  std::array<float, 3> u{};
  std::array<float, 3> v{};
  float s1 = 0.0f;
  float s2 = 0.0f;
  for (std::size_t i = 0; i < 3; ++i) {
    const float incident = DC[2 * i];
    const float diffracted = DC[2 * i + 1];
    u[i] = incident * rs.cell.RCELL[i];
    v[i] = diffracted * rs.cell.RCELL[i];
    s1 += incident * incident;
    s2 += diffracted * diffracted;
  }
  if (s1 >= 0.0001f || s2 >= 0.0001f) {
    std::array<float, 3> U = times(rs.cell.BTINV, u);  // Cartesian beam vectors
    std::array<float, 3> V = times(rs.cell.BTINV, v);
    TTH = geometry::TTH_FROMDC(U, V);
    return;
  }
  if (rs.ctl.ICELL == 0) {
    IERR = 1;
    return;
  }
  const std::array<float, 3> hkl{static_cast<float>(H[0]), static_cast<float>(H[1]),
                                 static_cast<float>(H[2])};
  const float dstar = symmetry::VCTMOD(rs.celltab, 1.0f, hkl, 2);
  const float d = 1.0f / dstar;
  const float sine = rs.ctl.WAVE / 2.0f / d;
  // Bragg's law has no angle when lambda/2d exceeds 1 (or the cell gives no length).
  if (!(std::fabs(sine) <= 1.0f)) {
    IERR = 1;
    return;
  }
  TTH = 2.0f * std::asin(sine) * 57.29578f;
}

}  // namespace vorlane::input
