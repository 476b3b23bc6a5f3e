// Benchmarks of the reflection input and output stages and of whole runs on synthetic data
// (bench/gen_synthetic). The data sets are PREFIX.exp / PREFIX.hkl in the folder given by
// --data-dir=DIR (default: the current folder), named s5 (10^5 reflections) and s6 (10^6).
// The output of the benchmarked runs goes to a scratch folder under the system temp folder.
#include <benchmark/benchmark.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "averaging/average_data.hpp"
#include "averaging/handle_singlets.hpp"
#include "averaging/reject_data.hpp"
#include "expfile/read_exp_file.hpp"
#include "run/dialogs.hpp"
#include "input/read_data.hpp"
#include "output/write_data.hpp"
#include "run/run_files.hpp"
#include "run/run_state.hpp"
#include "pipeline/run_vorlane.hpp"
#include "symmetry/syminv.hpp"

namespace {

namespace fs = std::filesystem;
using namespace vorlane;

std::string data_set(std::int64_t n) { return n >= 1000000 ? "s6" : "s5"; }

class QuietDialogs : public frontend::Dialogs {
 public:
  void fatal_box(std::string_view) override {}
  void warning_box(std::string_view) override {}
  int ask_format(int, std::string_view, int current) override { return current; }
  int ask_sigma_ratio(std::string_view) override { return 0; }
  void standard_output(std::string_view) override {}
};

// A run state on the data set's experiment and input files, with the print file and the output
// file in a scratch folder.
struct BenchRun {
  run::RunState rs;
  QuietDialogs dialogs;
  fs::path scratch;

  BenchRun(const fs::path& data_dir, const std::string& name) {
    scratch = fs::temp_directory_path() / "vorlane-bench";
    fs::create_directories(scratch);
    const fs::path base = data_dir / name;
    run::RunFiles& f = rs.files;
    bool ok = run::open_run_file(f, run::EXPERIMENT, base.string() + ".exp") &&
              run::open_run_file(f, run::INPUT, base.string() + ".hkl");
    fs::remove(scratch / (name + ".prt"));
    ok = ok && run::open_run_file(f, run::PRINT, scratch / (name + ".prt")) &&
         run::open_run_file(f, run::OUTPUT, scratch / (name + "_out.hkl"));
    if (!ok) throw std::runtime_error("cannot open the data set " + base.string());
    f.INFMT = 1;
    f.OUTFMT = 1;
    rs.dialogs = &dialogs;
    rs.clock.now = [] { return output::LocalTime{}; };
  }
  ~BenchRun() { run::close_run_files(rs.files); }

  // The stages before the reader: experiment file and the operators acting on indices.
  void prepare() {
    expfile::READ_EXP_FILE(rs);
    symmetry::SYMINV(rs.sg, 2, rs.files.print);
  }
};

void BM_ReadData(benchmark::State& state, const fs::path& data_dir) {
  const std::string name = data_set(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    auto run = std::make_unique<BenchRun>(data_dir, name);
    run->prepare();
    state.ResumeTiming();
    input::READ_DATA(run->rs);
    benchmark::DoNotOptimize(run->rs.refl.members.data());
    state.PauseTiming();
    if (run->rs.msg.IHALT != 0) state.SkipWithError("the reader halted");
    run.reset();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_WriteData(benchmark::State& state, const fs::path& data_dir) {
  const std::string name = data_set(state.range(0));
  BenchRun run(data_dir, name);
  run.prepare();
  input::READ_DATA(run.rs);
  averaging::AVERAGE_DATA(run.rs);
  averaging::HANDLE_SINGLETS(run.rs);
  averaging::REJECTDATA(run.rs);
  const bool individual = state.range(1) != 0;
  run.rs.ctl.IOUTAVE = individual ? 0 : 1;
  for (auto _ : state) {
    state.PauseTiming();
    run::open_run_file(run.rs.files, run::OUTPUT, run.scratch / (name + "_out.hkl"));
    state.ResumeTiming();
    output::WRITEDATA(run.rs);
  }
  if (run.rs.msg.IHALT != 0) state.SkipWithError("the writer halted");
  state.SetItemsProcessed(state.iterations() *
                          (individual ? static_cast<std::int64_t>(run.rs.refl.members.size())
                                      : static_cast<std::int64_t>(run.rs.refl.sets.size())));
}

void BM_WholeRun(benchmark::State& state, const fs::path& data_dir) {
  const std::string name = data_set(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    auto run = std::make_unique<BenchRun>(data_dir, name);
    state.ResumeTiming();
    run::RUN_VORLANE(run->rs);
    state.PauseTiming();
    if (run->rs.msg.IHALT != 0) {
      state.SkipWithError(("the run halted: " + run->rs.msg.ERRMSG.substr(0, 80)).c_str());
    }
    run.reset();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

void register_benchmarks(const fs::path& data_dir) {
  benchmark::RegisterBenchmark("BM_ReadData", BM_ReadData, data_dir)
      ->Arg(100000)
      ->Arg(1000000)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("BM_WriteData", BM_WriteData, data_dir)
      ->Args({100000, 0})
      ->Args({1000000, 0})
      ->Args({1000000, 1})
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("BM_WholeRun", BM_WholeRun, data_dir)
      ->Arg(100000)
      ->Arg(1000000)
      ->Unit(benchmark::kMillisecond);
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<char*> args;
  fs::path data_dir = ".";
  for (int i = 0; i < argc; ++i) {
    constexpr const char* flag = "--data-dir=";
    if (std::strncmp(argv[i], flag, std::strlen(flag)) == 0) {
      data_dir = argv[i] + std::strlen(flag);
    } else {
      args.push_back(argv[i]);
    }
  }
  register_benchmarks(data_dir);
  int n = static_cast<int>(args.size());
  benchmark::Initialize(&n, args.data());
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
