#pragma once
// The symmetry keywords of the control card (SYMOP, UNITIN, LAUE) turned into the space group
// and the asymmetric unit, and their listing in the print file.
//
// Cards are the 80-column, already upper-cased card text; `column` is the 1-based column where
// the keyword's text starts (the column after the keyword). A card shorter than `length` reads
// as if padded with blanks.
#include <string_view>

#include "records/print_file.hpp"
#include "symmetry/space_group.hpp"

namespace vorlane::expfile {

// Error codes of READ_UNITIN and READ_LAUE.
inline constexpr int SYMCARD_OK = 0;
inline constexpr int SYMCARD_BAD = 1;             // unreadable plane / no Laue symbol
inline constexpr int SYMCARD_TOO_MANY_PLANES = 2; // an 11th asymmetric-unit plane
// The fatal text the experiment-file reader gives for SYMCARD_TOO_MANY_PLANES.
inline constexpr std::string_view TOO_MANY_PLANES_MESSAGE =
    "TOO MANY ASYMMETRIC UNIT PLANES - 10 ALLOWED";

// Identity-only group, no asymmetric unit.
void INITSYM(symmetry::SpaceGroup& sg);

// Adds the operator written on the card from `column` on (a coordinate triplet such as
// -X,Y+1/2,-Z) and completes the group. `error` is never changed. May throw
// records::ProgramStop (table overflow, message for standard output).
void READ_SYMM(symmetry::SpaceGroup& sg, std::string_view card, int length, int column,
               int& error);

// Appends one plane read from four 5-column integer fields starting at `column`.
// error = SYMCARD_BAD when a field is not an integer, SYMCARD_TOO_MANY_PLANES when 10 planes
// are already held (the plane is not stored). `error` is left alone on success.
void READ_UNITIN(symmetry::SpaceGroup& sg, std::string_view card, int length, int column,
                 int& error);

// Looks for a Laue-class symbol anywhere on the card. Found: LAUECLS = its row (1..12), the
// group is rebuilt from the class's generators and the class's planes are appended, error = 0
// (SYMCARD_TOO_MANY_PLANES, and no planes appended, when they would exceed 10). Not found:
// error = SYMCARD_BAD and nothing else changes (apart from the cleared operator slots 2..49).
void READ_LAUE(symmetry::SpaceGroup& sg, std::string_view card, int length, int column,
               int& error, int& LAUECLS);

// After the last card: closes the centring vectors, pairs every operator with its
// centrosymmetric partner, sets ICENTRIC and reports to the print file. May throw
// records::ProgramStop (incomplete centrosymmetric group, after its print-file report).
void SYMOP_EXP(symmetry::SpaceGroup& sg, records::PrintFile& prt);

// Lists the asymmetric-unit planes in the print file.
void UNITIN_EXP(const symmetry::SpaceGroup& sg, records::PrintFile& prt);

}  // namespace vorlane::expfile
