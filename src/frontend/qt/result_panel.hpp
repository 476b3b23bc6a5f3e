#pragma once
// The result of the last run beside the dialog: the summary figures, the run's warnings, the
// shell table, the plots and the symmetry found from the data. It shows what the run computed; it computes nothing itself.
#include <QTabWidget>
#include <string>
#include <vector>

#include "run/run_state.hpp"

class QListWidget;
class QTableWidget;
class QLabel;

namespace vorlane::frontend::qt {

class SymmetryPage;

class ResultPanel : public QTabWidget {
  Q_OBJECT
 public:
  explicit ResultPanel(QWidget* parent = nullptr);

  // Fills every tab from a finished or halted run.
  void show_run(const run::RunState& rs, const std::vector<std::string>& warnings);
  void clear_run();
  // Adds a note of the window's own below the run's warnings and notes.
  void add_note(const QString& text);

  QTableWidget* summary() const { return summary_; }
  QListWidget* warnings() const { return warnings_; }
  QTableWidget* shells() const { return shells_; }
  QTabWidget* plots() const { return plots_; }
  SymmetryPage* symmetry() const { return symmetry_; }

 private:
  void fill_shells(const statistics::Statistics& stats);
  void fill_plots(const statistics::Statistics& stats);

  QLabel* title_;
  QTableWidget* summary_;
  QListWidget* warnings_;
  QTableWidget* shells_;
  QLabel* no_shells_;
  QTabWidget* plots_;
  SymmetryPage* symmetry_;
};

}  // namespace vorlane::frontend::qt
