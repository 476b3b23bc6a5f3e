#include "fuzz_harness.hpp"

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "expfile/read_exp_file.hpp"
#include "expfile/symmetry_cards.hpp"
#include "output/print_summary.hpp"
#include "records/program_stop.hpp"
#include "run/run_state.hpp"
#include "pipeline/run_vorlane.hpp"
#include "symmetry/opsym.hpp"
#include "symmetry/syminv.hpp"

namespace vorlane::fuzz {
namespace {

// Answers every question from the selector byte and shows nothing.
class ScriptedDialogs : public run::Dialogs {
 public:
  explicit ScriptedDialogs(int ratio_answer) : ratio_answer_(ratio_answer) {}
  void fatal_box(std::string_view) override {}
  void warning_box(std::string_view) override {}
  int ask_format(int, std::string_view, int current) override { return current; }
  int ask_sigma_ratio(std::string_view) override { return ratio_answer_; }
  void standard_output(std::string_view) override {}

 private:
  int ratio_answer_;
};

void write_bytes(const std::filesystem::path& path, const char* data, std::size_t size) {
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f.write(data, static_cast<std::streamsize>(size));
}

// Print and output files in memory.
void attach_memory_outputs(run::RunState& rs, std::ostringstream*& print,
                           std::ostringstream*& out) {
  auto p = std::make_unique<std::ostringstream>();
  print = p.get();
  rs.files.print_stream = std::move(p);
  rs.files.print.open(*rs.files.print_stream);
  rs.files.IPRTOPEN = 1;
  auto o = std::make_unique<std::ostringstream>();
  out = o.get();
  rs.files.out = std::move(o);
  rs.files.IOUTOPEN = 1;
}

// Whether the experiment file's cell edges are at most 200 angstroms (or it gives no cell):
// the complete set of any such cell is counted within its bound, or found too large at once.
bool small_cell(const std::string& exp_text) {
  ScriptedDialogs dialogs(0);
  run::RunState rs;
  rs.dialogs = &dialogs;
  rs.files.exp = std::make_unique<std::istringstream>(exp_text);
  rs.files.IEXPOPEN = 1;
  try {
    expfile::READ_EXP_FILE(rs);
  } catch (const records::ProgramStop&) {
    return true;  // the run stops at the same place
  }
  for (int k = 0; k < 3; ++k) {
    const float edge = rs.ctl.CELLPAR[static_cast<std::size_t>(k)];
    if (!(std::fabs(edge) <= 200.0f)) return false;
  }
  return true;
}

}  // namespace

RunOutcome run_from_bytes(const std::uint8_t* data, std::size_t size,
                          const std::filesystem::path& folder, bool bounded_cells, bool* ran) {
  RunOutcome outcome;
  if (ran != nullptr) *ran = false;
  if (size == 0) return outcome;
  const int selector = data[0];
  const char* text = reinterpret_cast<const char*>(data + 1);
  const std::size_t length = size - 1;
  std::size_t split = 0;
  while (split < length && text[split] != '\0') ++split;
  const std::filesystem::path exp_path = folder / "fuzz.exp";
  const std::filesystem::path in_path = folder / "fuzz.hkl";
  write_bytes(exp_path, text, split);
  write_bytes(in_path, split < length ? text + split + 1 : text, split < length ? length - split - 1 : 0);

  if (bounded_cells && !small_cell(std::string(text, split))) return outcome;
  if (ran != nullptr) *ran = true;
  const int ratio = (selector >> 2) & 3;
  ScriptedDialogs dialogs(ratio == 0 ? 0 : ratio == 1 ? 1 : -1);
  run::RunState rs;
  rs.dialogs = &dialogs;
  rs.clock.now = [] { return output::LocalTime{}; };
  if (!run::open_run_file(rs.files, run::EXPERIMENT, exp_path) ||
      !run::open_run_file(rs.files, run::INPUT, in_path)) {
    return outcome;
  }
  rs.files.INFMT = selector & 1;
  rs.files.OUTFMT = (selector >> 1) & 1;
  std::ostringstream* print = nullptr;
  std::ostringstream* out = nullptr;
  attach_memory_outputs(rs, print, out);
  rs.files.FNAME[run::PRINT - 1] = "fuzz.prt";
  rs.files.FNAME[run::OUTPUT - 1] = "fuzz.avg";
  rs.files.paths[run::OUTPUT - 1] = folder / "fuzz.avg";
  run::RUN_VORLANE(rs);
  outcome.halted = rs.msg.IHALT != 0;
  outcome.print = print->str();
  outcome.output = out->str();
  run::close_run_files(rs.files);
  return outcome;
}

RunOutcome read_experiment_file(const std::string& exp_text) {
  ScriptedDialogs dialogs(0);
  run::RunState rs;
  rs.dialogs = &dialogs;
  rs.clock.now = [] { return output::LocalTime{}; };
  rs.files.exp = std::make_unique<std::istringstream>(exp_text);
  rs.files.IEXPOPEN = 1;
  std::ostringstream* print = nullptr;
  std::ostringstream* out = nullptr;
  attach_memory_outputs(rs, print, out);
  try {
    expfile::READ_EXP_FILE(rs);
    if (rs.msg.IHALT == 0) {
      symmetry::OPSYM(rs.sg, rs.files.print);
      symmetry::SYMINV(rs.sg, 2, rs.files.print);
      symmetry::OPSYM(rs.sg, rs.files.print);
      expfile::UNITIN_EXP(rs.sg, rs.files.print);
      output::PRINT_SUMMARY(rs);
    }
  } catch (const records::ProgramStop&) {
    rs.msg.IHALT = 1;
  }
  RunOutcome outcome;
  outcome.halted = rs.msg.IHALT != 0;
  outcome.print = print->str();
  return outcome;
}

std::filesystem::path temporary_folder() {
  char name[] = "/tmp/vorlane-fuzz-XXXXXX";
  if (mkdtemp(name) == nullptr) std::abort();
  static std::filesystem::path folder;
  folder = name;
  std::atexit([] {
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
  });
  return folder;
}

}  // namespace vorlane::fuzz
