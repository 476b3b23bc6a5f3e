#include "frontend/run_file_checks.hpp"

#include <system_error>

#include "run/staged_outputs.hpp"

namespace vorlane::frontend {
namespace fs = std::filesystem;

std::vector<RunFileRole> run_file_roles(const fs::path& exp, const fs::path& print,
                                        const fs::path& input, const fs::path& output) {
  std::vector<RunFileRole> roles = {{"experiment file", exp},
                                    {"print file", print},
                                    {"input data file", input},
                                    {"output data file", output}};
  roles.push_back({"CIF fragment", run::beside_output(output, "_vorlane.cif")});
  roles.push_back({"statistics file", run::beside_output(output, "_stats.json")});
  roles.push_back({"rejection ledger", run::beside_output(output, "_rejections.csv")});
  roles.push_back({"report", run::beside_output(output, "_report.html")});
  return roles;
}

std::vector<RunFileRole> chosen_file_roles(const std::array<fs::path, 4>& chosen) {
  const std::vector<RunFileRole> all = run_file_roles(chosen[0], chosen[1], chosen[2], chosen[3]);
  std::vector<RunFileRole> roles;
  for (std::size_t k = 0; k < all.size(); ++k) {
    const bool beside_output = k >= 4;
    if (beside_output ? chosen[3].empty() : chosen[k].empty()) continue;
    roles.push_back(all[k]);
  }
  return roles;
}

std::string unreadable_reason(const fs::path& path) {
  std::error_code ec;
  const fs::file_status st = fs::status(path, ec);
  if (!fs::exists(st)) return "no such file";
  if (fs::is_directory(st)) return "it is a folder";
  if (!fs::is_regular_file(st)) {
    if (fs::is_fifo(st)) return "not a regular file: a FIFO";
    return "not a regular file";
  }
  return "";
}

std::string unwritable_reason(const fs::path& path) {
  std::error_code ec;
  const fs::path folder = path.parent_path().empty() ? fs::path(".") : path.parent_path();
  const fs::file_status fst = fs::status(folder, ec);
  // Built by appending: GCC 12 warns of a false overlap in the operator+ chain at -O3.
  std::string why = "'";
  why.append(folder.string()).append("'");
  if (!fs::exists(fst)) return "the folder " + why + " does not exist";
  if (!fs::is_directory(fst)) return why.append(" is not a folder");
  if (fs::is_directory(path, ec)) return "it is a folder";
  return "";
}

bool same_file(const fs::path& a, const fs::path& b) {
  std::error_code ec;
  const fs::file_status sa = fs::status(a, ec);
  const fs::file_status sb = fs::status(b, ec);
  const bool ea = fs::exists(sa);
  const bool eb = fs::exists(sb);
  if ((ea && !fs::is_regular_file(sa)) || (eb && !fs::is_regular_file(sb))) return false;
  if (ea && eb) {
    const bool same = fs::equivalent(a, b, ec);
    return !ec && same;
  }
  if (ea != eb) return false;
  // Neither exists yet: two names of one future file.
  const fs::path ca = fs::weakly_canonical(fs::absolute(a, ec), ec);
  const fs::path cb = fs::weakly_canonical(fs::absolute(b, ec), ec);
  return ca == cb;
}

std::string shared_file_message(const std::vector<RunFileRole>& roles, bool with_paths) {
  const auto named = [with_paths](const RunFileRole& r) {
    std::string text = r.role;
    if (with_paths) text.append(" '").append(r.path.string()).append("'");
    return text;
  };
  for (std::size_t i = 0; i < roles.size(); ++i) {
    for (std::size_t j = i + 1; j < roles.size(); ++j) {
      if (same_file(roles[i].path, roles[j].path)) {
        return "the " + named(roles[i]) + " and the " + named(roles[j]) + " are the same file";
      }
    }
  }
  return "";
}

}  // namespace vorlane::frontend
