#pragma once
// The Dialogs of the command line: boxes become lines on standard error, questions are asked
// on the terminal or answered from the command line.
#include <istream>
#include <ostream>

#include "frontend/cli_options.hpp"
#include "run/dialogs.hpp"

namespace vorlane::frontend {

class TerminalDialogs : public Dialogs {
 public:
  TerminalDialogs(std::istream& in, std::ostream& out, std::ostream& err, bool interactive,
                  SigmaRatioAnswer sigma_ratio)
      : in_(in), out_(out), err_(err), interactive_(interactive), sigma_ratio_(sigma_ratio) {}

  void fatal_box(std::string_view text) override;
  void warning_box(std::string_view text) override;
  int ask_format(int file_number, std::string_view shown_name, int current) override;
  int ask_sigma_ratio(std::string_view ratio_line) override;
  void standard_output(std::string_view line) override;

 private:
  std::istream& in_;
  std::ostream& out_;
  std::ostream& err_;
  bool interactive_;
  SigmaRatioAnswer sigma_ratio_;
};

}  // namespace vorlane::frontend
