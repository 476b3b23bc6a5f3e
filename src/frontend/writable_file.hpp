#pragma once
// Whether a file could be written, found out without changing it: an output file is only
// opened (and replaced) when a run starts, never when it is picked.
#include <filesystem>

namespace vorlane::frontend {

bool can_write_file(const std::filesystem::path& path);

}  // namespace vorlane::frontend
