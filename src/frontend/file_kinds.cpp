#include "frontend/file_kinds.hpp"

#include <array>
#include <stdexcept>

#include "frontend/control_ids.hpp"
#include "run/run_files.hpp"

namespace vorlane::frontend {
namespace {

constexpr std::array<FileKind, 4> kinds = {{
    {run::EXPERIMENT, control::experiment_browse, control::experiment_name,
     "ERROR OPENING EXPERIMENT FILE", " "},
    {run::PRINT, control::print_browse, control::print_name, "ERROR OPENING PRINT FILE",
     "No file selected"},
    {run::INPUT, control::input_browse, control::input_name, "ERROR OPENING INPUT DATA FILE",
     "No file selected"},
    {run::OUTPUT, control::output_browse, control::output_name, "ERROR OPENING OUTPUT DATA FILE",
     "No file selected"},
}};

void check_slot(int slot) {
  if (slot < 1 || slot > 4) throw std::out_of_range("file slot must be 1 to 4");
}

}  // namespace

const FileKind& file_kind(int slot) {
  check_slot(slot);
  return kinds[static_cast<std::size_t>(slot - 1)];
}

FileRequest file_request(int slot, std::string initial_name) {
  check_slot(slot);
  FileRequest r;
  r.slot = slot;
  r.selected_filter = 2;
  r.initial_name = std::move(initial_name);
  // On the platforms we build for, "*" is the pattern that also shows names without a dot.
  r.filters.push_back({"All Files", "*"});
  switch (slot) {
    case run::EXPERIMENT:
      r.title = "Open Experiment File";
      r.filters.push_back({"Experiment", "*.exp"});
      r.default_extension = "exp";
      r.must_exist = true;
      break;
    case run::PRINT:
      r.title = "Open Print File";
      r.filters.push_back({"Print", "*.prt"});
      r.filters.push_back({"Log", "*.log"});
      r.default_extension = "prt";
      break;
    case run::INPUT:
      r.title = "Open Input Data File";
      r.filters.push_back({"Zezor", "*.abs"});
      r.filters.push_back({"SHELX hkl", "*.hkl"});
      r.default_extension = "abs";
      r.must_exist = true;
      break;
    default:
      r.title = "Open Output Data File";
      r.filters.push_back({"Zezor", "*.avg"});
      r.filters.push_back({"SHELX hkl", "*.hkl"});
      r.default_extension = "avg";
      r.save = true;
      r.overwrite_prompt = true;
      break;
  }
  return r;
}

}  // namespace vorlane::frontend
