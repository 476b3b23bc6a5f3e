#pragma once
// The space group of a run: the operator table, centring vectors and asymmetric unit.
// (Owned by the symmetry library; filled in by its routines.)
#include <array>
#include <vector>

namespace vorlane::symmetry {

// 3x3 matrix stored column by column: m[(col-1)*3 + (row-1)] for 1-based row, col.
using Mat3 = std::array<float, 9>;
using Vec3 = std::array<float, 3>;

struct SpaceGroup {
  // Operator table: slots 1..NSYMOP used, one scratch slot beyond. Index 0 = slot 1.
  std::vector<Mat3> SYMROT;
  std::vector<Vec3> SYMTRN;
  std::vector<Vec3> CENVEC;
  int NSYMOP = 1;
  int NCENVEC = 1;
  int ICENTRIC = 1;
  int IMATMODE = 1;
  // Asymmetric unit: planes (h, k, l coefficients and constant) in reciprocal space.
  std::vector<std::array<int, 4>> IPLANE;
  int NPLANE = 0;
};

}  // namespace vorlane::symmetry
