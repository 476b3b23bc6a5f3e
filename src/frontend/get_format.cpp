#include "frontend/get_format.hpp"

namespace vorlane::frontend {

std::string format_shown_name(std::string_view fname) {
  const std::size_t n = std::min(fname.find("   "), fname.size());
  const std::size_t shown = 40;
  return std::string(n <= shown ? fname.substr(0, n) : fname.substr(n - shown, shown));
}

int RADIOFORMAT(bool zezor_selected) { return zezor_selected ? 0 : 1; }

void GET_FORMAT(run::RunFiles& files, Dialogs& dialogs, int IFILE) {
  int& flag = IFILE == run::INPUT ? files.INFMT : files.OUTFMT;
  const auto& name = files.FNAME[static_cast<std::size_t>(IFILE == run::INPUT ? 2 : 3)];
  const int answer = dialogs.ask_format(IFILE, format_shown_name(name), flag);
  // Only the two formats exist; anything else from a front end leaves the flag as it was.
  if (answer == 0 || answer == 1) flag = answer;
}

namespace {

void decide_format(run::RunFiles& files, Dialogs& dialogs, int slot) {
  const int known = run::format_from_name(files.FNAME[static_cast<std::size_t>(slot - 1)], slot);
  if (known >= 0)
    (slot == run::INPUT ? files.INFMT : files.OUTFMT) = known;
  else
    GET_FORMAT(files, dialogs, slot);
}

}  // namespace

void decide_formats(run::RunFiles& files, Dialogs& dialogs) {
  decide_format(files, dialogs, run::INPUT);
  decide_format(files, dialogs, run::OUTPUT);
}

void decide_output_format(run::RunFiles& files, Dialogs& dialogs) {
  decide_format(files, dialogs, run::OUTPUT);
}

}  // namespace vorlane::frontend
