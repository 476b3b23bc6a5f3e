#pragma once
// Writes a whole file or nothing: the text goes to a temporary file beside the target, which
// is renamed over it only when everything was written.
#include <filesystem>
#include <string_view>

namespace vorlane::report {

bool write_atomically(const std::filesystem::path& path, std::string_view text);

}  // namespace vorlane::report
