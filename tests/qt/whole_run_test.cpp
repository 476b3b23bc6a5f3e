// Whole runs of the bundled example from the window: every file chosen in its dialog, the
// questions answered by clicks, the real data reduction behind the Run button.
#include <gtest/gtest.h>

#include <filesystem>

#include <QLocale>
#include <algorithm>
#include <clocale>
#include <iostream>
#include <sstream>

#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QTableWidget>
#include <map>

#include "frontend/message_dialog_ids.hpp"
#include "frontend/qt/file_viewer.hpp"
#include "frontend/qt/qt_dialogs.hpp"
#include "frontend/qt/result_panel.hpp"
#include "records/edit_list.hpp"
#include "qt/comma_locale.hpp"
#include "qt/window_fixture.hpp"

namespace vorlane::testing {
namespace {

namespace control = frontend::control;

const std::string example = std::string(VORLANE_SOURCE_DIR) + "/examples/sh2185/";

class WholeRunTest : public WindowTest {
 protected:
  // Copies the example; the reflections get an extension that names no format, so that the
  // format question is asked.
  void copy_example() {
    std::filesystem::copy_file(example + "sh2185.exp", path("sh2185.exp"));
    std::filesystem::copy_file(example + "sh2185.hkl", path("sh2185.dat"));
    std::filesystem::permissions(path("sh2185.exp"), std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add);
  }

  // Chooses the files, presses Run and answers: SHELX for the input file, Yes to the ratio.
  void run_by_clicks(const std::string& out_name) {
    make();
    // A fixed clock, so that two runs write the same print file.
    window->model().run_state().clock.now = [] {
      output::LocalTime t;
      t.year = 2024;
      t.month = 3;
      t.day = 14;
      t.hour = 9;
      t.minute = 26;
      t.second = 53;
      t.weekday = 4;
      return t;
    };
    browse(control::experiment_browse, path("sh2185.exp"));
    browse(control::print_browse, path(out_name + ".prt"));
    browse(control::input_browse, path("sh2185.dat"));
    browse(control::output_browse, path(out_name + ".hkl"));
    ASSERT_EQ(status(), "RUN PROGRAM");
    script.answers.push_back([this](QDialog& d) {
      format_name = label_text(d, frontend::format_dialog::name_id);
      click(d, frontend::format_dialog::shelx_id);
      click(d, frontend::format_dialog::ok_id);
      return d.result();
    });
    // The example keeps Friedel mates apart (FRIEDEL NOFLIP), so no reflection is sent to its
    // Friedel mate and no warning comes before the averaging asks its question.
    script.answers.push_back([this](QDialog& d) {
      ratio_line = label_text(d, frontend::sigma_dialog::ratio_id);
      click(d, frontend::sigma_dialog::yes_id);
      return d.result();
    });
    click(*window, control::run);
  }

