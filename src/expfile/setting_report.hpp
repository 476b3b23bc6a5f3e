#pragma once
// What a run works with, stated once: the wavelength and where it came from, the symmetry
// (its name when known, operators, centring, Laue class) and the handling of Friedel mates.
// The same lines go into the print file after the space group and into the terminal summary.
#include <string>
#include <vector>

namespace vorlane::run { struct RunState; }

namespace vorlane::expfile {

// The lines, without carriage control. Valid after the experiment file has been read.
std::vector<std::string> setting_lines(const run::RunState& rs);

// Writes them to the print file, each behind one blank.
void print_setting_lines(run::RunState& rs);

// Crystallographers' symbol of row `row` of the Laue table ("mmm", "-3m1" ...); empty for 0.
std::string laue_symbol(int row);

// Lattice centring letter from the centring vectors: P, A, B, C, I, F, R, or "?".
std::string centring_letter(const run::RunState& rs);

}  // namespace vorlane::expfile
