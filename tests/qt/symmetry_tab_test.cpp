// The Symmetry tab after whole runs of real data sets from the window: the tables, the plots
// against theory, and the button that puts the suggested group into the experiment file
// through the editor (written only when the user saves).
#include <gtest/gtest.h>

#include <QChartView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTextBrowser>
#include <filesystem>

#include "frontend/exp_file_editor_model.hpp"
#include "frontend/qt/exp_editor_dialog.hpp"
#include "frontend/qt/result_panel.hpp"
#include "frontend/qt/symmetry_page.hpp"
#include "qt/window_fixture.hpp"

namespace vorlane::testing {
namespace {

namespace control = frontend::control;
using frontend::qt::SymmetryPage;

const std::string kData = std::string(VORLANE_TEST_DATA) + "/realdata/";

class SymmetryTabTest : public WindowTest {
 protected:
  // A whole run of a real data set chosen through the window's file dialogs.
  void run_set(const std::string& name) {
    std::filesystem::copy_file(kData + name + ".exp", path("run.exp"));
    std::filesystem::copy_file(kData + name + ".hkl", path("data.hkl"));
    std::filesystem::permissions(path("run.exp"), std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add);
    make();
    browse(control::experiment_browse, path("run.exp"));
    browse(control::print_browse, path("run.prt"));
    browse(control::input_browse, path("data.hkl"));
    browse(control::output_browse, path("out.hkl"));
    click(*window, control::run);
  }
  SymmetryPage& page() const { return *window->result_panel().symmetry(); }
};

TEST_F(SymmetryTabTest, SuggestedGroupGoesIntoTheEditorAndIsWrittenOnSave) {
  run_set("cod1552546_c2c_ag");
  ASSERT_EQ(status(), "VORLANE FINISHED SUCCESSFULLY");
  auto& panel = window->result_panel();
  ASSERT_EQ(panel.tabText(4), QStringLiteral("Symmetry"));
  EXPECT_EQ(panel.widget(4), &page());

  // The published group of the set (C 1 2/c 1) is the suggestion.
  EXPECT_EQ(page().suggestion().symbol, "C 1 2/c 1");
  const QString line = page().findChild<QLabel*>(QStringLiteral("symmetry_suggestion"))->text();
  EXPECT_TRUE(line.startsWith(QStringLiteral("Suggested space group: C 1 2/c 1 (No. 15)")))
      << line.toStdString();
  const QString tables = page().tables()->toPlainText();
  for (const char* part : {"Lattice centring", "Symmetry elements", "Laue classes",
                           "Reflection conditions", "Space groups", "Intensity statistics",
                           "x,-y,z+1/2", "VORLAN SPACEGROUP C 1 2/c 1"})
    EXPECT_TRUE(tables.contains(QString::fromUtf8(part))) << part;
  EXPECT_FALSE(tables.contains(QStringLiteral("nan"), Qt::CaseInsensitive));
  EXPECT_FALSE(tables.contains(QStringLiteral("not drawn")));
  // The three plots, each with its data and theory series.
  for (const char* name : {"plot_nz", "plot_l_test", "plot_wilson"}) {
    auto* view = page().findChild<QChartView*>(QString::fromLatin1(name));
    ASSERT_NE(view, nullptr) << name;
    EXPECT_GE(view->chart()->series().size(), 2) << name;
  }
  EXPECT_EQ(page().views()->count(), 4);
  panel.setCurrentIndex(4);
  save_screenshot(*window, "symmetry_tables");
  page().views()->setCurrentIndex(1);
  save_screenshot(*window, "symmetry_nz");
  page().views()->setCurrentIndex(3);
  save_screenshot(*window, "symmetry_wilson");

  QPushButton* use = page().use_button();
  ASSERT_TRUE(use->isEnabled()) << use->toolTip().toStdString();
  const std::string before = read_text_file(path("run.exp"));

  // Cancel: the form shows the group, the file stays as it was.
  std::string shown, message;
  script.answers.push_back([&](QDialog& d) {
    EXPECT_NE(dynamic_cast<frontend::qt::ExpEditorDialog*>(&d), nullptr);
    shown = d.findChild<QLineEdit*>(QStringLiteral("editor_space_group"))->text().toStdString();
    message = d.findChild<QLabel*>(QStringLiteral("editor_message"))->text().toStdString();
    d.findChild<QPushButton*>(QStringLiteral("editor_cancel"))->click();
    return d.result();
  });
  use->click();
  EXPECT_EQ(shown, "C 1 2/c 1");
  EXPECT_NE(message.find("Save writes it into the file in place of the symmetry cards"),
            std::string::npos)
      << message;
  EXPECT_EQ(read_text_file(path("run.exp")), before);

  // Save, and yes to replacing the symmetry cards: the card is in the file.
  script.answers.push_back([this](QDialog& d) {
    script.answers.push_front([](QDialog&) { return static_cast<int>(QMessageBox::Ok); });
    d.findChild<QPushButton*>(QStringLiteral("editor_save"))->click();
    return d.result();
  });
  use->click();
  const std::string after = read_text_file(path("run.exp"));
  EXPECT_NE(after.find("VORLAN SPACEGROUP C 1 2/c 1"), std::string::npos) << after;
  EXPECT_EQ(after.find("SYMOP"), std::string::npos);
  EXPECT_EQ(frontend::ExpFileEditorModel(after).values().space_group, "C 1 2/c 1");
  EXPECT_EQ(after.substr(0, after.find("VORLAN")), before.substr(0, before.find("VORLAN")));
}

TEST_F(SymmetryTabTest, MergedDataOfferNoGroup) {
  run_set("cod2240189_r-3c_merged");
  ASSERT_EQ(status(), "VORLANE FINISHED SUCCESSFULLY");
  QPushButton* use = page().use_button();
  EXPECT_FALSE(use->isEnabled());
  EXPECT_TRUE(use->toolTip().startsWith(
      QStringLiteral("No group to use: the space group is not determinable (merged data")))
      << use->toolTip().toStdString();
  EXPECT_TRUE(page().tables()->toPlainText().contains(
      QStringLiteral("Space group not determinable: merged data")));
  EXPECT_EQ(page().views()->count(), 1);  // the tables only
  const std::size_t dialogs = script.shown.size();
  use->click();
  EXPECT_EQ(script.shown.size(), dialogs);
}

TEST_F(SymmetryTabTest, RunWithoutAnalysisAndNoRunYet) {
  make([](run::RunState&) {});
  EXPECT_FALSE(page().use_button()->isEnabled());
  EXPECT_TRUE(page().use_button()->toolTip().startsWith(QStringLiteral("No run yet")));
  browse_all();
  click(*window, control::run);
  EXPECT_FALSE(page().use_button()->isEnabled());
  EXPECT_TRUE(page().use_button()->toolTip().contains(QStringLiteral("it needs the cell")))
      << page().use_button()->toolTip().toStdString();
  EXPECT_TRUE(page().tables()->toPlainText().contains(QStringLiteral("it needs the cell")));
}

TEST_F(SymmetryTabTest, HaltedRunSaysSo) {
  make([](run::RunState& rs) {
    rs.ctl.ICELL = 1;
    rs.msg.IHALT = 1;
  });
  browse_all();
  click(*window, control::run);
  ASSERT_EQ(window->model().state(), frontend::DialogState::Halted);
  EXPECT_FALSE(page().use_button()->isEnabled());
  EXPECT_EQ(page().use_button()->toolTip(),
            QStringLiteral("The symmetry was not analysed: the run halted before it was done."));
}

}  // namespace
}  // namespace vorlane::testing
