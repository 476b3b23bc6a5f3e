#pragma once

namespace vorlane::run {

// The program's version, from the CMake project version: shown by --version and in the
// window's title, and written in the print-file banner and the CIF fragment.
#ifdef VORLANE_PROJECT_VERSION
inline constexpr const char* VERSION = VORLANE_PROJECT_VERSION;
#else
inline constexpr const char* VERSION = "2.22";
#endif

}  // namespace vorlane::run
