#pragma once
// The dialogs a run talks to: every warning of the run is kept for the result list (the
// window's Warnings tab) and none stops the run in a box: a warning says the work went on,
// so only fatal errors and the questions, which need the user, are modal. Everything else
// goes to the window's own dialogs.
#include <string>
#include <vector>

#include "run/dialogs.hpp"

namespace vorlane::frontend {

class RunWarnings : public Dialogs {
 public:
  explicit RunWarnings(Dialogs& inner) : inner_(inner) {}

  // Forgets the warnings of the previous run.
  void clear() { warnings_.clear(); }
  const std::vector<std::string>& warnings() const { return warnings_; }

  void fatal_box(std::string_view text) override { inner_.fatal_box(text); }
  void warning_box(std::string_view text) override;
  int ask_format(int file_number, std::string_view shown_name, int current) override {
    return inner_.ask_format(file_number, shown_name, current);
  }
  int ask_sigma_ratio(std::string_view ratio_line) override {
    return inner_.ask_sigma_ratio(ratio_line);
  }
  void standard_output(std::string_view line) override { inner_.standard_output(line); }

 private:
  Dialogs& inner_;
  std::vector<std::string> warnings_;
};

}  // namespace vorlane::frontend
