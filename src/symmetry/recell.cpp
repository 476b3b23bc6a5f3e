#include "symmetry/recell.hpp"

#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "records/program_stop.hpp"
#include "symmetry/degree.hpp"
#include "symmetry/orthog.hpp"
#include "symmetry/sincos.hpp"

namespace vorlane::symmetry {
namespace {

int next_axis(int i) { return i % 3 + 1; }

}  // namespace

void RECELL(CellTable& ct, int N, records::PrintFile& prt) {
  if (N != 1 && N != 2) {
    prt.write_record(" error - entry to recell neither 1 nor 2");
    throw records::ProgramStop(" error - entry to recell neither 1 nor 2", false);
  }
  const int M = 3 - N;  // the lattice that is given
  std::array<std::array<float, 3>, 2> degrees{};

  if (N == 1) {
    for (int i = 1; i <= 3; ++i) {
      const float q = ct.RQPROD[static_cast<std::size_t>(i - 1)];
      if (q > 0.0f) {
        ct.at(i, CELL_SIDE, 2) = std::sqrt(q);
      } else {
        prt.put(records::EditList("\" cell side\",I3,\" negative square - set to zero\""), i);
        ct.at(i, CELL_SIDE, 2) = 0.0f;
      }
    }
    for (int i = 1; i <= 3; ++i) {
      const int j = next_axis(i);
      const int k = next_axis(j);
      const float den = ct.at(j, CELL_SIDE, 2) * ct.at(k, CELL_SIDE, 2);
      // A side set to zero above leaves its angles undefined; they are taken as right angles
      // rather than spreading a division by zero through the cell.
      float c = den != 0.0f ? ct.RQPROD[static_cast<std::size_t>(i + 2)] / den : 0.0f;
      if (std::fabs(c) > 1.0f) {
        prt.put(records::EditList(
                    "\" cell angle\",I3,\" cosine modulus greater than 1 - set\",\" to 1\""),
                i);
        c = c > 0.0f ? 1.0f : -1.0f;
      }
      ct.at(i, CELL_COS, 2) = c;
    }
  }

  for (int i = 1; i <= 3; ++i) {
    float c = ct.at(i, CELL_COS, M);
    float s = 0.0f;
    SINCOS(c, s, i, prt);
    ct.at(i, CELL_COS, M) = c;
    ct.at(i, CELL_SIN, M) = s;
    degrees[static_cast<std::size_t>(M - 1)][static_cast<std::size_t>(i - 1)] =
        DEGREE(std::atan2(s, c));
  }
  for (int i = 1; i <= 3; ++i) {
    const int j = next_axis(i);
    const int k = next_axis(j);
    const double cj = ct.at(j, CELL_COS, M);
    const double ck = ct.at(k, CELL_COS, M);
    const double ci = ct.at(i, CELL_COS, M);
    const double sj = ct.at(j, CELL_SIN, M);
    const double sk = ct.at(k, CELL_SIN, M);
    float c = static_cast<float>((cj * ck - ci) / (sj * sk));
    float s = 0.0f;
    SINCOS(c, s, i + 3, prt);
    ct.at(i, CELL_COS, N) = c;
    ct.at(i, CELL_SIN, N) = s;
    degrees[static_cast<std::size_t>(N - 1)][static_cast<std::size_t>(i - 1)] =
        DEGREE(std::atan2(s, c));
  }

  const float v = ct.at(1, CELL_SIDE, M) * ct.at(2, CELL_SIDE, M) * ct.at(3, CELL_SIDE, M) *
                  ct.at(1, CELL_SIN, N) * ct.at(2, CELL_SIN, M) * ct.at(3, CELL_SIN, M);
  for (int i = 1; i <= 3; ++i) {
    const int j = next_axis(i);
    const int k = next_axis(j);
    // A cell of no volume has no other lattice; its sides are left at zero.
    ct.at(i, CELL_SIDE, N) =
        v != 0.0f ? ct.at(j, CELL_SIDE, M) * ct.at(k, CELL_SIDE, M) * ct.at(i, CELL_SIN, M) / v
                  : 0.0f;
  }
  if (N == 2) {
    for (int i = 1; i <= 3; ++i) {
      const int j = next_axis(i);
      const int k = next_axis(j);
      const float side = ct.at(i, CELL_SIDE, 2);
      ct.RQPROD[static_cast<std::size_t>(i - 1)] = side * side;
      ct.RQPROD[static_cast<std::size_t>(i + 2)] =
          ct.at(j, CELL_SIDE, 2) * ct.at(k, CELL_SIDE, 2) * ct.at(i, CELL_COS, 2);
    }
  }
  ct.VCELL = M == 1 ? v : (v != 0.0f ? 1.0f / v : 0.0f);

  static const records::EditList cell_line("A,3F10.4,3F8.2");
  static const records::EditList volume_line("\" volume = \",F10.4");
  prt.write_record(" ");
  prt.put(cell_line, std::string_view(" real cell      "), ct.at(1, CELL_SIDE, 1),
          ct.at(2, CELL_SIDE, 1), ct.at(3, CELL_SIDE, 1), degrees[0][0], degrees[0][1],
          degrees[0][2]);
  prt.put(volume_line, ct.VCELL);
  prt.write_record(" ");
  prt.put(cell_line, std::string_view(" reciprocal cell"), ct.at(1, CELL_SIDE, 2),
          ct.at(2, CELL_SIDE, 2), ct.at(3, CELL_SIDE, 2), degrees[1][0], degrees[1][1],
          degrees[1][2]);
  if (N == 2) {
    prt.write_record(" ");
    prt.write_record(" reciprocal cell quadratic products:");
    prt.write_record(
        std::string(" a*(=a* sqrd)     b*          c*  d*(=b*c*cos alpha*)  e*") +
        "         f*");
    static const records::EditList products("1X,6F12.5");
    prt.put(products, ct.RQPROD[0], ct.RQPROD[1], ct.RQPROD[2], ct.RQPROD[3], ct.RQPROD[4],
            ct.RQPROD[5]);
  }
  ORTHOG(ct, prt);
}

}  // namespace vorlane::symmetry
