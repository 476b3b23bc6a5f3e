#include "report/atomic_write.hpp"

#include <fstream>
#include <system_error>

namespace vorlane::report {

bool write_atomically(const std::filesystem::path& path, std::string_view text) {
  std::filesystem::path temp = path;
  temp += ".tmp";
  {
    std::ofstream f(temp, std::ios::binary | std::ios::trunc);
    if (!f) return false;
    f.write(text.data(), static_cast<std::streamsize>(text.size()));
    f.close();
    if (!f) {
      std::error_code ec;
      std::filesystem::remove(temp, ec);
      return false;
    }
  }
  std::error_code ec;
  std::filesystem::rename(temp, path, ec);
  if (ec) {
    std::filesystem::remove(temp, ec);
    return false;
  }
  return true;
}

}  // namespace vorlane::report
