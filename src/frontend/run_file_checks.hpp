#pragma once
// Checks made on the run's files before any of them is opened: each file can play its role,
// and no file plays two roles (a run must never truncate, overwrite or append to one of its
// own inputs).
#include <array>
#include <filesystem>
#include <string>
#include <vector>

namespace vorlane::frontend {

// One file of a run and the role it plays, as said in messages ("input data file").
struct RunFileRole {
  std::string role;
  std::filesystem::path path;
};

// The four named files followed by the files a run writes beside its output: the CIF
// fragment, the statistics, the rejection ledger and the report, each named from the output's
// base name up to its first ".".
std::vector<RunFileRole> run_file_roles(const std::filesystem::path& exp,
                                        const std::filesystem::path& print,
                                        const std::filesystem::path& input,
                                        const std::filesystem::path& output);

// The roles of the files chosen so far (slot n at index n - 1; an empty path is not chosen),
// with the files beside the output once the output is chosen.
std::vector<RunFileRole> chosen_file_roles(const std::array<std::filesystem::path, 4>& chosen);

// Why a file that must be read cannot be: "no such file", "it is a folder", "not a regular
// file (a FIFO, device or socket)"; empty when it is an existing regular file.
std::string unreadable_reason(const std::filesystem::path& path);

// Why a file to be written cannot be made: its folder does not exist or is no folder, or the
// path is a folder itself; empty otherwise.
std::string unwritable_reason(const std::filesystem::path& path);

// True when `a` and `b` are one file: by device and inode when both exist, else by their
// absolute paths with every existing part resolved. Files that exist but are not regular
// files (a terminal, /dev/null) are never one of a run's data files and do not clash.
bool same_file(const std::filesystem::path& a, const std::filesystem::path& b);

// The first two roles that name one file, as "the ROLE 'PATH' and the ROLE 'PATH' are the
// same file" (without the paths: "the ROLE and the ROLE are the same file"); empty when every
// role has a file of its own.
std::string shared_file_message(const std::vector<RunFileRole>& roles, bool with_paths = true);

}  // namespace vorlane::frontend
