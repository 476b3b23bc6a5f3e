#include "frontend/writable_file.hpp"

#include <fstream>

namespace vorlane::frontend {

bool can_write_file(const std::filesystem::path& path) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) return false;
  if (std::filesystem::exists(path, ec)) {
    // Opened for appending, an existing file keeps every byte.
    std::ofstream probe(path, std::ios::binary | std::ios::app);
    return static_cast<bool>(probe);
  }
  // A new name: the folder must take a file. The probe file is removed again.
  bool ok = false;
  {
    std::ofstream probe(path, std::ios::binary);
    ok = static_cast<bool>(probe);
  }
  if (ok) std::filesystem::remove(path, ec);
  return ok;
}

}  // namespace vorlane::frontend
