#pragma once
// Cell, metric and orientation matrices of a run (owned by the geometry routines).
#include <array>

namespace vorlane::geometry {

using Mat3 = std::array<float, 9>;  // column by column: m[(col-1)*3 + (row-1)]

struct CellState {
  Mat3 UB{};       // orientation matrix; card n fills row n
  Mat3 GSTAR{};    // reciprocal metric tensor
  Mat3 GMET{};     // real metric tensor
  Mat3 UBTINV{};
  Mat3 BMAT{};
  Mat3 BTINV{};
  std::array<float, 6> RCELL{};   // reciprocal cell
  std::array<float, 6> UBCELL{};  // real cell derived from UB
  float CELLVOL = 0.0f;
};

}  // namespace vorlane::geometry
