#pragma once
// Membership of a position in a list, modulo whole lattice translations.
#include <span>

#include "symmetry/space_group.hpp"

namespace vorlane::symmetry {

// Looks X up in LIST slots 1..N (components equal within 0.0005 modulo 1). Found: N = its
// slot. Not found: X is stored unchanged in slot N+1 and N = N+1; when that exceeds NMAX the
// run stops (records::ProgramStop, message for standard output:
// " more than" NMAX(I3) "equivalent positions found").
void EQPOS(std::span<Vec3> LIST, const Vec3& X, int& N, int NMAX);

}  // namespace vorlane::symmetry
