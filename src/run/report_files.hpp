#pragma once
// The diagnostics files of a run beside the output (NAME_stats.json, NAME_rejections.csv,
// NAME_report.html): what the front end asked for, and what was written.
#include <string>
#include <vector>

namespace vorlane::run {

struct ReportFiles {
  // Asked for by the front end.
  int shells = 10;    // resolution shells of the shell tables
  bool html = true;   // write the HTML report
  // Every warning of the run, as its box showed it, for the report.
  std::vector<std::string> warnings;
  // Every note of the run (run::note): what was done, not a problem.
  std::vector<std::string> notes;
  // Written by the statistics stage: a path is empty when the file was not written.
  std::string stats_path, ledger_path, html_path;
};

}  // namespace vorlane::run
