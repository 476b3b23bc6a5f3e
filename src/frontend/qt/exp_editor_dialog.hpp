#pragma once
// A form for the cards of an experiment file that people change most. It reads the file,
// shows what it holds and writes it back through ExpFileEditorModel: only the edited cards
// change, every other byte stays as it was.
#include <QDialog>
#include <map>
#include <memory>

#include "frontend/exp_file_editor_model.hpp"
#include "frontend/qt/dialog_runner.hpp"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace vorlane::frontend::qt {

class ExpEditorDialog : public QDialog {
  Q_OBJECT
 public:
  // `runner` shows the confirmation before symmetry cards are replaced.
  ExpEditorDialog(const QString& path, DialogRunner runner, QWidget* parent = nullptr);

  // The form's values as they stand.
  ExpValues form_values() const;
  // Checks, asks before removing symmetry cards, writes the file; true when written.
  bool save();
  bool loaded() const { return model_ != nullptr; }
  // Puts `symbol` into the space-group field as if typed, and says where it came from; the
  // file changes only when the user saves.
  void propose_space_group(const QString& symbol);

 private:
  QLineEdit* line(const QString& name, const std::string& value);
  void show_values(const ExpValues& v);

  QString path_;
  DialogRunner runner_;
  std::unique_ptr<ExpFileEditorModel> model_;
  std::map<QString, QLineEdit*> lines_;
  QCheckBox* noflip_ = nullptr;
  QCheckBox* lt_reject_ = nullptr;
  QComboBox* outlier_ = nullptr;
  QComboBox* absent_ = nullptr;
  QComboBox* sigma_ = nullptr;
  QLabel* message_ = nullptr;
};

}  // namespace vorlane::frontend::qt
