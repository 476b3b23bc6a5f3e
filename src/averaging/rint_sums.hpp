#pragma once
// The accumulator behind the R(int) / R(sigma) table: one pass over a chosen group of sets
// and members gives NREF, RINT, RINT2, RSIG and RSIG2.
#include <cmath>

#include "run/reflection_list.hpp"

namespace vorlane::averaging {

struct RintSums {
  int NREF = 0;      // members added
  int NS = 0;        // sets that entered RINT2
  // Sums in double: their last bits then never show in a printed figure, whatever the order
  // of the sets and members.
  double SUMD = 0.0;   // sum of abs(FSQ - FAVE)
  double SUMI = 0.0;   // sum of FSQ
  double SUMS = 0.0;   // sum of SIGFSQ
  double SUMRS = 0.0;  // sum of SIGFSQ/FSQ over members with abs(FSQ) > 0.001
  double RINT2 = 0.0;  // sum of per-set R, then their mean
  double SETD = 0.0;
  double SETI = 0.0;
  // Results of mode 4.
  float RINT = 0.0f;
  float RSIG = 0.0f;
  float RSIG2 = 0.0f;
};

inline constexpr int RINT_CLEAR = 0;
inline constexpr int RINT_START_SET = 1;
inline constexpr int RINT_ADD_MEMBER = 2;
inline constexpr int RINT_END_SET = 3;
inline constexpr int RINT_FINISH = 4;

// MODE 0 clear, 1 start a set, 2 add member J (from 1) of set I (from 1), 3 end a set,
// 4 finish. I and J are used only in mode 2. The deviation of a member is always taken from
// the set's final average FAVE, also for members rejected from it.
//
// Defined here, inline: it is called once per member and table cell, and a call that the
// compiler can see through lets the constant MODE of each call site select its branch.
inline void RINT_SUMS(RintSums& acc, const run::ReflectionList& refl, int MODE, int I = 0,
                      int J = 0);

// What one member adds (mode 2), worked out once for every accumulator it enters.
struct MemberTerms {
  float d = 0.0f;      // abs(FSQ - FAVE)
  float fsq = 0.0f;
  float sig = 0.0f;
  bool has_ratio = false;  // abs(FSQ) > 0.001
  float ratio = 0.0f;      // SIGFSQ / FSQ when has_ratio
};

inline MemberTerms member_terms(const run::EquivSet& set, const run::Member& m) {
  MemberTerms t;
  t.d = std::fabs(m.FSQ - set.FAVE);
  t.fsq = m.FSQ;
  t.sig = m.SIGFSQ;
  t.has_ratio = std::fabs(m.FSQ) > 0.001f;
  if (t.has_ratio) t.ratio = m.SIGFSQ / m.FSQ;
  return t;
}

// Mode 2 with the member's terms already worked out.
inline void rint_add_terms(RintSums& acc, const MemberTerms& t) {
  acc.NREF += 1;
  acc.SUMD += t.d;
  acc.SETD += t.d;
  acc.SUMI += t.fsq;
  acc.SETI += t.fsq;
  acc.SUMS += t.sig;
  if (t.has_ratio) acc.SUMRS += t.ratio;
}

inline void RINT_SUMS(RintSums& acc, const run::ReflectionList& refl, int MODE, int I, int J) {
  switch (MODE) {
    case RINT_CLEAR:
      acc = RintSums{};
      break;
    case RINT_START_SET:
      acc.SETD = 0.0;
      acc.SETI = 0.0;
      break;
    case RINT_ADD_MEMBER: {
      const run::EquivSet& set = refl.sets[static_cast<std::size_t>(I - 1)];
      rint_add_terms(acc, member_terms(set, refl.member(set, J)));
      break;
    }
    case RINT_END_SET:
      if (acc.SETI > static_cast<double>(0.001f)) {
        acc.NS += 1;
        acc.RINT2 += acc.SETD / acc.SETI;
      }
      break;
    case RINT_FINISH:
      acc.RINT2 = acc.NS != 0 ? acc.RINT2 / acc.NS : 0.0;
      if (acc.NREF != 0) {
        // Intensities that cancel to exactly zero leave R(int) and R(sigma) without a
        // meaning; they are reported as 0 rather than as a division by zero.
        if (acc.SUMI != 0.0) {
          acc.RINT = static_cast<float>(acc.SUMD / acc.SUMI);
          acc.RSIG = static_cast<float>(acc.SUMS / acc.SUMI);
        } else {
          acc.RINT = 0.0f;
          acc.RSIG = 0.0f;
        }
        acc.RSIG2 = static_cast<float>(acc.SUMRS / acc.NREF);
      } else {
        acc.RINT = 0.0f;
        acc.RSIG = 0.0f;
        acc.RSIG2 = 0.0f;
      }
      break;
    default:
      break;
  }
}


}  // namespace vorlane::averaging
