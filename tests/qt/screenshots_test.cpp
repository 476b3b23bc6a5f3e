// PNG pictures of the main dialog in each state and of the four message and question
// dialogs, written to <build>/screenshots/ for a look by eye; the test checks that every
// control lies inside its window and shows its text.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QGroupBox>
#include <QImage>
#include <QLabel>

#include <QLineEdit>
#include <QTableWidget>
#include <cmath>

#include "frontend/qt/exp_editor_dialog.hpp"
#include "frontend/qt/fatal_error_dialog.hpp"
#include "frontend/qt/file_viewer.hpp"
#include "frontend/qt/result_panel.hpp"
#include "frontend/qt/format_dialog.hpp"
#include "frontend/qt/sigma_ratio_dialog.hpp"
#include "frontend/qt/warning_dialog.hpp"
#include "qt/window_fixture.hpp"
#include "run/messages.hpp"

namespace vorlane::testing {
namespace {

namespace control = frontend::control;

// Every visible label, button and group box of `w` lies inside it, and its text fits.
void expect_all_controls_shown(QWidget& w) {
  const QRect inside = w.rect();
  for (auto* child : w.findChildren<QWidget*>()) {
    if (!child->isVisible()) continue;
    if (!qobject_cast<QLabel*>(child) && !qobject_cast<QAbstractButton*>(child) &&
        !qobject_cast<QGroupBox*>(child))
      continue;
    const QRect r(child->mapTo(&w, QPoint(0, 0)), child->size());
    EXPECT_TRUE(inside.contains(r)) << child->objectName().toStdString();
    if (auto* b = qobject_cast<QAbstractButton*>(child)) {
      EXPECT_GE(b->width(), b->fontMetrics().horizontalAdvance(b->text()))
          << b->text().toStdString();
    }
  }
}

void expect_png(const std::string& file) {
  QImage image(QString::fromStdString(file));
  ASSERT_FALSE(image.isNull()) << file;
  EXPECT_GT(image.width(), 200) << file;
  EXPECT_GT(image.height(), 80) << file;
}

TEST_F(WindowTest, ScreenshotsOfTheMainDialogInEachState) {
  std::string running_png;
  make([&](run::RunState&) {
    expect_all_controls_shown(*window);
    running_png = save_screenshot(*window, "main_2_running");
  });
  expect_all_controls_shown(*window);
  expect_png(save_screenshot(*window, "main_0_selecting"));
  browse_all();
  expect_png(save_screenshot(*window, "main_1_ready_to_run"));
  click(*window, control::run);
  expect_png(running_png);
  expect_png(save_screenshot(*window, "main_3_finished"));

  window.reset();
  make([](run::RunState& rs) {
    run::fatal(rs, "ERROR IN READ_HKL: ONLY PART OF UB MATRIX PRESENT");
  });
  browse_all("second.avg");
  click(*window, control::run);
  ASSERT_EQ(status(), "VORLANE HALTED");
  expect_all_controls_shown(*window);
  expect_png(save_screenshot(*window, "main_4_halted"));

  // A small window still shows every control.
  window->resize(window->minimumSizeHint());
  expect_all_controls_shown(*window);
  expect_png(save_screenshot(*window, "main_5_halted_smallest"));
}

TEST_F(WindowTest, ScreenshotsOfTheFourMessageDialogs) {
  using namespace frontend::qt;
  FatalErrorDialog fatal(QStringLiteral("ERROR IN READ_HKL: ONLY PART OF UB MATRIX PRESENT "));
  WarningDialog warning(QStringLiteral(
      " 6681 Reflections transformed to Friedel mates. Check consistency of UNITIN and SYMOP "
      "cards "));
  FormatDialog format(QStringLiteral("sh2185.dat"), 0);
  SigmaRatioDialog ratio(QStringLiteral(
      "Ratio output sigma to external-sig1 for the observed reflns is:    1.37"));
  const std::pair<QDialog*, const char*> dialogs[] = {{&fatal, "dialog_103_fatal_error"},
                                                      {&warning, "dialog_104_warning"},
                                                      {&format, "dialog_105_file_format"},
                                                      {&ratio, "dialog_106_sigma_ratio"}};
  for (const auto& [dialog, name] : dialogs) {
    SCOPED_TRACE(name);
    dialog->show();
    QCoreApplication::processEvents();
    expect_all_controls_shown(*dialog);
    expect_png(save_screenshot(*dialog, name));
    dialog->hide();
  }
}


// Statistics of a plausible run, filled by hand (the window only shows them).
void fill_run(run::RunState& rs) {
  rs.ctl.TITLE = "SH2185_P212121_CRYSALIS (P 21 21 21, LAUE MMM)";
  rs.refl.members.resize(24518);
  rs.refl.sets.resize(3561);
  for (std::size_t i = 0; i < rs.refl.sets.size(); ++i) rs.refl.sets[i].first = static_cast<std::uint32_t>(i);
  rs.refl.members[0].REFANG[0] = 143.2f;
  rs.res.NSINGLET = 212;
  rs.res.NINDIV_ALLOWED = 24311;
  rs.res.RINT_ALL = 0.0487f;
  rs.res.rint_known = true;
  rs.res.RSIG_ALL = 0.0231f;
  rs.res.completeness_max = 0.994f;
  rs.res.completeness_full = 0.998f;
  rs.ctl.TTHMAX = 134.0f;
  rs.sg.NSYMOP = 4;
  auto& st = rs.stats;
  st.has_shells = true;
  st.rejections = {12, 207, 0, 0, 35, 118, 0};
  const double edges[] = {11.07, 2.47, 1.95, 1.70, 1.54, 1.43, 1.34, 1.27, 1.22, 1.17, 0.81};
  for (int i = 0; i < 10; ++i) {
    statistics::ShellRow r;
    r.d_max = edges[i];
    r.d_min = edges[i + 1];
    r.n_obs = 2600 - 90 * i;
    r.n_unique = 356;
    r.multiplicity = static_cast<double>(r.n_obs) / 356.0;
    r.completeness = 1.0 - 0.002 * i;
    r.dac_completeness = std::nan("");
    r.i_over_sigma = 62.0 / (1.0 + 0.45 * i);
    r.r_int = 0.031 + 0.009 * i;
    r.r_sigma = 0.012 + 0.006 * i;
    r.r_meas = r.r_int * 1.08;
    r.r_pim = r.r_int * 0.41;
    r.cc_half = 0.9995 - 0.012 * i * i / 9.0;
    r.chi2 = 0.97 + 0.02 * i;
    st.shells.push_back(r);
  }
  st.overall = st.shells.front();
  st.overall.d_min = 0.81;
  st.overall.n_obs = 21950;
  st.overall.n_unique = 3561;
  for (int i = 0; i < 400; ++i) {
    const double x = -3.0 + 6.0 * (i + 0.5) / 400.0;
    st.normal_probability.expected.push_back(x);
    st.normal_probability.observed.push_back(1.12 * x + 0.03 + 0.15 * std::sin(7.0 * x));
  }
  st.normal_probability.slope = 1.12;
  st.normal_probability.intercept = 0.03;
}

// Every column of every visible table is at least as wide as its widest text.
void expect_tables_readable(QWidget& w) {
  for (auto* table : w.findChildren<QTableWidget*>()) {
    if (!table->isVisible()) continue;
    for (int c = 0; c < table->columnCount(); ++c)
      for (int r = 0; r < table->rowCount(); ++r) {
        auto* item = table->item(r, c);
        if (item == nullptr || table->isColumnHidden(c)) continue;
        EXPECT_GE(table->columnWidth(c), table->fontMetrics().horizontalAdvance(item->text()))
            << table->objectName().toStdString() << " " << item->text().toStdString();
      }
  }
}

TEST_F(WindowTest, ScreenshotsOfTheResultPanelPlotsViewerAndEditor) {
  make([](run::RunState& rs) {
    fill_run(rs);
    run::warn(rs, "6681 Reflections transformed to Friedel mates.");
    run::warn(rs, "UNIT CELL IN EXP FILE DIFFERENT FROM CALCULATED FROM UB MATRIX");
    rs.files.print.write_record(" a listing line");
  });
  write(path("run.exp"), "");
  browse_all();
  write(path("run.exp"),
        "TITLE  sh2185\nCELL  7.71920 11.06720 20.9366 90 90 90\nWAVEL 1 1.54184\n"
        "VORLAN SYMOP X,Y,Z\nVORLAN 2THETA MIN 5.0 MAX 134.0\n");
  click(*window, control::run);
  auto& panel = window->result_panel();
  ASSERT_EQ(panel.plots()->count(), 5);
  const std::pair<QSize, const char*> sizes[] = {{window->minimumSizeHint(), "smallest"},
                                                 {QSize(1920, 1080), "1920x1080"}};
  for (const auto& [size, tag] : sizes) {
    SCOPED_TRACE(tag);
    window->resize(size);
    QCoreApplication::processEvents();
    const std::string suffix = std::string("_") + tag;
    for (int tab = 0; tab < 3; ++tab) {
      panel.setCurrentIndex(tab);
      QCoreApplication::processEvents();
      expect_all_controls_shown(*window);
      expect_tables_readable(*window);
      const char* names[] = {"result_summary", "result_warnings", "result_shells"};
      expect_png(save_screenshot(*window, names[tab] + suffix));
    }
    panel.setCurrentWidget(panel.plots());
    for (int p = 0; p < panel.plots()->count(); ++p) {
      panel.plots()->setCurrentIndex(p);
      QCoreApplication::processEvents();
      expect_png(save_screenshot(*window, panel.plots()->widget(p)->objectName().toStdString() + suffix));
    }
    panel.setCurrentIndex(0);

    click(*window, control::view_print);
    auto* viewer = window->viewer();
    ASSERT_NE(viewer, nullptr);
    viewer->resize(size == QSize(1920, 1080) ? size : viewer->minimumSizeHint());
    QCoreApplication::processEvents();
    expect_all_controls_shown(*viewer);
    expect_png(save_screenshot(*viewer, "viewer_print_file" + suffix));

    frontend::qt::ExpEditorDialog editor(QString::fromStdString(path("run.exp")),
                                         frontend::qt::exec_runner());
    editor.show();
    editor.resize(size == QSize(1920, 1080) ? size : editor.minimumSizeHint());
    QCoreApplication::processEvents();
    expect_all_controls_shown(editor);
    for (auto* e : editor.findChildren<QLineEdit*>())
      EXPECT_GE(e->width(), e->fontMetrics().horizontalAdvance(e->text())) << e->text().toStdString();
    expect_png(save_screenshot(editor, "editor" + suffix));
  }
}

}  // namespace
}  // namespace vorlane::testing
