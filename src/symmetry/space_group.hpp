#pragma once
// The space group of a run: the operator table, the lattice centring vectors and the
// asymmetric unit in reciprocal space. Filled by the symmetry-card readers (expfile/) and the
// routines of this library; read by everything that needs equivalent reflections or absences.
//
// Slots count from 1 in the names of the routines; slot n lives at index n - 1 here.
// The default value is the identity-only group without an asymmetric unit (what INITSYM sets).
#include <array>

namespace vorlane::symmetry {

// 3x3 matrix stored column by column: m[(col-1)*3 + (row-1)] for 1-based row, col.
using Mat3 = std::array<float, 9>;
using Vec3 = std::array<float, 3>;

inline constexpr int MAX_SYMOP = 48;   // operators of the group ("48 allowed")
inline constexpr int SYMOP_SLOTS = 49; // one scratch slot behind a full table
inline constexpr int MAX_CENVEC = 4;   // centring vectors, (0,0,0) included
inline constexpr int MAX_PLANE = 10;   // bounding planes of the asymmetric unit

inline constexpr Mat3 IDENTITY_MAT3{1, 0, 0, 0, 1, 0, 0, 0, 1};

// Element (row, col), both 1-based, of a column-major 3x3 matrix.
constexpr float& elem(Mat3& m, int row, int col) { return m[(col - 1) * 3 + (row - 1)]; }
constexpr float elem(const Mat3& m, int row, int col) { return m[(col - 1) * 3 + (row - 1)]; }

namespace detail {
constexpr std::array<Mat3, SYMOP_SLOTS> initial_symrot() {
  std::array<Mat3, SYMOP_SLOTS> r{};
  r[0] = IDENTITY_MAT3;
  r[1] = IDENTITY_MAT3;
  return r;
}
}  // namespace detail

struct SpaceGroup {
  // SYMROT / SYMTRN: operator k maps a position x to SYMROT(k)·x + SYMTRN(k) while
  // IMATMODE = 1. With IMATMODE = 2 (after SYMINV(2)) SYMROT(k) holds the matrix that acts on
  // reflection indices written as a column: the image of h under operator k is then
  // SYMROT(k)·h, the same reflection as the row vector h·R of the position matrix R.
  std::array<Mat3, SYMOP_SLOTS> SYMROT = detail::initial_symrot();
  std::array<Vec3, SYMOP_SLOTS> SYMTRN{};
  std::array<Vec3, MAX_CENVEC> CENVEC{};  // slot 1 always (0,0,0)
  int NSYMOP = 1;
  int NCENVEC = 1;
  int ICENTRIC = 1;  // 1 non-centrosymmetric, 2 centrosymmetric (operator k+1 = -operator k)
  int IMATMODE = 1;  // 1 matrices act on positions, 2 on reflection indices
  // Asymmetric unit: row j = (a, b, c, d) stands for a·h + b·k + c·l >= d.
  std::array<std::array<int, 4>, MAX_PLANE> IPLANE{};
  int NPLANE = 0;
};

}  // namespace vorlane::symmetry
