// --report none|html and --shells N on the command line.
#include <gtest/gtest.h>

#include "frontend/cli_options.hpp"

namespace vorlane::frontend {
namespace {

TEST(ReportOptions, ReportAndShells) {
  struct Case { std::vector<std::string> args; bool html; int shells; const char* error; };
  const std::vector<std::string> files{"a.exp", "a.prt", "a.hkl", "o.hkl"};
  const Case cases[] = {
      {{}, true, 10, ""},
      {{"--report", "none"}, false, 10, ""},
      {{"--report=html", "--shells", "20"}, true, 20, ""},
      {{"--shells=1"}, true, 1, ""},
      {{"--report", "pdf"}, true, 10, "option --report takes none or html, not 'pdf'"},
      {{"--shells", "0"}, true, 10,
       "option --shells takes a whole number from 1 to 100, not '0'"},
      {{"--shells", "101"}, true, 10,
       "option --shells takes a whole number from 1 to 100, not '101'"},
      {{"--shells", "-3"}, true, 10,
       "option --shells takes a whole number from 1 to 100, not '-3'"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = c.args;
    args.insert(args.end(), files.begin(), files.end());
    const CliParse p = parse_cli(args);
    EXPECT_EQ(p.error, c.error) << args[0];
    if (!p.error.empty()) continue;
    EXPECT_EQ(p.options.html_report, c.html) << args[0];
    EXPECT_EQ(p.options.shells, c.shells) << args[0];
  }
}

}  // namespace
}  // namespace vorlane::frontend