  std::string format_name;
  std::string ratio_line;
};

TEST_F(WholeRunTest, RunDrivenByClicksFinishesAndWritesItsThreeFiles) {
  copy_example();
  run_by_clicks("avg");
  const std::vector<std::string> expected_dialogs = {
      "QFileDialog", "QFileDialog", "QFileDialog", "QFileDialog",
      "vorlane::frontend::qt::FormatDialog", "vorlane::frontend::qt::SigmaRatioDialog"};
  EXPECT_EQ(script.shown, expected_dialogs) << ::testing::PrintToString(script.texts);
  EXPECT_EQ(format_name, "sh2185.dat");
  EXPECT_EQ(ratio_line.rfind("Ratio output sigma to external-sig1 for the observed reflns is: ", 0),
            0u);
  EXPECT_EQ(status(), "VORLANE FINISHED SUCCESSFULLY");
  EXPECT_EQ(enabled_buttons(), (std::set<int>{3, 1004, 1009, 1017, 1016, 4}));
  const auto& rs = window->model().run_state();
  EXPECT_EQ(rs.files.INFMT, 1);
  EXPECT_EQ(rs.files.OUTFMT, 1);
  EXPECT_EQ(rs.msg.IHALT, 0);
  EXPECT_EQ(rs.res.SIGFACT, rs.res.RATIO);  // Yes applies the ratio

  const auto out = split_lines(read_text_file(path("avg.hkl")));
  ASSERT_GT(out.size(), 1000u);
  // SHELX hkl records: h, k, l in 3I4, then F-squared in columns 14-20 and its sigma in
  // 22-28, each with a decimal point.
  for (const auto& line : out) {
    ASSERT_EQ(line.size(), 28u) << line;
    for (const std::string& field : {line.substr(13, 7), line.substr(21, 7)}) {
      ASSERT_EQ(std::count(field.begin(), field.end(), '.'), 1) << line;
      ASSERT_EQ(field.find(','), std::string::npos) << line;
    }
  }
  EXPECT_NE(read_text_file(path("avg.prt")).find("SH2185_P212121_CRYSALIS"), std::string::npos);
  EXPECT_TRUE(std::filesystem::exists(path("avg_vorlane.cif")));

  click(*window, control::view_cif);
  ASSERT_NE(window->viewer(), nullptr);
  EXPECT_EQ(window->viewer()->text()->toPlainText().toStdString(),
            read_text_file(path("avg_vorlane.cif")));

  // The result panel shows the run's figures as the run state holds them.
  auto& panel = window->result_panel();
  std::map<std::string, std::string> figures;
  for (int r = 0; r < panel.summary()->rowCount(); ++r)
    figures[panel.summary()->item(r, 0)->text().toStdString()] =
        panel.summary()->item(r, 1)->text().toStdString();
  EXPECT_EQ(figures["Reflections read"], std::to_string(rs.refl.members.size()));
  EXPECT_EQ(figures["Equivalent sets"], std::to_string(rs.refl.NSET()));
  EXPECT_EQ(figures["R(int)"], records::format_F(rs.res.RINT_USED, 6, 4).substr(0));
  // The CIF's own line carries the same R(int) to four decimals.
  EXPECT_NE(read_text_file(path("avg_vorlane.cif"))
                .find("_diffrn_reflns_av_R_equivalents    " +
                      records::format_F(rs.res.RINT_USED, 7, 4)),
            std::string::npos);
  // The example keeps its Friedel mates apart and raises no warning: the list shows every
  // warning of the run, here none.
  EXPECT_EQ(static_cast<std::size_t>(panel.warnings()->count()), rs.report.warnings.size());
}

TEST_F(WholeRunTest, SecondRunWithAnother2ThetaWindowEditedInTheForm) {
  copy_example();
  run_by_clicks("two");
  ASSERT_EQ(status(), "VORLANE FINISHED SUCCESSFULLY");
  const auto sets_first = window->model().run_state().refl.NSET();
  const std::string print_first = read_text_file(path("two.prt"));
  const std::string exp_before = read_text_file(path("sh2185.exp"));

  // The form changes the 2theta window: one card is added after the last VORLAN card.
  script.answers.push_back([](QDialog& d) {
    d.findChild<QLineEdit*>(QStringLiteral("editor_tth_max"))->setText(QStringLiteral("90.0"));
    d.findChild<QPushButton*>(QStringLiteral("editor_save"))->click();
    return d.result();
  });
  window->edit_button().click();
  EXPECT_EQ(read_text_file(path("sh2185.exp")),
            exp_before + "VORLAN 2THETA MIN 0.0 MAX 90.0\n");

  // Run again on the same files: the format question again, then the ratio question.
  script.answers.push_back(choose_and_ok(frontend::format_dialog::shelx_id));
  script.answers.push_back(press(frontend::sigma_dialog::yes_id));
  click(*window, control::run);
  ASSERT_EQ(status(), "VORLANE FINISHED SUCCESSFULLY");
  const auto& rs = window->model().run_state();
  EXPECT_EQ(rs.ctl.TTHMAX, 90.0f);
  EXPECT_EQ(rs.refl.NSET(), sets_first);  // the same reflections read, from a fresh state
  int outside = 0;
  for (const auto& set : rs.refl.sets) outside += (set.IABS & 2) != 0;
  EXPECT_GT(outside, 0);
  // The print file holds both listings; the output holds only the second run's sets.
  const std::string print = read_text_file(path("two.prt"));
  EXPECT_EQ(print.substr(0, print_first.size()), print_first);
  EXPECT_GT(print.size(), print_first.size() + print_first.size() / 2);
  const auto out_lines = split_lines(read_text_file(path("two.hkl")));
  EXPECT_LT(out_lines.size(), static_cast<std::size_t>(sets_first));
  // The recent list offers the files of the run, also to a window started afresh.
  click(*window, control::reset);
  ASSERT_EQ(status(), "SELECT FILES");
  window.reset();
  make();
  ASSERT_EQ(window->recent_menu().actions().size(), 1);
  window->recent_menu().actions().front()->trigger();
  EXPECT_EQ(status(), "RUN PROGRAM");
  EXPECT_EQ(label_text(*window, control::experiment_name), "sh2185.exp");
  EXPECT_EQ(label_text(*window, control::output_name), "two.hkl");
}

TEST_F(WholeRunTest, RunUnderADecimalCommaLocaleWritesTheSameFiles) {
  copy_example();
  run_by_clicks("c");
  ASSERT_EQ(status(), "VORLANE FINISHED SUCCESSFULLY");
  window.reset();
  script = ScriptedRunner();
  {
    CommaDecimalLocale comma;
    std::cout << "[ locale   ] " << comma.description() << "\n";
    RecordProperty("locale", comma.description());
    // The scenario is real: numbers formatted the locale's way would carry commas.
    ASSERT_EQ(QLocale().toString(1.5), QStringLiteral("1,5"));
    std::ostringstream probe;
    probe << 1.5;
    ASSERT_EQ(probe.str(), "1,5");
    if (!comma.c_locale().empty()) {
      ASSERT_EQ(std::localeconv()->decimal_point, std::string(","));
    }
    run_by_clicks("de");
    ASSERT_EQ(status(), "VORLANE FINISHED SUCCESSFULLY");
    window.reset();
  }
  EXPECT_EQ(read_text_file(path("de.hkl")), read_text_file(path("c.hkl")));
  // The print files and CIF fragments name their own files; apart from that they agree.
  auto same_but_names = [](std::string text) {
    for (const auto& [from, to] : {std::pair<std::string, std::string>{"de.prt", "c.prt"},
                                   {"de.hkl", "c.hkl"},
                                   {"de_vorlane.cif", "c_vorlane.cif"}}) {
      for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at))
        text.replace(at, from.size(), to);
    }
    return text;
  };
  const std::string c_print = read_text_file(path("c.prt"));
  EXPECT_EQ(same_but_names(read_text_file(path("de.prt"))), c_print);
  EXPECT_EQ(same_but_names(read_text_file(path("de_vorlane.cif"))),
            read_text_file(path("c_vorlane.cif")));
  EXPECT_NE(c_print.find("0.0"), std::string::npos);
}

