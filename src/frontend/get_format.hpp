#pragma once
// The question about a reflection file whose extension names no known format.
#include <string>
#include <string_view>

#include "run/dialogs.hpp"
#include "run/run_files.hpp"

namespace vorlane::frontend {

// The file name as the format question shows it: the name up to its first run of three
// blanks, and of a longer name only its last 40 characters.
std::string format_shown_name(std::string_view fname);

// Asks for the format of file IFILE (3 input data, 4 output data) and stores the answer in
// INFMT (IFILE = 3) or OUTFMT (otherwise). Closing the question without a choice keeps the flag.
void GET_FORMAT(run::RunFiles& files, Dialogs& dialogs, int IFILE);

// The flag a click on either radio button of the format question gives: 0 (Zezor) while the
// "Zezor abs/avg" button is selected, else 1 (SHELX).
int RADIOFORMAT(bool zezor_selected);

// Decides INFMT and then OUTFMT from the names, asking where a name is not recognised.
void decide_formats(run::RunFiles& files, Dialogs& dialogs);
// OUTFMT alone, when the input is an integration program's file read as SHELX records.
void decide_output_format(run::RunFiles& files, Dialogs& dialogs);

}  // namespace vorlane::frontend
