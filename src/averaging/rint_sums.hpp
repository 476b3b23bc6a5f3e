#pragma once
// The accumulator behind the R(int) / R(sigma) table: one pass over a chosen group of sets
// and members gives NREF, RINT, RINT2, RSIG and RSIG2.
#include "run/reflection_list.hpp"

namespace vorlane::averaging {

struct RintSums {
  int NREF = 0;      // members added
  int NS = 0;        // sets that entered RINT2
  float SUMD = 0.0f; // sum of abs(FSQ - FAVE)
  float SUMI = 0.0f; // sum of FSQ
  float SUMS = 0.0f; // sum of SIGFSQ
  float SUMRS = 0.0f;  // sum of SIGFSQ/FSQ over members with abs(FSQ) > 0.001
  float RINT2 = 0.0f;  // sum of per-set R, then their mean
  float SETD = 0.0f;
  float SETI = 0.0f;
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
void RINT_SUMS(RintSums& acc, const run::ReflectionList& refl, int MODE, int I = 0, int J = 0);

}  // namespace vorlane::averaging
