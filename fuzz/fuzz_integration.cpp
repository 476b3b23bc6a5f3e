// libFuzzer target: the readers of integration programs' files (XDS_ASCII, reflection CIF,
// MTZ) and the SHELX records made of what they read, filed by a whole run. The first byte picks
// the reader (0 XDS_ASCII, 1 CIF, 2 MTZ), the rest is the file.
#include <cstdlib>
#include <filesystem>
#include <string>

#include "fuzz_harness.hpp"
#include "input/integration_input.hpp"
#include "input/shelx_equivalent.hpp"

namespace {

std::filesystem::path folder;

// A small cell at copper radiation keeps the run's coverage count short.
constexpr char EXPERIMENT[] =
    "CELL  5 6 7 90 95 90\nWAVEL 1 1.5418\nVORLAN SPACEGROUP P 21/c\n";

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  folder = vorlane::fuzz::temporary_folder();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  using vorlane::input::IntegrationFormat;
  const IntegrationFormat formats[] = {IntegrationFormat::xds, IntegrationFormat::cif,
                                       IntegrationFormat::mtz};
  const std::string_view content(reinterpret_cast<const char*>(data) + 1, size - 1);
  std::string records;
  try {
    const auto read = vorlane::input::read_integration_text(content, formats[data[0] % 3], "fuzz");
    records = vorlane::input::shelx_equivalent(read, "fuzz");
  } catch (const vorlane::input::IntegrationReadError&) {
    return 0;
  }
  // SHELX input (selector bit 0), the fixed experiment file, then the records.
  std::string run(1, '\1');
  run += EXPERIMENT;
  run += '\0';
  run += records;
  vorlane::fuzz::run_from_bytes(reinterpret_cast<const std::uint8_t*>(run.data()), run.size(),
                                folder, true);
  return 0;
}
