// The experiment-file editor's file model: what it reads from the cards, and edits that change
// exactly the card of the edited value (or add one after the last VORLAN card).
#include <gtest/gtest.h>

#include <functional>

#include "frontend/exp_file_editor_model.hpp"

namespace vorlane::testing {
namespace {

using frontend::ExpFileEditorModel;
using frontend::ExpField;
using frontend::ExpValues;

const std::string file =
    "TITLE  test crystal\r\n"
    "      comment line kept as it is\r\n"
    "CELL  7.5 8.3 28.5 90 91.2 90\r\n"
    "WAVEL 2 1.54184\r\n"
    "UBL  -0.0080748  0.1465083  0.0325437\r\n"
    "VORLAN SYMOP X,Y,Z\r\n"
    "VORLAN SYMOP -X,-Y,-Z\r\n"
    "vorlan lessthan 3.0 reject\r\n"
    "VORLAN ABSENT LESSTHAN\r\n"
    "VORLAN 2THETA MIN 5.0 MAX 60.0\r\n"
    "VORLAN BLESSING 0.05 3.29 2.58 1.0 OUTPUT INDIVIDUAL\r\n"
    "# last line";

TEST(ExpFileEditorModel, ReadsTheValuesOfTheCards) {
  const ExpFileEditorModel m(file);
  const ExpValues& v = m.values();
  EXPECT_EQ(v.title, "test crystal");
  EXPECT_EQ(v.cell, "7.5 8.3 28.5 90 91.2 90");
  EXPECT_EQ(v.wavelength, "1.54184");
  EXPECT_EQ(v.lessthan, "3.0");
  EXPECT_TRUE(v.lessthan_reject);
  EXPECT_EQ(v.absent, 1);
  EXPECT_EQ(v.tth_min, "5.0");
  EXPECT_EQ(v.tth_max, "60.0");
  EXPECT_EQ(v.blessing, (std::array<std::string, 4>{"0.05", "3.29", "2.58", "1.0"}));
  EXPECT_EQ(v.outlier, -1);
  EXPECT_EQ(m.text(), file);  // nothing edited: every byte as read
  EXPECT_EQ(m.symmetry_cards(),
            (std::vector<std::string>{"VORLAN SYMOP X,Y,Z", "VORLAN SYMOP -X,-Y,-Z"}));
}

struct EditCase {
  const char* name;
  std::function<void(ExpValues&)> edit;
  std::string from;  // text replaced in the file ...
  std::string to;    // ... by this
};

TEST(ExpFileEditorModel, AnEditChangesOnlyItsCard) {
  const std::string tail = "VORLAN BLESSING 0.05 3.29 2.58 1.0 OUTPUT INDIVIDUAL\r\n";
  const EditCase cases[] = {
      {"title", [](ExpValues& v) { v.title = "new"; }, "TITLE  test crystal", "TITLE new"},
      {"wavelength keeps the integer", [](ExpValues& v) { v.wavelength = "0.71073"; },
       "WAVEL 2 1.54184", "WAVEL 2 0.71073"},
      {"2theta max", [](ExpValues& v) { v.tth_max = "50.0"; },
       "VORLAN 2THETA MIN 5.0 MAX 60.0", "VORLAN 2THETA MIN 5.0 MAX 50.0"},
      {"less-than card in lower case", [](ExpValues& v) { v.lessthan_reject = false; },
       "vorlan lessthan 3.0 reject", "VORLAN LESSTHAN 3.0"},
      {"absences", [](ExpValues& v) { v.absent = 0; }, "VORLAN ABSENT LESSTHAN",
       "VORLAN ABSENT INCLUDE"},
      {"new card after the last VORLAN card", [](ExpValues& v) { v.scale = "0.1"; }, tail,
       tail + "VORLAN SCALE 0.1\r\n"},
      {"outlier default is no change", [](ExpValues& v) { v.outlier = 1; }, "", ""},
      {"outlier", [](ExpValues& v) { v.outlier = 3; }, tail,
       tail + "VORLAN OUTLIER SYMMETRY DAC\r\n"},
      // The BLESSING card also sets OUTPUT: it stays, the new card after it wins.
      {"card shared with another keyword", [](ExpValues& v) { v.blessing[0] = "0.1"; }, tail,
       tail + "VORLAN BLESSING 0.1 3.29 2.58 1.0\r\n"},
      {"emptied cell removes the card", [](ExpValues& v) { v.cell.clear(); },
       "CELL  7.5 8.3 28.5 90 91.2 90\r\n", ""},
      {"space group replaces the symmetry cards",
       [](ExpValues& v) { v.space_group = "P 1 21/c 1"; },
       "VORLAN SYMOP X,Y,Z\r\nVORLAN SYMOP -X,-Y,-Z\r\n", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ExpFileEditorModel m(file);
    ExpValues v = m.values();
    c.edit(v);
    ASSERT_EQ(ExpFileEditorModel::check(v), "");
    m.apply(v);
    std::string expected = file;
    if (!c.from.empty()) {
      const auto at = expected.find(c.from);
      ASSERT_NE(at, std::string::npos);
      expected.replace(at, c.from.size(), c.to);
    }
    if (std::string(c.name).starts_with("space group"))
      expected.replace(expected.find(tail) + tail.size(), 0,
                       "VORLAN SPACEGROUP P 1 21/c 1\r\n");
    EXPECT_EQ(m.text(), expected);
    // Read back, the file holds what was edited.
    ExpValues expect_values = v;
    if (expect_values.outlier == 1 && m.values().outlier == -1) expect_values.outlier = -1;
    EXPECT_EQ(ExpFileEditorModel(m.text()).values(), expect_values);
  }
}

TEST(ExpFileEditorModel, NewCardInAFileWithoutVorlanCardsGoesAtTheEnd) {
  ExpFileEditorModel m("TITLE x\nCELL  1 2 3 90 90 90");
  ExpValues v = m.values();
  v.opening = "35";
  v.friedel_noflip = true;
  m.apply(v);
  EXPECT_EQ(m.text(), "TITLE x\nCELL  1 2 3 90 90 90\nVORLAN FRIEDEL NOFLIP\nVORLAN OPENING 35");
}

TEST(ExpFileEditorModel, ValuesThatCannotBeWrittenAreNamed) {
  const std::pair<std::function<void(ExpValues&)>, std::string> cases[] = {
      {[](ExpValues& v) { v.cell = "1 2 3"; }, "The cell needs six numbers"},
      {[](ExpValues& v) { v.wavelength = "0,71"; }, "The wavelength is not a number."},
      {[](ExpValues& v) { v.blessing[2] = ""; }, "The Blessing test needs four numbers."},
      {[](ExpValues& v) { v.tth_max = "60.00000000"; }, "The 2theta limits"},
      {[](ExpValues& v) { v.title = std::string(90, 'x'); }, ""},  // cut to 74 columns
      {[](ExpValues& v) { v.space_group = std::string(70, 'P'); }, "A card would be longer"},
  };
  for (const auto& [edit, message] : cases) {
    ExpValues v = ExpFileEditorModel(file).values();
    edit(v);
    const auto got = ExpFileEditorModel::check(v);
    EXPECT_EQ(got.substr(0, message.size()), message) << got;
    EXPECT_EQ(got.empty(), message.empty()) << got;
  }
}

}  // namespace
}  // namespace vorlane::testing
