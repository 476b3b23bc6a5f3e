#include "frontend/run_warnings.hpp"

namespace vorlane::frontend {

void RunWarnings::warning_box(std::string_view text) {
  warnings_.emplace_back(text);
  if (warnings_.size() == 1) inner_.warning_box(text);
}

}  // namespace vorlane::frontend
