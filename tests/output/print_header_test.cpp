#include "output/print_header.hpp"

#include <gtest/gtest.h>

#include <regex>

#include "support/test_support.hpp"

namespace vorlane::output {
namespace {

using testing::MemoryRun;

std::string blanks(std::size_t n) { return std::string(n, ' '); }

std::vector<std::string> banner() {
  const std::string stars(78, '*');
  const std::string frame = "*" + blanks(76) + "*";
  return {stars,
          frame,
          frame,
          frame,
          "*" + blanks(15) + "VORLANE PROGRAM - VERSION 2.22 OF OCTOBER-11 " + blanks(16) + "*",
          "*" + blanks(16) + "VORLANE single-crystal data reduction" + blanks(6) + blanks(17) + "*",
          frame,
          frame,
          frame,
          stars,
          "",
          ""};
}

TEST(PrintHeader, BannerAndRunLineWithAGivenTime) {
  MemoryRun run;
  run.rs.files.FNAME[0] = "sample.exp";
  LocalTime when;
  when.year = 2026;
  when.month = 6;
  when.day = 3;
  when.hour = 9;
  when.minute = 5;
  when.second = 7;
  when.weekday = 3;
  PRINT_HEADER(run.rs, when);
  auto expected = banner();
  expected.push_back("");
  expected.push_back(blanks(9) + "VORLANE RUN ON: Wed Jun  3 09:05:07 2026");
  expected.push_back(blanks(9) + "EXPERIMENT FILE IS: sample.exp" + blanks(30));
  expected.push_back("");
  EXPECT_EQ(run.print_lines(), expected);
  // Every banner line is 79 columns with its control character: 78 shown.
  for (std::size_t i = 0; i < 10; ++i) EXPECT_EQ(run.print_lines()[i].size(), 78u) << i;
}

TEST(PrintHeader, TwoDigitDayLongNameAndLastMonth) {
  MemoryRun run;
  run.rs.files.FNAME[0] = std::string("a-rather-long-experiment-file-name-of-the-run.exp");
  LocalTime when;
  when.year = 1999;
  when.month = 12;
  when.day = 31;
  when.hour = 23;
  when.minute = 59;
  when.second = 0;
  when.weekday = 5;
  PRINT_HEADER(run.rs, when);
  const auto lines = run.print_lines();
  ASSERT_EQ(lines.size(), 16u);
  EXPECT_EQ(lines[13], blanks(9) + "VORLANE RUN ON: Fri Dec 31 23:59:00 1999");
  // The first 40 characters of the name.
  EXPECT_EQ(lines[14], blanks(9) + "EXPERIMENT FILE IS: a-rather-long-experiment-file-name-of-th");
}

TEST(PrintHeader, ReadsTheRunsClock) {
  MemoryRun run;
  run.rs.files.FNAME[0] = "x.exp";
  run.rs.clock.now = [] {
    LocalTime t;
    t.year = 2031;
    t.month = 2;
    t.day = 28;
    t.hour = 0;
    t.minute = 0;
    t.second = 59;
    t.weekday = 5;
    return t;
  };
  PRINT_HEADER(run.rs);
  const auto lines = run.print_lines();
  ASSERT_EQ(lines.size(), 16u);
  EXPECT_EQ(lines[13], blanks(9) + "VORLANE RUN ON: Fri Feb 28 00:00:59 2031");
}

TEST(PrintHeader, SystemClockGivesTheFixedLayout) {
  MemoryRun run;
  run.rs.files.FNAME[0] = "x.exp";
  run.rs.clock = Clock{};
  PRINT_HEADER(run.rs);
  const auto lines = run.print_lines();
  ASSERT_EQ(lines.size(), 16u);
  const std::regex when(
      " {9}VORLANE RUN ON: (Sun|Mon|Tue|Wed|Thu|Fri|Sat) "
      "(Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) [ 1-3][0-9] "
      "[0-2][0-9]:[0-5][0-9]:[0-6][0-9] [0-9]{4}");
  EXPECT_TRUE(std::regex_match(lines[13], when)) << lines[13];
}

}  // namespace
}  // namespace vorlane::output
