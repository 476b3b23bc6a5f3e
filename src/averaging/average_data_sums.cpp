#include "averaging/average_data_sums.hpp"

namespace vorlane::averaging {

SetSums set_sums(std::span<const run::Member> members) {
  SetSums s;
  for (const run::Member& m : members) {
    const float fi = m.FSQ;
    const float sig = m.SIGFSQ;
    s.S1 += fi;
    s.S2 += fi * fi;
    s.SS += sig * sig;
    s.SW += member_weight(sig);
  }
  return s;
}

float accepted_sigma_squares(std::span<const run::Member> members) {
  float ss = 0.0f;
  for (const run::Member& m : members)
    if (m.IREJ == 0) ss += m.SIGFSQ * m.SIGFSQ;
  return ss;
}

float accepted_weights(std::span<const run::Member> members) {
  float sw = 0.0f;
  for (const run::Member& m : members)
    if (m.IREJ == 0) sw += member_weight(m.SIGFSQ);
  return sw;
}

}  // namespace vorlane::averaging
