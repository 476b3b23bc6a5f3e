#pragma once
// The Symmetry tab of the result panel: the symmetry the run found in its data (the tables,
// the suggestion, the plots of the intensity statistics) and the button that offers the
// suggested space group to the experiment-file editor.
#include <QWidget>
#include <string>

#include "frontend/symmetry_suggestion.hpp"

class QLabel;
class QPushButton;
class QTabWidget;
class QTextBrowser;

namespace vorlane::run { struct RunState; }

namespace vorlane::frontend::qt {

class SymmetryPage : public QWidget {
  Q_OBJECT
 public:
  explicit SymmetryPage(QWidget* parent = nullptr);

  // The analysis a finished or halted run kept, or why it has none.
  void show_run(const run::RunState& rs);
  void clear();
  // Whether the editor can be opened now (not while a run is in progress).
  void set_can_edit(bool can);

  const SpaceGroupSuggestion& suggestion() const { return suggestion_; }
  QPushButton* use_button() const { return use_; }
  QTextBrowser* tables() const { return tables_; }
  QTabWidget* views() const { return views_; }

 Q_SIGNALS:
  // The user asked to put `symbol` into the experiment file.
  void use_space_group(const QString& symbol);

 private:
  void update_button();
  void remove_charts();

  QLabel* line_;
  QPushButton* use_;
  QTabWidget* views_;
  QTextBrowser* tables_;
  SpaceGroupSuggestion suggestion_;
  bool shown_ = false;
  bool can_edit_ = true;
};

}  // namespace vorlane::frontend::qt
