#pragma once
namespace vorlane::run { struct RunState; }

namespace vorlane::expfile {

// Reads the whole experiment file (rs.files.exp, rewound first): title, wavelength, UB/UBL
// cards, cell, axial convention, symmetry keywords and run controls, resetting the controls to
// their defaults first; at the end of the file derives the cell geometry and completes the
// space group. On a fatal error it calls run::ERROR and returns with rs.msg.IHALT = 1.
void READ_EXP_FILE(run::RunState& rs);

}  // namespace vorlane::expfile
