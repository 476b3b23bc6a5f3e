#pragma once
// Lists the group in the print file: general positions (IMATMODE 1) or equivalent
// reflections with their phase shifts (IMATMODE 2).
#include "records/print_file.hpp"
#include "symmetry/space_group.hpp"

namespace vorlane::symmetry {

void OPSYM(const SpaceGroup& sg, records::PrintFile& prt);

}  // namespace vorlane::symmetry
