// libFuzzer target: the whole run in process (see fuzz_harness.hpp for the input layout).
#include <cstdlib>
#include <filesystem>
#include <string>

#include "fuzz_harness.hpp"

namespace {

std::filesystem::path folder;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  folder = vorlane::fuzz::temporary_folder();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  vorlane::fuzz::run_from_bytes(data, size, folder, true);
  return 0;
}
