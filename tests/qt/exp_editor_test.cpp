// The experiment-file form on a real experiment file with comments and UB cards: an edit
// changes its card and no other byte; a space group replaces the symmetry cards only after
// the question listing them was answered.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include "qt/window_fixture.hpp"

namespace vorlane::testing {
namespace {

namespace control = frontend::control;

class ExpEditorTest : public WindowTest {
 protected:
  // The real file with comment lines added, and DOS line ends as some editors leave them.
  std::string real_file() {
    std::string text = read_text_file(std::string(VORLANE_TEST_DATA) + "/exp/exp714_p21c_ubl.exp");
    text.insert(text.find("UBL"), "      orientation from CrysAlisPro, do not edit\n");
    text.insert(text.find("VORLAN"), "! symmetry of P 1 21/c 1\n");
    std::string dos;
    for (char c : text) dos += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return dos;
  }

  void open_window_with(const std::string& exp_text) {
    write(path("real.exp"), exp_text);
    make([](run::RunState&) {});
    browse(control::experiment_browse, path("real.exp"));
  }
};

TEST_F(ExpEditorTest, OneValueEditedChangesItsCardAndNoOtherByte) {
  const std::string before = real_file();
  open_window_with(before);
  std::string shown_wavelength;
  script.answers.push_back([&](QDialog& d) {
    auto* wave = d.findChild<QLineEdit*>(QStringLiteral("editor_wavelength"));
    shown_wavelength = wave->text().toStdString();
    wave->setText(QStringLiteral("1.54056"));
    d.findChild<QPushButton*>(QStringLiteral("editor_save"))->click();
    return d.result();
  });
  window->edit_button().click();
  EXPECT_EQ(shown_wavelength, "1.54184");
  std::string expected = before;
  expected.replace(expected.find("WAVEL 1 1.54184"), 15, "WAVEL 1 1.54056");
  EXPECT_EQ(read_text_file(path("real.exp")), expected);
}

TEST_F(ExpEditorTest, SpaceGroupReplacesTheSymmetryCardsAfterTheQuestion) {
  const std::string before = real_file();
  open_window_with(before);
  std::string question;
  auto edit = [&](QMessageBox::StandardButton answer) {
    script.answers.push_back([&question, answer, this](QDialog& d) {
      d.findChild<QLineEdit*>(QStringLiteral("editor_space_group"))
          ->setText(QStringLiteral("P 1 21/c 1"));
      // The question comes from inside the form's Save.
      script.answers.push_front([&question, answer](QDialog& box) {
        question = dynamic_cast<QMessageBox&>(box).informativeText().toStdString();
        return static_cast<int>(answer);
      });
      d.findChild<QPushButton*>(QStringLiteral("editor_save"))->click();
      if (d.isVisible()) d.reject();
      return d.result();
    });
    window->edit_button().click();
  };
  edit(QMessageBox::Cancel);
  EXPECT_EQ(question, "VORLAN SYMOP X,Y,Z\nVORLAN SYMOP -X,Y+1/2,-Z+1/2\nVORLAN SYMOP -X,-Y,-Z\n"
                      "VORLAN SYMOP X,-Y+1/2,Z+1/2\nVORLAN UNITIN    1    0    0    0\n"
                      "VORLAN UNITIN    0    1    0    0\n");
  EXPECT_EQ(read_text_file(path("real.exp")), before);
  edit(QMessageBox::Ok);
  const std::string after = read_text_file(path("real.exp"));
  EXPECT_EQ(after.find("SYMOP"), std::string::npos);
  EXPECT_EQ(after.find("UNITIN"), std::string::npos);
  const std::string kept = before.substr(0, before.find("VORLAN"));
  EXPECT_EQ(after, kept + "VORLAN SPACEGROUP P 1 21/c 1\r\n");
}

}  // namespace
}  // namespace vorlane::testing
