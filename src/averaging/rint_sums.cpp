#include "averaging/rint_sums.hpp"

#include <cmath>

namespace vorlane::averaging {

void RINT_SUMS(RintSums& acc, const run::ReflectionList& refl, int MODE, int I, int J) {
  switch (MODE) {
    case RINT_CLEAR:
      acc = RintSums{};
      break;
    case RINT_START_SET:
      acc.SETD = 0.0f;
      acc.SETI = 0.0f;
      break;
    case RINT_ADD_MEMBER: {
      const run::EquivSet& set = refl.sets[static_cast<std::size_t>(I - 1)];
      const run::Member& m = refl.member(set, J);
      acc.NREF += 1;
      const float d = std::fabs(m.FSQ - set.FAVE);
      acc.SUMD += d;
      acc.SETD += d;
      acc.SUMI += m.FSQ;
      acc.SETI += m.FSQ;
      acc.SUMS += m.SIGFSQ;
      if (std::fabs(m.FSQ) > 0.001f) acc.SUMRS += m.SIGFSQ / m.FSQ;
      break;
    }
    case RINT_END_SET:
      if (acc.SETI > 0.001f) {
        acc.NS += 1;
        acc.RINT2 += acc.SETD / acc.SETI;
      }
      break;
    case RINT_FINISH:
      acc.RINT2 = acc.NS != 0 ? acc.RINT2 / static_cast<float>(acc.NS) : 0.0f;
      if (acc.NREF != 0) {
        // Intensities that cancel to exactly zero leave R(int) and R(sigma) without a
        // meaning; they are reported as 0 rather than as a division by zero.
        if (acc.SUMI != 0.0f) {
          acc.RINT = acc.SUMD / acc.SUMI;
          acc.RSIG = acc.SUMS / acc.SUMI;
        } else {
          acc.RINT = 0.0f;
          acc.RSIG = 0.0f;
        }
        acc.RSIG2 = acc.SUMRS / static_cast<float>(acc.NREF);
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
