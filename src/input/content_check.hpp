#pragma once
// Before a run: do the first lines of the input file look like the format it will be read in?
// A SADABS listing or a file of the other format would otherwise be read as reflections.
#include <istream>
#include <string>

namespace vorlane::input {

// What the first 20 non-blank lines of `in` hold, as a short description, when it does not
// fit `infmt` (0 Zezor, 1 SHELX); empty when it fits or the lines say too little. A first
// line of text (a header) is left out, as the reader skips it.
std::string content_mismatch(std::istream& in, int infmt);

}  // namespace vorlane::input
