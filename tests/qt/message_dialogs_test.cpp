// The message and question dialogs 103 to 106 and the file dialogs' set-up.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QRadioButton>
#include <QSettings>
#include <filesystem>
#include <fstream>

#include "support/test_support.hpp"

#include "frontend/file_kinds.hpp"
#include "frontend/qt/fatal_error_dialog.hpp"
#include "frontend/qt/format_dialog.hpp"
#include "frontend/qt/qt_dialogs.hpp"
#include "frontend/qt/qt_file_picker.hpp"
#include "frontend/qt/sigma_ratio_dialog.hpp"
#include "frontend/qt/warning_dialog.hpp"
#include "qt/qt_test_support.hpp"

namespace vorlane::testing {
namespace {

using namespace frontend::qt;

class MessageDialogs : public ::testing::Test {
 protected:
  void SetUp() override { qt_app(); }
};

TEST_F(MessageDialogs, FatalErrorBoxShowsItsTextsAndTheMessage) {
  FatalErrorDialog d(QStringLiteral("NO SYMMETRY CARD FOUND "));
  EXPECT_EQ(d.windowTitle().toStdString(), "Vorlane 2.22");
  EXPECT_EQ(label_text(d, 1021), "FATAL ERROR");
  EXPECT_EQ(label_text(d, 1020), "NO SYMMETRY CARD FOUND ");
  EXPECT_EQ(label_text(d, 1022), "VORLANE WILL BE HALTED");
  EXPECT_EQ(button_text(d, 1), "OK");
  d.show();
  click(d, 1);
  EXPECT_EQ(d.result(), QDialog::Accepted);
  EXPECT_FALSE(d.isVisible());
}

TEST_F(MessageDialogs, WarningBoxShowsItsTextsAndTheMessage) {
  WarningDialog d(QStringLiteral("ERROR OPENING PRINT FILE "));
  EXPECT_EQ(d.windowTitle().toStdString(), "Vorlane 2.22");
  EXPECT_EQ(label_text(d, 1020), "WARNING !!!!!");
  EXPECT_EQ(label_text(d, 1048), "ERROR OPENING PRINT FILE ");
  EXPECT_EQ(label_text(d, 1022), "PROGRAM EXECUTION WILL CONTINUE");
  EXPECT_EQ(button_text(d, 1), "OK");
}

TEST_F(MessageDialogs, FormatQuestionTheLastClickCounts) {
  FormatDialog d(QStringLiteral("data.txt"), 0);
  EXPECT_EQ(label_text(d, 1049), "File extension not recognised for file");
  EXPECT_EQ(label_text(d, 1050), "data.txt");
  EXPECT_EQ(button_text(d, 1051), "Zezor abs/avg");
  EXPECT_EQ(button_text(d, 1052), "Shelx hkl");
  ASSERT_NE(d.findChild<QGroupBox*>(), nullptr);
  EXPECT_EQ(d.findChild<QGroupBox*>()->title().toStdString(), "Select File Format");
  EXPECT_EQ(d.flag(), 0);
  click(d, 1052);
  EXPECT_EQ(d.flag(), 1);
  click(d, 1051);
  EXPECT_EQ(d.flag(), 0);
  click(d, 1052);
  EXPECT_EQ(d.flag(), 1);
}

TEST_F(MessageDialogs, FormatQuestionClosedWithoutAClickKeepsTheFlag) {
  ScriptedRunner script;
  QtDialogs dialogs(nullptr, script.runner());
  EXPECT_EQ(dialogs.ask_format(3, "a.dat", 1), 1);
  EXPECT_EQ(dialogs.ask_format(4, "b.dat", 0), 0);
  script.answers = {press(1)};  // OK without a click
  EXPECT_EQ(dialogs.ask_format(3, "c.dat", 1), 1);
  script.answers = {choose_and_ok(1051)};
  EXPECT_EQ(dialogs.ask_format(3, "c.dat", 1), 0);
  // The button of the value OK keeps is the one shown selected.
  FormatDialog shelx(QStringLiteral("x"), 1);
  EXPECT_TRUE(find_control<QRadioButton>(shelx, 1052)->isChecked());
  EXPECT_FALSE(find_control<QRadioButton>(shelx, 1051)->isChecked());
}

TEST_F(MessageDialogs, SigmaRatioQuestionAnswersYesNoOrClosed) {
  const std::string line = "Ratio output sigma to external-sig1 for the observed reflns is:    1.37";
  ScriptedRunner script;
  QtDialogs dialogs(nullptr, script.runner());
  std::string shown_line, shown_question, yes, no;
  script.answers = {[&](QDialog& d) {
                      shown_line = label_text(d, 1054);
                      shown_question = label_text(d, 1057);
                      yes = button_text(d, 1055);
                      no = button_text(d, 1056);
                      click(d, 1055);
                      return d.result();
                    },
                    press(1056)};
  EXPECT_EQ(dialogs.ask_sigma_ratio(line), 1);
  EXPECT_EQ(dialogs.ask_sigma_ratio(line), 0);
  EXPECT_EQ(dialogs.ask_sigma_ratio(line), -1);  // closed with its close box
  EXPECT_EQ(shown_line, line);
  EXPECT_EQ(shown_question,
            "Multiply the \u03c3 of the reflections measured only once by this ratio?");
  EXPECT_EQ(yes, "Yes");
  EXPECT_EQ(no, "No");
  EXPECT_EQ(script.shown.size(), 3u);
}

TEST_F(MessageDialogs, SigmaRatioQuestionSaysWhatItChanges) {
  SigmaRatioDialog d(QStringLiteral("Ratio output sigma to external-sig1 for the observed reflns is:    1.37"));
  const std::string explanation = label_text(d, 1058);
  // What Yes and No do, and to which reflections, in plain words.
  for (const std::string words : {"measured only once", "Yes multiplies the \u03c3",
                                  "No keeps them as measured", "Intensities do not change"}) {
    EXPECT_NE(explanation.find(words), std::string::npos) << words;
  }
  auto* remember = find_control<QCheckBox>(d, 1059);
  ASSERT_NE(remember, nullptr);
  EXPECT_EQ(remember->text().toStdString(), "Remember this answer");
  EXPECT_FALSE(remember->isChecked());
  EXPECT_FALSE(d.remember());
  remember->setChecked(true);
  EXPECT_TRUE(d.remember());
}

TEST_F(MessageDialogs, SigmaRatioAnswerIsRememberedOnlyWhenAsked) {
  const std::string dir = make_temp_dir("remember");
  QSettings settings(QString::fromStdString(dir + "/settings.ini"), QSettings::IniFormat);
  const std::string line = "Ratio output sigma to external-sig1 for the observed reflns is:    1.37";
  ScriptedRunner script;
  QtDialogs dialogs(nullptr, script.runner());
  dialogs.remember_answers_in(&settings);
  const auto answer = [](int button, bool tick) {
    return [button, tick](QDialog& d) {
      find_control<QCheckBox>(d, 1059)->setChecked(tick);
      click(d, button);
      return d.result();
    };
  };
  // Not ticked: asked every time, nothing kept; closing the box is no answer to keep.
  script.answers = {answer(1055, false), answer(1056, false)};
  EXPECT_EQ(dialogs.ask_sigma_ratio(line), 1);
  EXPECT_EQ(dialogs.ask_sigma_ratio(line), 0);
  EXPECT_EQ(dialogs.ask_sigma_ratio(line), -1);
  EXPECT_FALSE(settings.contains(QtDialogs::sigma_ratio_key));
  EXPECT_FALSE(dialogs.take_answered_from_memory());
  // Ticked with No: kept, and later questions are answered without a box.
  script.answers = {answer(1056, true)};
  EXPECT_EQ(dialogs.ask_sigma_ratio(line), 0);
  EXPECT_EQ(settings.value(QtDialogs::sigma_ratio_key).toInt(), 0);
  EXPECT_FALSE(dialogs.take_answered_from_memory());
  const std::size_t shown = script.shown.size();
  EXPECT_EQ(dialogs.ask_sigma_ratio(line), 0);
  EXPECT_EQ(dialogs.ask_sigma_ratio(line), 0);
  EXPECT_EQ(script.shown.size(), shown);
  EXPECT_TRUE(dialogs.take_answered_from_memory());
  EXPECT_FALSE(dialogs.take_answered_from_memory());
  // Yes remembered likewise; without settings nothing is remembered or read.
  settings.setValue(QtDialogs::sigma_ratio_key, 1);
  EXPECT_EQ(dialogs.ask_sigma_ratio(line), 1);
  dialogs.remember_answers_in(nullptr);
  script.answers = {answer(1056, true)};
  EXPECT_EQ(dialogs.ask_sigma_ratio(line), 0);
  EXPECT_EQ(script.shown.size(), shown + 1);
  EXPECT_EQ(settings.value(QtDialogs::sigma_ratio_key).toInt(), 1);
  std::filesystem::remove_all(dir);
}

TEST_F(MessageDialogs, BoxesShowTheTextTheyAreGiven) {
  ScriptedRunner script;
  QtDialogs dialogs(nullptr, script.runner());
  std::string fatal, warning;
  script.answers = {[&](QDialog& d) {
                      fatal = label_text(d, 1020);
                      return 1;
                    },
                    [&](QDialog& d) {
                      warning = label_text(d, 1048);
                      return 1;
                    }};
  dialogs.fatal_box("MATRIX IS SINGULAR ");
  dialogs.warning_box("ERROR OPENING INPUT DATA FILE ");
  EXPECT_EQ(fatal, "MATRIX IS SINGULAR ");
  EXPECT_EQ(warning, "ERROR OPENING INPUT DATA FILE ");
  EXPECT_EQ(script.shown, (std::vector<std::string>{"vorlane::frontend::qt::FatalErrorDialog",
                                                    "vorlane::frontend::qt::WarningDialog"}));
}

TEST_F(MessageDialogs, FileDialogsGetTitleFiltersExtensionAndOverwriteQuestion) {
  struct Expected {
    int slot;
    const char* title;
    QStringList filters;
    const char* suffix;
    QFileDialog::AcceptMode mode;
    QFileDialog::FileMode file_mode;
    bool confirm_overwrite;
  };
  const Expected table[] = {
      {1, "Open Experiment File", {"All Files (*)", "Experiment (*.exp)"}, "exp",
       QFileDialog::AcceptOpen, QFileDialog::ExistingFile, false},
      {2, "Open Print File", {"All Files (*)", "Print (*.prt)", "Log (*.log)"}, "prt",
       QFileDialog::AcceptSave, QFileDialog::AnyFile, false},
      {3, "Open Input Data File", {"All Files (*)", "Zezor (*.abs)", "SHELX hkl (*.hkl)"}, "abs",
       QFileDialog::AcceptOpen, QFileDialog::ExistingFile, false},
      {4, "Open Output Data File", {"All Files (*)", "Zezor (*.avg)", "SHELX hkl (*.hkl)"},
       "avg", QFileDialog::AcceptSave, QFileDialog::AnyFile, true},
  };
  for (const auto& e : table) {
    SCOPED_TRACE(e.title);
    QFileDialog d;
    configure_file_dialog(d, frontend::file_request(e.slot, ""));
    EXPECT_EQ(d.windowTitle().toStdString(), e.title);
    EXPECT_EQ(d.nameFilters(), e.filters);
    EXPECT_EQ(d.selectedNameFilter(), e.filters[1]);
    EXPECT_EQ(d.defaultSuffix().toStdString(), e.suffix);
    EXPECT_EQ(d.acceptMode(), e.mode);
    EXPECT_EQ(d.fileMode(), e.file_mode);
    EXPECT_EQ(!d.testOption(QFileDialog::DontConfirmOverwrite), e.confirm_overwrite);
  }
}

TEST_F(MessageDialogs, FileDialogStartsInTheFolderOfTheFileChosenBefore) {
  const std::string dir = make_temp_dir("picker");
  QFileDialog d;
  configure_file_dialog(d, frontend::file_request(3, dir + "/first.hkl"));
  EXPECT_EQ(QDir(d.directory()).canonicalPath(), QDir(QString::fromStdString(dir)).canonicalPath());
}

TEST_F(MessageDialogs, PickerReturnsTheChosenPathOrNothingOnCancel) {
  const std::string dir = make_temp_dir("picker2");
  { std::ofstream(dir + "/run.exp") << "TITLE\n"; }
  ScriptedRunner script;
  QtFilePicker picker(nullptr, script.runner());
  script.answers = {type_file_name(dir + "/run.exp")};
  const auto chosen = picker.pick(frontend::file_request(1, ""));
  ASSERT_TRUE(chosen.has_value());
  EXPECT_EQ(std::filesystem::path(*chosen).filename(), "run.exp");
  EXPECT_FALSE(picker.pick(frontend::file_request(1, "")).has_value());  // closed
}

TEST_F(MessageDialogs, OutputNameTypedWithoutExtensionGetsAvg) {
  const std::string dir = make_temp_dir("picker3");
  ScriptedRunner script;
  QtFilePicker picker(nullptr, script.runner());
  script.answers = {type_file_name(dir + "/result")};
  const auto chosen = picker.pick(frontend::file_request(4, ""));
  ASSERT_TRUE(chosen.has_value());
  EXPECT_EQ(std::filesystem::path(*chosen).filename(), "result.avg");
}

}  // namespace
}  // namespace vorlane::testing
