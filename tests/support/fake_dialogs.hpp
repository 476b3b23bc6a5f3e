#pragma once
// A scripted Dialogs for tests: records every box and question, answers from a script.
#include <deque>
#include <sstream>
#include <string>
#include <vector>

#include "run/dialogs.hpp"

namespace vorlane::testing {

class FakeDialogs : public run::Dialogs {
 public:
  std::vector<std::string> fatal_texts;
  std::vector<std::string> warning_texts;
  std::vector<std::string> stdout_lines;
  std::vector<std::string> format_questions;  // shown names
  std::vector<std::string> ratio_lines;
  std::deque<int> format_answers;  // 0 Zezor, 1 SHELX; empty: keep current
  std::deque<int> ratio_answers;   // 1 yes, 0 no, -1 closed; empty: no

  void fatal_box(std::string_view text) override { fatal_texts.emplace_back(text); }
  void warning_box(std::string_view text) override { warning_texts.emplace_back(text); }
  int ask_format(int, std::string_view shown_name, int current) override {
    format_questions.emplace_back(shown_name);
    if (format_answers.empty()) return current;
    int a = format_answers.front();
    format_answers.pop_front();
    return a;
  }
  int ask_sigma_ratio(std::string_view line) override {
    ratio_lines.emplace_back(line);
    if (ratio_answers.empty()) return 0;
    int a = ratio_answers.front();
    ratio_answers.pop_front();
    return a;
  }
  void standard_output(std::string_view line) override { stdout_lines.emplace_back(line); }
};

}  // namespace vorlane::testing
