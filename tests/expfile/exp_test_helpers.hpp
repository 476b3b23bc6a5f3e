#pragma once
// Helpers shared by the experiment-file tests.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>

#include "expfile/read_exp_file.hpp"
#include "support/test_support.hpp"

namespace vorlane::expfile::test {

// Runs READ_EXP_FILE on `text` in a fresh in-memory run.
inline std::unique_ptr<vorlane::testing::MemoryRun> read_exp(const std::string& text) {
  auto run = std::make_unique<vorlane::testing::MemoryRun>(text);
  READ_EXP_FILE(run->rs);
  return run;
}

// The card loop's read error as ERRMSG holds it: the text and the 80 upper-cased columns.
inline std::string read_error_text(std::string card) {
  card.resize(80, ' ');
  return "  ERROR READING EXPERIMENT DATA FILE:  STRING WAS: " + card;
}

// ERRMSG holds exactly `text` followed by blanks, and the run is halted.
inline ::testing::AssertionResult halted_with(const vorlane::testing::MemoryRun& run,
                                              std::string_view text) {
  const std::string& m = run.rs.msg.ERRMSG;
  if (run.rs.msg.IHALT != 1) return ::testing::AssertionFailure() << "IHALT not set";
  if (m.compare(0, text.size(), text) != 0 ||
      m.find_first_not_of(' ', text.size()) != std::string::npos)
    return ::testing::AssertionFailure() << "ERRMSG is \"" << m << "\"";
  if (run.dialogs.fatal_texts.size() != 1)
    return ::testing::AssertionFailure() << run.dialogs.fatal_texts.size() << " fatal boxes";
  return ::testing::AssertionSuccess();
}

}  // namespace vorlane::expfile::test
