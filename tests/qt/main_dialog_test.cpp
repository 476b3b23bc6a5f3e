// The main dialog on the screen: its controls and texts, the enabled buttons in every state,
// halted runs, the view buttons.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>
#include <stdexcept>

#include "frontend/qt/file_viewer.hpp"
#include "frontend/qt/result_panel.hpp"
#include "qt/window_fixture.hpp"
#include "run/messages.hpp"

namespace vorlane::testing {
namespace {

namespace control = frontend::control;

const std::set<int> selecting = {1001, 1006, 1012, 1015, 1004, 3};
const std::set<int> ready = {1001, 1006, 1012, 1015, 1004, 3, 1009};
// After a run: a second run on the same files, Reset, Exit and the views.
const std::set<int> finished = {3, 1004, 1009, 1017, 1016, 4};
const std::set<int> halted = {3, 1004, 1009, 1017};

TEST_F(WindowTest, ControlsCarryTheirTemplateTexts) {
  auto& w = make();
  EXPECT_EQ(w.windowTitle().toStdString(), "Vorlane 2.22");
  const std::pair<int, const char*> groups[] = {
      {1000, "Experiment File"}, {1005, "Print File"}, {1007, "Input data file"},
      {1013, "Output data file"}};
  for (const auto& [id, title] : groups) {
    auto* g = find_control<QGroupBox>(w, id);
    ASSERT_NE(g, nullptr) << id;
    EXPECT_EQ(g->title().toStdString(), title);
  }
  for (int id : {1010, 1008, 1011, 1014}) EXPECT_EQ(label_text(w, id), "No file selected");
  for (int id : {1001, 1006, 1012, 1015}) EXPECT_EQ(button_text(w, id), "Browse");
  EXPECT_EQ(button_text(w, 1009), "Run");
  EXPECT_EQ(button_text(w, 1004), "Reset");
  EXPECT_EQ(button_text(w, 3), "Exit");
  EXPECT_EQ(button_text(w, 1017), "Print File");
  EXPECT_EQ(button_text(w, 1016), "Output Data");
  EXPECT_EQ(button_text(w, 4), "Cif");
  EXPECT_EQ(status(), "SELECT FILES");
  EXPECT_NE(label_text(w, 1030).find("VORLANE"), std::string::npos);
  bool view_group = false;
  for (auto* g : w.findChildren<QGroupBox*>())
    if (g->title() == QStringLiteral("View Output Files")) view_group = true;
  EXPECT_TRUE(view_group);
  auto* hidden = find_control(w, 2);
  ASSERT_NE(hidden, nullptr);
  EXPECT_FALSE(hidden->isVisible());
  for (int id : control::buttons) EXPECT_TRUE(find_control(w, id)->isVisible()) << id;
}

TEST_F(WindowTest, EnabledButtonsFollowTheStatesOfASuccessfulRun) {
  std::set<int> while_running;
  std::string status_running;
  make([&](run::RunState&) {
    while_running = enabled_buttons();
    status_running = status();
  });
  EXPECT_EQ(enabled_buttons(), selecting);
  write(path("run.exp"), "");
  write(path("data.hkl"), "");
  browse(control::experiment_browse, path("run.exp"));
  browse(control::print_browse, path("run.prt"));
  browse(control::input_browse, path("data.hkl"));
  EXPECT_EQ(enabled_buttons(), selecting);
  EXPECT_EQ(status(), "SELECT FILES");
  browse(control::output_browse, path("result.avg"));
  EXPECT_EQ(enabled_buttons(), ready);
  EXPECT_EQ(status(), "RUN PROGRAM");
  EXPECT_EQ(label_text(*window, 1010), "run.exp");
  EXPECT_EQ(label_text(*window, 1008), "run.prt");
  EXPECT_EQ(label_text(*window, 1011), "data.hkl");
  EXPECT_EQ(label_text(*window, 1014), "result.avg");
  click(*window, control::run);
  EXPECT_TRUE(while_running.empty());
  EXPECT_EQ(status_running, "PROCESSING DATA");
  EXPECT_EQ(enabled_buttons(), finished);
  EXPECT_EQ(status(), "VORLANE FINISHED SUCCESSFULLY");
  EXPECT_TRUE(window->isVisible());
}

TEST_F(WindowTest, ResetReturnsToSelecting) {
  make([](run::RunState&) {});
  browse_all();
  ASSERT_EQ(enabled_buttons(), ready);
  click(*window, control::reset);
  EXPECT_EQ(enabled_buttons(), selecting);
  for (int id : {1010, 1008, 1011, 1014}) EXPECT_EQ(label_text(*window, id), "No file selected");
  EXPECT_EQ(status(), "SELECT FILES");
}

TEST_F(WindowTest, HaltedRunShowsTheFatalBoxAndStaysOpen) {
  make([](run::RunState& rs) { run::fatal(rs, "NO SYMMETRY CARD FOUND"); });
  browse_all();
  std::string shown;
  script.answers.push_back([&](QDialog& d) {
    shown = label_text(d, 1020);
    click(d, 1);
    return d.result();
  });
  click(*window, control::run);
  EXPECT_EQ(shown, "NO SYMMETRY CARD FOUND ");
  EXPECT_EQ(status(), "VORLANE HALTED");
  EXPECT_EQ(enabled_buttons(), halted);
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(script.shown.back(), "vorlane::frontend::qt::FatalErrorDialog");
}

TEST_F(WindowTest, NoExceptionLeavesTheRunButton) {
  make([](run::RunState&) { throw std::logic_error("table index out of range"); });
  browse_all();
  std::string shown;
  script.answers.push_back([&](QDialog& d) {
    shown = label_text(d, 1020);
    return 1;
  });
  click(*window, control::run);
  EXPECT_EQ(shown, "INTERNAL ERROR: table index out of range ");
  EXPECT_EQ(status(), "VORLANE HALTED");
  EXPECT_EQ(enabled_buttons(), halted);
  EXPECT_TRUE(window->isVisible());
}

TEST_F(WindowTest, ViewButtonsShowPrintOutputAndCifInTheViewer) {
  make([](run::RunState& rs) {
    run::warn(rs, "FIRST");
    run::warn(rs, "SECOND");
    *rs.files.out << "   1   2   3\n";
  });
  browse_all();
  write(path("result_vorlane.cif"), "data_x\n");
  click(*window, control::run);
  namespace fs = std::filesystem;
  const std::pair<int, std::string> views[] = {{control::view_print, "run.prt"},
                                               {control::view_output, "result.avg"},
                                               {control::view_cif, "result_vorlane.cif"}};
  for (const auto& [button, name] : views) {
    click(*window, button);
    auto* viewer = window->viewer();
    ASSERT_NE(viewer, nullptr);
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_EQ(fs::path(viewer->path().toStdString()), fs::path(path(name)));
    EXPECT_EQ(viewer->text()->toPlainText().toStdString(), read_text_file(path(name)));
    EXPECT_TRUE(viewer->text()->isReadOnly());
    // The desktop's application is the second way.
    viewer->findChild<QPushButton*>(QStringLiteral("viewer_open_desktop"))->click();
    ASSERT_FALSE(opened.empty());
    EXPECT_EQ(fs::path(opened.back().toLocalFile().toStdString()), fs::path(path(name)));
  }
  // In the print file: jump to the warnings, find, copy.
  click(*window, control::view_print);
  auto* viewer = window->viewer();
  ASSERT_TRUE(viewer->next_warning());
  const int first = viewer->text()->textCursor().blockNumber();
  ASSERT_TRUE(viewer->next_warning());
  EXPECT_GT(viewer->text()->textCursor().blockNumber(), first);
  viewer->findChild<QLineEdit*>(QStringLiteral("viewer_find"))->setText(QStringLiteral("SECOND"));
  viewer->text()->moveCursor(QTextCursor::Start);
  ASSERT_TRUE(viewer->find_next());
  viewer->copy();
  EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("SECOND"));
  EXPECT_EQ(window->result_panel().warnings()->count(), 2);
}

TEST_F(WindowTest, HaltedWindowShowsOnlyThePrintFile) {
  make([](run::RunState& rs) { run::fatal(rs, "BAD CELL"); });
  browse_all();
  click(*window, control::run);
  click(*window, control::view_output);  // disabled: nothing happens
  click(*window, control::view_cif);
  EXPECT_EQ(window->viewer(), nullptr);
  click(*window, control::view_print);
  ASSERT_NE(window->viewer(), nullptr);
  EXPECT_EQ(std::filesystem::path(window->viewer()->path().toStdString()),
            std::filesystem::path(path("run.prt")));
}

TEST_F(WindowTest, WindowCannotBeClosedDuringARun) {
  bool visible_after_close = false;
  make([&](run::RunState&) {
    window->close();
    window->reject();
    visible_after_close = window->isVisible();
  });
  browse_all();
  click(*window, control::run);
  EXPECT_TRUE(visible_after_close);
  click(*window, control::exit);
  EXPECT_FALSE(window->isVisible());
}

TEST_F(WindowTest, ExistingOutputFileIsReplacedOnlyAfterTheQuestion) {
  make([](run::RunState&) {});
  write(path("old.avg"), "old averaged data\n");
  std::string question;
  QTimer poll;
  auto answer_question = [&](QMessageBox::StandardButton button) {
    // The question is modal inside the file dialog: answer it once it shows.
    poll.disconnect();
    QObject::connect(&poll, &QTimer::timeout, [&question, &poll, button] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (box == nullptr) return;
      poll.stop();
      question = box->text().toStdString();
      box->button(button)->click();
    });
    poll.start(10);
  };
  answer_question(QMessageBox::No);
  browse(control::output_browse, path("old.avg"));
  EXPECT_NE(question.find("old.avg"), std::string::npos) << question;
  EXPECT_EQ(label_text(*window, 1014), "No file selected");  // No: the dialog was left
  EXPECT_EQ(read_text_file(path("old.avg")), "old averaged data\n");
  question.clear();
  answer_question(QMessageBox::Yes);
  browse(control::output_browse, path("old.avg"));
  EXPECT_NE(question.find("old.avg"), std::string::npos);
  EXPECT_EQ(label_text(*window, 1014), "old.avg");
  // Chosen, not yet replaced: that happens when a run starts.
  EXPECT_EQ(read_text_file(path("old.avg")), "old averaged data\n");
}

TEST_F(WindowTest, CancelledFileDialogKeepsTheChosenFile) {
  make([](run::RunState&) {});
  browse_all();
  // The next dialog gets no answer: it is closed.
  click(*window, control::input_browse);
  EXPECT_EQ(label_text(*window, 1011), "data.hkl");
  EXPECT_EQ(enabled_buttons(), ready);
}

}  // namespace
}  // namespace vorlane::testing