TEST_F(WholeRunTest, ChiralDataWithFriedelMatesMergedRunWithoutAModalBox) {
  // P 21 21 21 data with Friedel mates merged: thousands of reflections reach the asymmetric
  // unit through their Friedel mates. Named by SPACEGROUP that is a note; given by SYMOP and
  // UNITIN cards it stays the warning to check them. Either way the window shows it in the
  // Warnings tab and asks nothing: the files have known extensions and the sigma-ratio
  // answer is remembered.
  struct Case {
    std::string name, symmetry, expected_item;
    bool note;
  };
  const std::vector<Case> cases{
      {"named", "VORLAN SPACEGROUP P 21 21 21\n",
       "reflections were merged with their Friedel mates as equivalents (P 21 21 21 is "
       "non-centrosymmetric and Friedel mates are merged). To keep Friedel mates apart give "
       "VORLAN FRIEDEL NOFLIP or --friedel keep",
       true},
      {"cards",
       "VORLAN SYMOP X,Y,Z\nVORLAN SYMOP -X+1/2,-Y,Z+1/2\nVORLAN SYMOP X+1/2,-Y+1/2,-Z\n"
       "VORLAN SYMOP -X,Y+1/2,-Z+1/2\nVORLAN UNITIN    1    0    0    0\n"
       "VORLAN UNITIN    0    1    0    0\nVORLAN UNITIN    0    0    1    0\n",
       "Reflections transformed to Friedel mates. Check consistency of UNITIN and SYMOP cards",
       false},
  };
  std::filesystem::copy_file(example + "sh2185.hkl", path("data.hkl"));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    write(path(c.name + ".exp"), "TITLE  sh2185 with Friedel mates merged\n"
                                 "CELL  7.71920 11.06720 20.9366 90 90 90\nWAVEL 1 1.54184\n" +
                                     c.symmetry);
    {
      QSettings settings(QString::fromStdString(path("settings.ini")), QSettings::IniFormat);
      settings.setValue(frontend::qt::QtDialogs::sigma_ratio_key, 1);
    }
    script = ScriptedRunner();
    make();
    browse(control::experiment_browse, path(c.name + ".exp"));
    browse(control::print_browse, path(c.name + ".prt"));
    browse(control::input_browse, path("data.hkl"));
    browse(control::output_browse, path(c.name + ".hkl"));
    click(*window, control::run);
    EXPECT_EQ(script.shown, std::vector<std::string>(4, "QFileDialog"))
        << ::testing::PrintToString(script.texts);
    ASSERT_EQ(status(), "VORLANE FINISHED SUCCESSFULLY");
    const auto& rs = window->model().run_state();
    EXPECT_EQ(rs.ctl.INOFLIP, 0);
    EXPECT_EQ(rs.res.SIGFACT, rs.res.RATIO);  // the remembered Yes
    std::vector<std::string> items;
    for (int i = 0; i < window->result_panel().warnings()->count(); ++i)
      items.push_back(window->result_panel().warnings()->item(i)->text().toStdString());
    const auto has = [&items](const std::string& part) {
      return std::any_of(items.begin(), items.end(),
                         [&](const std::string& t) { return t.find(part) != std::string::npos; });
    };
    EXPECT_TRUE(has(c.expected_item)) << ::testing::PrintToString(items);
    EXPECT_TRUE(has("Note: The sigma-ratio question was answered Yes, as remembered"));
    const std::string print = read_text_file(path(c.name + ".prt"));
    if (c.note) {
      ASSERT_EQ(rs.report.notes.size(), 1u);
      EXPECT_NE(rs.report.notes[0].find(c.expected_item), std::string::npos);
      EXPECT_TRUE(has("Note: " + rs.report.notes[0]));
      EXPECT_EQ(print.find("Check consistency of UNITIN"), std::string::npos);
      EXPECT_NE(print.find("****NOTE:\n    " + rs.report.notes[0]), std::string::npos);
    } else {
      EXPECT_TRUE(rs.report.notes.empty());
      ASSERT_FALSE(rs.report.warnings.empty());
      EXPECT_NE(print.find("****WARNING:"), std::string::npos);
    }
    window.reset();
  }
}

