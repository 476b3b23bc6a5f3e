#include "input/integration_data.hpp"

#include <algorithm>

namespace vorlane::input {

void fit_batches_to_four_columns(IntegrationData& data, const std::string& file) {
  auto& ms = data.measurements;
  const bool fit = std::all_of(ms.begin(), ms.end(), [](const IntegrationMeasurement& m) {
    return m.batch >= 1 && m.batch <= 9999;
  });
  if (fit) return;
  std::vector<int> distinct;
  distinct.reserve(ms.size());
  for (const auto& m : ms) distinct.push_back(m.batch);
  std::sort(distinct.begin(), distinct.end());
  distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());
  if (distinct.size() > 9999) {
    throw IntegrationReadError(file + ": " + std::to_string(distinct.size()) +
                               " batches, more than the 9999 that batch numbers can tell apart");
  }
  for (auto& m : ms) {
    m.batch = static_cast<int>(std::lower_bound(distinct.begin(), distinct.end(), m.batch) -
                               distinct.begin()) + 1;
  }
  data.warnings.push_back("Batch numbers of " + file + " renumbered 1 to " +
                          std::to_string(distinct.size()) + " in ascending order");
}

}  // namespace vorlane::input
