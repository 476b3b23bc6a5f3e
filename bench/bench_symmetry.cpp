// Benchmark of `vorlane symmetry` (reading the experiment and input files, the analysis and
// its tables) on one real data set: PREFIX.exp with PREFIX.hkl (or PREFIX.abs) given by the
// environment variable VORLANE_SYMMETRY_SET, e.g. the 119 065 records of sucrose_p21_sadabs
// (target: under a second a run on the default build).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "frontend/cli_symmetry.hpp"

namespace {

void BM_Symmetry(benchmark::State& state) {
  const char* prefix = std::getenv("VORLANE_SYMMETRY_SET");
  if (prefix == nullptr) {
    state.SkipWithError("set VORLANE_SYMMETRY_SET=PREFIX (PREFIX.exp and PREFIX.hkl or .abs)");
    return;
  }
  const std::string base = prefix;
  const std::string data =
      std::filesystem::exists(base + ".hkl") ? base + ".hkl" : base + ".abs";
  const std::vector<std::string> args{base + ".exp", data};
  for (auto _ : state) {
    std::istringstream in;
    std::ostringstream out, err;
    const int status = vorlane::frontend::run_symmetry_cli(args, {in, out, err, false});
    if (status != 0) state.SkipWithError(("exit status " + std::to_string(status) + ": " + err.str()).c_str());
    benchmark::DoNotOptimize(out.str().size());
  }
}
BENCHMARK(BM_Symmetry)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
