#pragma once
// Before a run: do the first lines of the input file look like the format it will be read in?
// A SADABS listing or a file of the other format would otherwise be read as reflections.
#include <filesystem>
#include <istream>
#include <string>

namespace vorlane::input {

// What the first 20 non-blank lines of `in` hold, as a short description, when it does not
// fit `infmt` (0 Zezor, 1 SHELX); empty when it fits or the lines say too little. A first
// line of text (a header) is left out, as the reader skips it.
std::string content_mismatch(std::istream& in, int infmt);

// The message for the user when the file at `path` does not fit `infmt`: the file, the format
// expected, what was found and the option that overrides the name; empty when it fits.
std::string content_check_message(const std::filesystem::path& path, int infmt);

}  // namespace vorlane::input
