#include <cmath>
#include <span>
#include <string>
#include <vector>

#include "expfile/symmetry_cards.hpp"
#include "records/program_stop.hpp"
#include "symmetry/eqpos.hpp"
#include "symmetry/gmadd.hpp"
#include "symmetry/gmprd.hpp"
#include "symmetry/opsym.hpp"

namespace vorlane::expfile {
namespace {

using symmetry::Mat3;
using symmetry::SpaceGroup;
using symmetry::Vec3;

constexpr float TOL = 0.0001f;

void into_unit_cell(Vec3& v) {
  for (float& t : v) {
    t = t - std::trunc(t);
    if (t < 0.0f) t = t + 1.0f;
  }
}

// Every centring vector's images under the operators and all sums of centring vectors are
// centring vectors too.
void close_centring(SpaceGroup& sg) {
  const std::span<Vec3> list(sg.CENVEC);
  for (int k = 2; k <= sg.NSYMOP; ++k) {
    Vec3 v{};
    symmetry::GMPRD(sg.SYMROT[static_cast<std::size_t>(k - 1)], sg.CENVEC[1], v, 3, 3, 1);
    into_unit_cell(v);
    int m = sg.NCENVEC;
    symmetry::EQPOS(list, v, m, symmetry::MAX_CENVEC);
    if (m > sg.NCENVEC) sg.NCENVEC = m;
  }
  for (int i = 2; i <= sg.NCENVEC; ++i) {
    for (int j = i; j <= sg.NCENVEC; ++j) {
      Vec3 v{};
      symmetry::GMADD(sg.CENVEC[static_cast<std::size_t>(i - 1)],
                      sg.CENVEC[static_cast<std::size_t>(j - 1)], v, 1, 3);
      into_unit_cell(v);
      int m = sg.NCENVEC;
      symmetry::EQPOS(list, v, m, symmetry::MAX_CENVEC);
      if (m > sg.NCENVEC) sg.NCENVEC = m;
    }
  }
}

// Is operator j the negative of operator k, up to centring vector c and whole translations?
bool is_partner(const SpaceGroup& sg, int k, int j, int c) {
  const Mat3& rk = sg.SYMROT[static_cast<std::size_t>(k - 1)];
  const Mat3& rj = sg.SYMROT[static_cast<std::size_t>(j - 1)];
  for (int e = 0; e < 9; ++e) {
    if (std::fabs(rk[e] + rj[e]) > TOL) return false;
  }
  const Vec3& tk = sg.SYMTRN[static_cast<std::size_t>(k - 1)];
  const Vec3& tj = sg.SYMTRN[static_cast<std::size_t>(j - 1)];
  const Vec3& cv = sg.CENVEC[static_cast<std::size_t>(c - 1)];
  for (int i = 0; i < 3; ++i) {
    const float q = std::fabs(tk[i] + tj[i] + cv[i]);
    const float r = q - std::trunc(q);
    if (!(q < TOL || r <= TOL || r >= 0.9999f)) return false;
  }
  return true;
}

int find_partner(const SpaceGroup& sg, int k) {
  for (int c = 1; c <= sg.NCENVEC; ++c) {
    for (int j = k + 1; j <= sg.NSYMOP; ++j) {
      if (is_partner(sg, k, j, c)) return j;
    }
  }
  return 0;
}

}  // namespace

void SYMOP_EXP(SpaceGroup& sg, records::PrintFile& prt) {
  if (sg.NCENVEC >= 2) close_centring(sg);

  // Centrosymmetric pairing: operator k+1 becomes the exact negative of operator k, so the
  // listing and the equivalent-reflection code can treat each pair as one operator with +-.
  const int pairs = (sg.NSYMOP + 1) / 2;
  bool centric = true;
  for (int p = 0, k = 1; p < pairs; ++p, k += 2) {
    const int j = find_partner(sg, k);
    if (j == 0) {
      if (k == 1) {
        prt.write_record(" non-centrosymmetric space group");
        centric = false;
        break;
      }
      static const records::EditList layout(
          "\" incomplete space group, no centric match for operator\",I5/\" probable program error\"");
      prt.put(layout, k);
      symmetry::OPSYM(sg, prt);
      const auto text = records::write_records(layout, std::vector<records::Value>{k});
      throw records::ProgramStop(text.empty() ? std::string() : text.front(), false);
    }
    const auto ik = static_cast<std::size_t>(k - 1);
    sg.SYMROT[static_cast<std::size_t>(j - 1)] = sg.SYMROT[ik + 1];
    sg.SYMTRN[static_cast<std::size_t>(j - 1)] = sg.SYMTRN[ik + 1];
    for (int e = 0; e < 9; ++e) sg.SYMROT[ik + 1][e] = -sg.SYMROT[ik][e];
    for (int i = 0; i < 3; ++i) {
      float t = -sg.SYMTRN[ik][i];
      if (t < -TOL) t = t + 1.0f;
      sg.SYMTRN[ik + 1][i] = t;
    }
  }
  if (centric) {
    sg.ICENTRIC = 2;
    prt.write_record(" centrosymmetric space group");
  }
  static const records::EditList count_line("1X,I4,\" symmetry operators generated\"");
  prt.put(count_line, sg.NSYMOP);
}

}  // namespace vorlane::expfile
