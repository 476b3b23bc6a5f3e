// libFuzzer target: the whole run in process (see fuzz_harness.hpp for the input layout).
#include <cstdlib>
#include <filesystem>
#include <string>

#include "fuzz_harness.hpp"

namespace {

std::filesystem::path folder;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  char name[] = "/tmp/vorlane-fuzz-XXXXXX";
  if (mkdtemp(name) == nullptr) std::abort();
  folder = name;
  std::atexit([] {
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
  });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  vorlane::fuzz::run_from_bytes(data, size, folder, true);
  return 0;
}
