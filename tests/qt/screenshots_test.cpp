// PNG pictures of the main dialog in each state and of the four message and question
// dialogs, written to <build>/screenshots/ for a look by eye; the test checks that every
// control lies inside its window and shows its text.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QGroupBox>
#include <QImage>
#include <QLabel>

#include "frontend/qt/fatal_error_dialog.hpp"
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

}  // namespace
}  // namespace vorlane::testing
