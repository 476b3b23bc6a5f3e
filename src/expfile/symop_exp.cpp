#include <cmath>
#include <optional>
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

// Is the translation t a lattice translation of the group (a centring vector, up to whole
// cells)?
bool is_lattice_translation(const SpaceGroup& sg, const Vec3& t) {
  for (int c = 1; c <= sg.NCENVEC; ++c) {
    const Vec3& cv = sg.CENVEC[static_cast<std::size_t>(c - 1)];
    bool whole = true;
    for (std::size_t i = 0; i < 3; ++i) {
      const float q = std::fabs(t[i] + cv[i]);
      const float r = q - std::trunc(q);
      whole = whole && (q < TOL || r <= TOL || r >= 0.9999f);
    }
    if (whole) return true;
  }
  return false;
}

// A group is centrosymmetric when one of its operators has the rotation -1, whatever that
// operator's translation c: its centre of symmetry is then at c/2. The pairing of operators
// with their exact negatives needs a centre at the origin, which origin choice 1 (P n n n,
// F d d d, P 4/n, I 41/a, F d -3 m, ...) puts elsewhere; there the origin is moved to the
// centre, s = c/2, and every translation t becomes t + R·s - s. Intensities, equivalent
// reflections and absences do not depend on the origin. Returns the shift when it moved.
std::optional<Vec3> move_origin_to_centre(SpaceGroup& sg) {
  std::optional<Vec3> shift;
  for (int k = 1; k <= sg.NSYMOP; ++k) {
    const Mat3& r = sg.SYMROT[static_cast<std::size_t>(k - 1)];
    bool inversion = true;
    for (std::size_t e = 0; e < 9; ++e)
      inversion = inversion && std::fabs(r[e] + symmetry::IDENTITY_MAT3[e]) <= TOL;
    if (!inversion) continue;
    const Vec3& c = sg.SYMTRN[static_cast<std::size_t>(k - 1)];
    if (is_lattice_translation(sg, c)) return std::nullopt;  // a centre at the origin already
    if (!shift) shift = Vec3{0.5f * c[0], 0.5f * c[1], 0.5f * c[2]};
  }
  if (!shift) return std::nullopt;
  for (int k = 1; k <= sg.NSYMOP; ++k) {
    Vec3 rs{};
    symmetry::GMPRD(sg.SYMROT[static_cast<std::size_t>(k - 1)], *shift, rs, 3, 3, 1);
    Vec3& t = sg.SYMTRN[static_cast<std::size_t>(k - 1)];
    for (std::size_t i = 0; i < 3; ++i) t[i] = t[i] + rs[i] - (*shift)[i];
    into_unit_cell(t);
  }
  return shift;
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
  if (const std::optional<Vec3> shift = move_origin_to_centre(sg)) {
    static const records::EditList moved(R"(1X,"origin moved to the centre of symmetry at",3F8.4)");
    prt.put(moved, (*shift)[0], (*shift)[1], (*shift)[2]);
  }

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
