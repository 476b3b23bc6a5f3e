#include "e2e/cli_support.hpp"

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <stdexcept>

#include "support/test_support.hpp"

namespace vorlane::testing {

CliResult run_vorlane(const std::string& dir, const std::string& args) {
  const std::string cmd = "cd '" + dir + "' && '" VORLANE_BIN_DIR "/vorlane' " + args +
                          " </dev/null >stdout.txt 2>stderr.txt";
  const int raw = std::system(cmd.c_str());
  CliResult r;
  r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  r.out = read_text_file(dir + "/stdout.txt");
  r.err = read_text_file(dir + "/stderr.txt");
  return r;
}

void write_file(const std::string& path, const std::string& text) {
  std::ofstream f(path, std::ios::binary);
  f << text;
  if (!f) throw std::runtime_error("cannot write " + path);
}

}  // namespace vorlane::testing
