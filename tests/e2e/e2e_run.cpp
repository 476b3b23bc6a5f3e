#include "e2e/e2e_run.hpp"

#include <filesystem>

#include "support/test_support.hpp"

namespace vorlane::testing {

E2eRun::E2eRun(const std::string& tag) : dir(make_temp_dir(tag)) {}

E2eRun::~E2eRun() {
  std::error_code ec;
  std::filesystem::remove_all(dir, ec);
}

void E2eRun::write(const std::string& name, const std::string& text) const {
  write_file(dir + "/" + name, text);
}

bool E2eRun::exists(const std::string& name) const {
  return std::filesystem::exists(dir + "/" + name);
}

std::string E2eRun::read(const std::string& name) const { return read_text_file(dir + "/" + name); }

std::vector<std::string> E2eRun::lines(const std::string& name) const {
  return split_lines(read(name));
}

CliResult E2eRun::run(const std::string& args) const { return run_vorlane(dir, args); }

std::string rj(const std::string& text, std::size_t width) {
  return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

std::string blanks(std::size_t n) { return std::string(n, ' '); }

std::string shelx_record(int h, int k, int l, const std::string& fsq, const std::string& sig) {
  return rj(std::to_string(h), 4) + rj(std::to_string(k), 4) + rj(std::to_string(l), 4) +
         rj(fsq, 8) + rj(sig, 8) + "\n";
}

std::string zezor_record(int h, int k, int l, const std::string& f, const std::string& sigf,
                         const std::string& aux, const std::string& tth) {
  return rj(std::to_string(h), 3) + rj(std::to_string(k), 3) + rj(std::to_string(l), 3) +
         rj(f, 10) + rj(sigf, 6) + rj(aux, 10) + blanks(10) + rj(tth, 7) + rj("0.00", 7) +
         rj("0.00", 7) + rj("0.00", 7) + "\n";
}

std::size_t find_line(const std::vector<std::string>& lines, const std::string& text,
                      std::size_t from) {
  for (std::size_t i = from; i < lines.size(); ++i) {
    if (lines[i].find(text) != std::string::npos) return i;
  }
  return lines.size();
}

std::vector<std::string> lines_from(const std::vector<std::string>& lines, const std::string& text,
                                    std::size_t count) {
  const std::size_t i = find_line(lines, text);
  std::vector<std::string> out;
  for (std::size_t j = i; j < lines.size() && j < i + count; ++j) out.push_back(lines[j]);
  return out;
}

std::vector<std::string> after_date(const std::vector<std::string>& lines) {
  const std::size_t i = find_line(lines, "VORLANE RUN ON: ");
  if (i >= lines.size()) return {};
  return {lines.begin() + static_cast<std::ptrdiff_t>(i) + 1, lines.end()};
}

int count_lines(const std::vector<std::string>& lines, const std::string& text) {
  int n = 0;
  for (const auto& l : lines) {
    if (l.find(text) != std::string::npos) ++n;
  }
  return n;
}

std::string consistent_pairs() {
  std::string d;
  for (int h = 1; h <= 4; ++h)
    for (int l = 1; l <= 3; ++l) {
      const std::string f = std::to_string(100 * h + 10 * l) + ".";
      d += shelx_record(h, 1, l, f, "2.") + shelx_record(-h, -1, -l, f, "2.");
    }
  return d;
}

}  // namespace vorlane::testing
