#include "frontend/run_warnings.hpp"

namespace vorlane::frontend {

void RunWarnings::warning_box(std::string_view text) { warnings_.emplace_back(text); }

}  // namespace vorlane::frontend
