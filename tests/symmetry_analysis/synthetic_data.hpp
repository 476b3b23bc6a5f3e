#pragma once
// Reading the committed synthetic data sets (tests/data/symmetry_analysis/synthetic).
#include <filesystem>
#include <string>
#include <vector>

#include "symmetry_analysis/measurement.hpp"

namespace vorlane::symmetry_analysis::test {

struct SyntheticSet {
  std::string name;
  std::string title;  // the group's gemmi symbol (the twin: "P 4 twin ...")
  Crystal crystal;
  std::vector<Measurement> data;
};

SyntheticSet read_synthetic(const std::filesystem::path& path);
std::vector<std::filesystem::path> synthetic_files();

}  // namespace vorlane::symmetry_analysis::test
