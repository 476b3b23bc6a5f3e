#pragma once

namespace vorlane::run {

// The program's version, shown by --version and in the window's title.
inline constexpr const char* VERSION = "2.22";

}  // namespace vorlane::run
