// libFuzzer target: the experiment-file reader and the symmetry listing that follows it.
#include <cstdint>
#include <string>

#include "fuzz_harness.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  vorlane::fuzz::read_experiment_file(std::string(reinterpret_cast<const char*>(data), size));
  return 0;
}
