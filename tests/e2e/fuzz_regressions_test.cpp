// Inputs the fuzz targets found, kept as they were found: experiment files (read and listed
// as a run does before the data) and whole-run inputs (see fuzz/fuzz_harness.hpp). Each must
// end the run in an orderly way; under the sanitizers any read outside a table fails it.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "fuzz_harness.hpp"
#include "input/integration_input.hpp"
#include "support/test_support.hpp"

namespace vorlane {
namespace {

namespace fs = std::filesystem;
const fs::path kFolder = fs::path(VORLANE_TEST_DATA) / "fuzz-regressions";

std::vector<fs::path> files_in(const fs::path& folder) {
  std::vector<fs::path> files;
  for (const auto& e : fs::directory_iterator(folder)) files.push_back(e.path());
  std::sort(files.begin(), files.end());
  return files;
}

TEST(FuzzRegressions, ExperimentFilesAreReadAndListed) {
  const auto files = files_in(kFolder / "exp");
  ASSERT_GE(files.size(), 10u);
  for (const fs::path& f : files) {
    SCOPED_TRACE(f.filename().string());
    const auto start = std::chrono::steady_clock::now();
    const fuzz::RunOutcome r = fuzz::read_experiment_file(testing::read_text_file(f.string()));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    if (f.filename() == "symop-whole-translation") {
      // x' = 6 has no variable and six whole cells are no translation: an empty field.
      const std::string line = "\n" + std::string(26, ' ') + "y" + std::string(19, ' ') + "z";
      EXPECT_NE(r.print.find(line), std::string::npos) << r.print;
      EXPECT_NE(r.print.find("symmetry matrix number   2 is singular"), std::string::npos);
    } else if (f.filename() == "unitin-wide") {
      EXPECT_FALSE(r.halted);
    }
  }
}

TEST(FuzzRegressions, WholeRunsEndInOrder) {
  const std::string dir = testing::make_temp_dir("fuzzreg");
  const auto files = files_in(kFolder / "run");
  ASSERT_FALSE(files.empty());
  for (const fs::path& f : files) {
    SCOPED_TRACE(f.filename().string());
    const std::string bytes = testing::read_text_file(f.string());
    const auto start = std::chrono::steady_clock::now();
    bool ran = false;
    const fuzz::RunOutcome r = fuzz::run_from_bytes(
        reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), dir, true, &ran);
    EXPECT_TRUE(ran);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    // The run got as far as its print header, whatever its end.
    EXPECT_NE(r.print.find("VORLANE PROGRAM - VERSION"), std::string::npos);
  }
  fs::remove_all(dir);
}

// Inputs of fuzz_integration (a selector byte for the reader, then the file): each is read or
// refused with a read error, nothing else.
TEST(FuzzRegressions, IntegrationFilesAreReadOrRefused) {
  const auto files = files_in(kFolder / "integration");
  ASSERT_GE(files.size(), 1u);
  const input::IntegrationFormat formats[] = {input::IntegrationFormat::xds,
                                              input::IntegrationFormat::cif,
                                              input::IntegrationFormat::mtz};
  for (const fs::path& f : files) {
    SCOPED_TRACE(f.filename().string());
    const std::string bytes = testing::read_text_file(f.string());
    ASSERT_FALSE(bytes.empty());
    const auto format = formats[static_cast<unsigned char>(bytes[0]) % 3];
    try {
      input::read_integration_text(std::string_view(bytes).substr(1), format, "fuzz");
    } catch (const input::IntegrationReadError& e) {
      EXPECT_NE(std::string(e.what()).find("fuzz"), std::string::npos) << e.what();
    }
  }
}

}  // namespace
}  // namespace vorlane
