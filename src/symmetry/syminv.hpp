#pragma once
// Switches the operator matrices between the position form and the reflection form.
#include "records/print_file.hpp"
#include "symmetry/space_group.hpp"

namespace vorlane::symmetry {

// MODE 1: matrices act on positions (as read). MODE 2: SYMROT(k) becomes the matrix that maps
// a reflection column h to its image, the row vector h·R of the position matrix R, i.e. the
// transpose of R; for the orthogonal matrices of all but the trigonal and hexagonal groups
// this is the inverse of R. Nothing happens when IMATMODE already equals MODE. A matrix with
// abs(det) < 0.0001 cannot be a symmetry operation: " symmetry matrix number" K(I4)
// " is singular" goes to the print file and the run stops (records::ProgramStop).
void SYMINV(SpaceGroup& sg, int MODE, records::PrintFile& prt);

}  // namespace vorlane::symmetry
