#include "frontend/cli_dialogs.hpp"

#include <string>

namespace vorlane::frontend {
namespace {

std::string trimmed(std::string_view s) {
  const auto b = s.find_first_not_of(' ');
  if (b == std::string_view::npos) return {};
  const auto e = s.find_last_not_of(' ');
  return std::string(s.substr(b, e - b + 1));
}

}  // namespace

void TerminalDialogs::fatal_box(std::string_view text) {
  err_ << "vorlane: FATAL ERROR: " << trimmed(text) << '\n';
}

void TerminalDialogs::warning_box(std::string_view text) {
  err_ << "vorlane: WARNING: " << trimmed(text) << '\n';
}

int TerminalDialogs::ask_format(int file_number, std::string_view shown_name, int current) {
  if (!interactive_) return current;
  for (;;) {
    err_ << "File extension not recognised for file " << (file_number == 3 ? "(input) " : "(output) ")
         << trimmed(shown_name) << "\nSelect file format: z = Zezor abs/avg, s = Shelx hkl: "
         << std::flush;
    std::string line;
    if (!std::getline(in_, line)) return current;
    const std::string a = trimmed(line);
    if (a == "z" || a == "Z") return 0;
    if (a == "s" || a == "S") return 1;
  }
}

int TerminalDialogs::ask_sigma_ratio(std::string_view ratio_line) {
  switch (sigma_ratio_) {
    case SigmaRatioAnswer::apply: return 1;
    case SigmaRatioAnswer::keep: return 0;
    case SigmaRatioAnswer::ask: break;
  }
  if (!interactive_) return 0;
  for (;;) {
    err_ << trimmed(ratio_line)
         << "\nDo you want this ratio applied to the sig(Fsq) of the singlet reflections? [y/n]: "
         << std::flush;
    std::string line;
    if (!std::getline(in_, line)) return 0;
    const std::string a = trimmed(line);
    if (a == "y" || a == "Y" || a == "yes") return 1;
    if (a == "n" || a == "N" || a == "no") return 0;
  }
}

void TerminalDialogs::standard_output(std::string_view line) { out_ << line << '\n'; }

}  // namespace vorlane::frontend
