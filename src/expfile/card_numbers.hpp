#pragma once
// Free-format numbers on an experiment-file card, with the reader's rule that a value which
// reads as NaN or an infinity is never accepted.
#include "records/free_reader.hpp"

namespace vorlane::expfile {

enum class Got {
  value,    // stored (or a null value left the variable as it was)
  missing,  // the list ended before the value
  bad,      // not a number of the type (the variable is left as it was)
  infinite, // NaN or an infinity: never usable (the variable is left as it was)
};

Got next_number(records::FreeReader& reader, float& value);
Got next_number(records::FreeReader& reader, int& value);

}  // namespace vorlane::expfile