TEST_F(WholeRunTest, FatalErrorInTheExperimentFileHaltsTheWindow) {
  write(path("bad.exp"), "TITLE only one orientation line\nUB 0.1 0.0 0.0\n");
  std::filesystem::copy_file(example + "sh2185.hkl", path("data.hkl"));
  make();
  browse(control::experiment_browse, path("bad.exp"));
  browse(control::print_browse, path("bad.prt"));
  browse(control::input_browse, path("data.hkl"));
  browse(control::output_browse, path("bad.avg"));
  std::string shown;
  script.answers.push_back([&](QDialog& d) {
    shown = label_text(d, frontend::fatal_dialog::message_id);
    click(d, frontend::fatal_dialog::ok_id);
    return d.result();
  });
  click(*window, control::run);
  EXPECT_EQ(shown, "ERROR IN READ_HKL: ONLY PART OF UB MATRIX PRESENT ");
  EXPECT_EQ(status(), "VORLANE HALTED");
  EXPECT_EQ(enabled_buttons(), (std::set<int>{3, 1004, 1009, 1017}));
  EXPECT_TRUE(window->isVisible());
  const std::string print = read_text_file(path("bad.prt"));
  EXPECT_NE(print.find("****FATAL ERROR:"), std::string::npos);
  EXPECT_NE(print.find("****PROGRAM WILL HALT"), std::string::npos);
  // A halted run puts no output in place: there was none, and there is none.
  EXPECT_FALSE(std::filesystem::exists(path("bad.avg")));
}

}  // namespace
}  // namespace vorlane::testing
