#include "symmetry/orthog.hpp"

namespace vorlane::symmetry {

void ORTHOG(CellTable& ct, records::PrintFile& prt) {
  for (int s = 1; s <= 2; ++s) {
    const int t = 3 - s;
    const int j = 5 - 2 * s;  // real: c along z; reciprocal: a* along x
    const int k = 2 * s - 1;
    for (int i = 1; i <= 3; ++i) {
      for (int c = 1; c <= 3; ++c) ct.ort(i, c, s) = 0.0f;
    }
    ct.ort(j, j, s) = ct.at(j, CELL_SIDE, s);
    ct.ort(2, j, s) = ct.at(2, CELL_SIDE, s) * ct.at(k, CELL_COS, s);
    ct.ort(2, 2, s) = ct.at(2, CELL_SIDE, s) * ct.at(k, CELL_SIN, s);
    ct.ort(k, j, s) = ct.at(k, CELL_SIDE, s) * ct.at(2, CELL_COS, s);
    ct.ort(k, 2, s) = -ct.at(k, CELL_SIDE, s) * ct.at(2, CELL_SIN, s) * ct.at(j, CELL_COS, t);
    ct.ort(k, k, s) = ct.at(k, CELL_SIDE, s) * ct.at(2, CELL_SIN, s) * ct.at(j, CELL_SIN, t);
  }
  static const records::EditList heading(
      "/\" matrices for transformation of vectors to\",\" orthogonal axes\"");
  static const records::EditList rows("3F10.4");
  prt.put(heading);
  for (int s = 1; s <= 2; ++s) {
    if (s == 1) {
      prt.write_record(" real space:");
    } else {
      prt.write_record(" ");
      prt.write_record(" reciprocal space:");
    }
    for (int line = 0; line < 3; ++line) {
      const std::size_t base = static_cast<std::size_t>(9 * (s - 1) + 3 * line);
      prt.put(rows, ct.ORTMAT[base], ct.ORTMAT[base + 1], ct.ORTMAT[base + 2]);
    }
  }
}

}  // namespace vorlane::symmetry
