#include "support/test_support.hpp"

#include <algorithm>
#include <cctype>
#include <sstream>

#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>

namespace vorlane::testing {

MemoryRun::MemoryRun(const std::string& exp_text, const std::string& input_text) {
  auto& f = rs.files;
  f.exp = std::make_unique<std::istringstream>(exp_text);
  f.in = std::make_unique<std::istringstream>(input_text);
  auto p = std::make_unique<std::ostringstream>();
  print = p.get();
  f.print_stream = std::move(p);
  f.print.open(*f.print_stream);
  auto o = std::make_unique<std::ostringstream>();
  out = o.get();
  f.out = std::move(o);
  f.FNAME = {"test.exp", "test.prt", "test.hkl", "test.avg"};
  f.IEXPOPEN = f.IPRTOPEN = f.IINOPEN = f.IOUTOPEN = 1;
  rs.dialogs = &dialogs;
}

std::string MemoryRun::print_text() const { return print->str(); }
std::vector<std::string> MemoryRun::print_lines() const { return split_lines(print->str()); }
std::string MemoryRun::output_text() const { return out->str(); }

std::string read_text_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

std::vector<std::string> split_lines(const std::string& text) {
  std::vector<std::string> lines;
  std::string cur;
  for (char c : text) {
    if (c == '\n') {
      lines.push_back(cur);
      cur.clear();
    } else {
      cur += c;
    }
  }
  if (!cur.empty()) lines.push_back(cur);
  return lines;
}

std::string make_temp_dir(const std::string& tag) {
  std::random_device rd;
  auto dir = std::filesystem::temp_directory_path() /
             ("vorlane-" + tag + "-" + std::to_string(rd()) + std::to_string(rd()));
  std::filesystem::create_directories(dir);
  return dir.string();
}

std::map<std::string, std::string> cif_items(const std::string& text) {
  std::map<std::string, std::string> items;
  for (const auto& line : split_lines(text)) {
    if (line.empty() || line[0] != '_') continue;
    std::istringstream ss(line);
    std::string name, value;
    ss >> name >> value;
    items.emplace(name, value);
  }
  return items;
}

std::size_t occurrences(const std::string& text, const std::string& what) {
  std::size_t n = 0;
  for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

std::string lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

std::vector<std::pair<std::string, bool>> centric_reference() {
  const std::string path = std::string(VORLANE_TEST_DATA) + "/symmetry/centric_cctbx.txt";
  std::ifstream in(path);
  if (!in) throw std::runtime_error("cannot read " + path);
  std::vector<std::pair<std::string, bool>> settings;
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream ls(line);
    std::string xhm;
    int centric = -1;
    ls >> xhm >> centric;
    std::replace(xhm.begin(), xhm.end(), '_', ' ');
    settings.emplace_back(xhm, centric == 1);
  }
  return settings;
}

}  // namespace vorlane::testing
