#pragma once
// The sine belonging to a cosine, with the cosine clamped near unity.
#include "records/print_file.hpp"

namespace vorlane::symmetry {

// abs(CS) beyond 1.0001: " sin or cos greater than  unity, value is" CS(E12.4) " loc =" LOC(I5)
// in the print file, then records::ProgramStop. abs(CS) >= 1: CS = +-1, SN = 0. Otherwise
// SN = sqrt(1 - CS²).
void SINCOS(float& CS, float& SN, int LOC, records::PrintFile& prt);

}  // namespace vorlane::symmetry
