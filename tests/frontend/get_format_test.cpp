// The format question: when it is asked, what name it shows, and what its answer sets.
#include <gtest/gtest.h>

#include "frontend/get_format.hpp"
#include "support/fake_dialogs.hpp"

namespace vorlane::frontend {
namespace {

TEST(FormatShownName, ShortNamesShowWholeLongNamesTheirLastFortyCharacters) {
  EXPECT_EQ(format_shown_name("data.txt"), "data.txt");
  const std::string forty(40, 'a');
  EXPECT_EQ(format_shown_name(forty), forty);
  // 60 characters: characters 21 to 60 are shown.
  std::string sixty;
  for (int i = 1; i <= 60; ++i) sixty += static_cast<char>('A' + (i - 1) % 26);
  EXPECT_EQ(format_shown_name(sixty), sixty.substr(20, 40));
  EXPECT_EQ(format_shown_name(std::string(41, 'b') + "c"), std::string(39, 'b') + "c");
}

TEST(FormatShownName, NameEndsAtItsFirstRunOfThreeBlanks) {
  EXPECT_EQ(format_shown_name("my data.x   tail"), "my data.x");
  EXPECT_EQ(format_shown_name("two  blanks.x"), "two  blanks.x");
  // A blank-padded name as the 512-character field would hold it.
  EXPECT_EQ(format_shown_name("res.out" + std::string(505, ' ')), "res.out");
  EXPECT_EQ(format_shown_name(""), "");
}

TEST(RadioFormat, SelectedZezorButtonGivesZeroOtherwiseOne) {
  EXPECT_EQ(RADIOFORMAT(true), 0);
  EXPECT_EQ(RADIOFORMAT(false), 1);
}

struct FormatCase {
  const char* input;
  const char* output;
  int infmt, outfmt;      // expected flags
  int questions;          // how many format questions
};

TEST(DecideFormats, KnownExtensionsNeedNoQuestion) {
  const FormatCase cases[] = {
      {"data.HKL", "res.avg", 1, 0, 0}, {"data.hkl", "res.abs", 1, 0, 0},
      {"data.abs", "res.hkl", 0, 1, 0}, {"hklfile", "avgout", 1, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.input);
    run::RunFiles files;
    files.FNAME = {"x.exp", "x.prt", c.input, c.output};
    files.INFMT = 7;
    files.OUTFMT = 7;
    testing::FakeDialogs dialogs;
    decide_formats(files, dialogs);
    EXPECT_EQ(files.INFMT, c.infmt);
    EXPECT_EQ(files.OUTFMT, c.outfmt);
    EXPECT_EQ(static_cast<int>(dialogs.format_questions.size()), c.questions);
  }
}

TEST(DecideFormats, UnknownExtensionsAskInputFirstThenOutput) {
  run::RunFiles files;
  // Two dots: the three characters after the first are "V2." and are not recognised.
  files.FNAME = {"x.exp", "x.prt", "data.v2.hkl", "result.txt"};
  testing::FakeDialogs dialogs;
  dialogs.format_answers = {1, 0};
  files.OUTFMT = 1;
  decide_formats(files, dialogs);
  ASSERT_EQ(dialogs.format_questions.size(), 2u);
  EXPECT_EQ(dialogs.format_questions[0], "data.v2.hkl");
  EXPECT_EQ(dialogs.format_questions[1], "result.txt");
  EXPECT_EQ(files.INFMT, 1);
  EXPECT_EQ(files.OUTFMT, 0);
}

TEST(GetFormat, ClosingWithoutAChoiceKeepsTheFlag) {
  run::RunFiles files;
  files.FNAME = {"x.exp", "x.prt", "a.dat", "b.dat"};
  files.INFMT = 1;
  files.OUTFMT = 0;
  testing::FakeDialogs dialogs;  // no scripted answers: the box is closed
  GET_FORMAT(files, dialogs, 3);
  GET_FORMAT(files, dialogs, 4);
  EXPECT_EQ(files.INFMT, 1);
  EXPECT_EQ(files.OUTFMT, 0);
}

TEST(GetFormat, OutputNameOfSixtyCharactersShowsItsLastForty) {
  run::RunFiles files;
  const std::string name = std::string(20, 'p') + std::string(36, 'q') + ".dat";
  files.FNAME = {"x.exp", "x.prt", "a.hkl", name};
  testing::FakeDialogs dialogs;
  dialogs.format_answers = {1};
  GET_FORMAT(files, dialogs, 4);
  ASSERT_EQ(dialogs.format_questions.size(), 1u);
  EXPECT_EQ(dialogs.format_questions[0], std::string(36, 'q') + ".dat");
  EXPECT_EQ(files.OUTFMT, 1);
  EXPECT_EQ(files.INFMT, 0);
}

}  // namespace
}  // namespace vorlane::frontend
