#include "symmetry_analysis/synthetic_data.hpp"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace vorlane::symmetry_analysis::test {

SyntheticSet read_synthetic(const std::filesystem::path& path) {
  SyntheticSet s;
  s.name = path.stem().string();
  std::ifstream in(path);
  std::string line;
  std::getline(in, line);
  s.title = line.substr(2);
  std::getline(in, line);
  std::istringstream cell(line.substr(5));
  for (double& v : s.crystal.cell) cell >> v;
  s.crystal.wavelength = 0.71073;
  while (std::getline(in, line)) {
    std::istringstream f(line);
    Measurement m;
    f >> m.hkl[0] >> m.hkl[1] >> m.hkl[2] >> m.intensity >> m.sigma;
    if (f) s.data.push_back(m);
  }
  return s;
}

std::vector<std::filesystem::path> synthetic_files() {
  std::vector<std::filesystem::path> files;
  for (const auto& e : std::filesystem::directory_iterator(
           std::filesystem::path(VORLANE_TEST_DATA) / "symmetry_analysis" / "synthetic"))
    files.push_back(e.path());
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace vorlane::symmetry_analysis::test
