#pragma once
// The few conditions that stop the whole program in the original design (an operator table
// that overflows, a singular operator, an incomplete group, an impossible cosine ...) end the
// current run as halted instead: the routine that meets one throws ProgramStop, the run
// driver catches it, and the front end reports the halt. The message has already been written
// to the print file when `to_standard_output` is false; otherwise it is meant for standard
// output and the driver passes it on.
#include <stdexcept>
#include <string>

namespace vorlane::records {

class ProgramStop : public std::runtime_error {
 public:
  ProgramStop(std::string message, bool to_standard_output)
      : std::runtime_error(message), to_standard_output_(to_standard_output) {}
  bool to_standard_output() const { return to_standard_output_; }

 private:
  bool to_standard_output_;
};

}  // namespace vorlane::records
