// Time of every stage of one whole run, in the driver's order, on a data set of
// bench/gen_synthetic: shows where a run spends its time (the whole-run benchmark gives only
// the sum). Wall time and processor time, each the best of several repetitions per stage: on
// a shared machine the processor time varies less.
//
// usage: bench_stages PREFIX [REPETITIONS]   (PREFIX.exp and PREFIX.hkl; outputs in the temp
// folder)
#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "averaging/average_data.hpp"
#include "averaging/calc_rint.hpp"
#include "averaging/handle_singlets.hpp"
#include "averaging/reject_data.hpp"
#include "averaging/totals.hpp"
#include "expfile/read_exp_file.hpp"
#include "expfile/symmetry_cards.hpp"
#include "run/dialogs.hpp"
#include "input/read_data.hpp"
#include "output/create_cif_vorlane.hpp"
#include "output/print_header.hpp"
#include "output/print_summary.hpp"
#include "output/printdata.hpp"
#include "output/write_data.hpp"
#include "pipeline/statistics_stage.hpp"
#include "run/run_files.hpp"
#include "run/run_state.hpp"
#include "symmetry/opsym.hpp"
#include "symmetry/syminv.hpp"

namespace {

namespace fs = std::filesystem;
using namespace vorlane;

class QuietDialogs : public run::Dialogs {
 public:
  void fatal_box(std::string_view) override {}
  void warning_box(std::string_view) override {}
  int ask_format(int, std::string_view, int current) override { return current; }
  int ask_sigma_ratio(std::string_view) override { return 0; }
  void standard_output(std::string_view) override {}
};

struct Stage {
  const char* name;
  std::function<void(run::RunState&)> run;
};

// The driver's stages from the reader on (the ones before it take no measurable time), one
// after another: the driver works out the statistics and the CIF's figures on a second thread
// while the R table, the listing and the output are written; here each is timed alone.
std::vector<Stage> stages() {
  return {
      {"READ_DATA", input::READ_DATA},
      {"AVERAGE_DATA", averaging::AVERAGE_DATA},
      {"HANDLE_SINGLETS", averaging::HANDLE_SINGLETS},
      {"REJECTDATA", averaging::REJECTDATA},
      {"TOTALS", averaging::TOTALS},
      {"CALC_RINT", averaging::CALC_RINT},
      {"STATISTICS", pipeline::compute_run_statistics},
      {"PRINTDATA", [](run::RunState& rs) { output::PRINTDATA(rs); }},
      {"WRITEDATA", output::WRITEDATA},
      {"CREATE_CIF_VORLANE", [](run::RunState& rs) { output::CREATE_CIF_VORLANE(rs); }},
      {"REPORTS", [](run::RunState& rs) { pipeline::write_run_reports(rs); }},
  };
}

struct Seconds {
  double wall;
  double cpu;
};

// One run; the seconds of every stage.
std::vector<Seconds> one_run(const std::string& prefix) {
  const fs::path scratch = fs::temp_directory_path() / "vorlane-bench-stages";
  fs::create_directories(scratch);
  fs::remove(scratch / "run.prt");
  run::RunState rs;
  QuietDialogs dialogs;
  rs.dialogs = &dialogs;
  run::RunFiles& f = rs.files;
  const bool ok = run::open_run_file(f, run::EXPERIMENT, prefix + ".exp") &&
                  run::open_run_file(f, run::INPUT, prefix + ".hkl") &&
                  run::open_run_file(f, run::PRINT, scratch / "run.prt") &&
                  run::open_run_file(f, run::OUTPUT, scratch / "run_out.hkl");
  if (!ok) throw std::runtime_error("cannot open the data set " + prefix);
  f.INFMT = 1;
  f.OUTFMT = 1;
  output::PRINT_HEADER(rs);
  expfile::READ_EXP_FILE(rs);
  symmetry::OPSYM(rs.sg, rs.files.print);
  symmetry::SYMINV(rs.sg, 2, rs.files.print);
  symmetry::OPSYM(rs.sg, rs.files.print);
  expfile::UNITIN_EXP(rs.sg, rs.files.print);
  output::PRINT_SUMMARY(rs);
  std::vector<Seconds> seconds;
  for (const Stage& s : stages()) {
    const auto start = std::chrono::steady_clock::now();
    const std::clock_t cpu_start = std::clock();
    s.run(rs);
    if (s.run.target<void (*)(run::RunState&)>() != nullptr &&
        *s.run.target<void (*)(run::RunState&)>() == output::WRITEDATA) {
      rs.files.out->flush();
    }
    seconds.push_back(
        {std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(),
         static_cast<double>(std::clock() - cpu_start) / CLOCKS_PER_SEC});
    if (rs.msg.IHALT != 0) throw std::runtime_error("the run halted: " + rs.msg.ERRMSG);
  }
  run::close_run_files(rs.files);
  return seconds;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fputs("usage: bench_stages PREFIX [REPETITIONS]\n", stderr);
    return 2;
  }
  const int repetitions = argc > 2 ? std::max(1, std::stoi(argv[2])) : 3;
  std::vector<Seconds> best;
  for (int r = 0; r < repetitions; ++r) {
    const std::vector<Seconds> s = one_run(argv[1]);
    if (best.empty()) best = s;
    for (std::size_t i = 0; i < s.size(); ++i) {
      best[i].wall = std::min(best[i].wall, s[i].wall);
      best[i].cpu = std::min(best[i].cpu, s[i].cpu);
    }
  }
  Seconds total{0.0, 0.0};
  const std::vector<Stage> names = stages();
  std::printf("%-20s %9s %9s\n", "stage", "wall ms", "cpu ms");
  for (std::size_t i = 0; i < best.size(); ++i) {
    std::printf("%-20s %9.1f %9.1f\n", names[i].name, best[i].wall * 1e3, best[i].cpu * 1e3);
    total.wall += best[i].wall;
    total.cpu += best[i].cpu;
  }
  std::printf("%-20s %9.1f %9.1f\n", "sum", total.wall * 1e3, total.cpu * 1e3);
  return 0;
}
