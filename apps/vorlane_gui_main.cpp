// vorlane-gui: the main dialog of the data reduction.
#include <QApplication>
#include <clocale>

#include "frontend/qt/main_dialog.hpp"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  // Qt adopts the user's locale on Unix; numbers in the run files must keep decimal points.
  std::setlocale(LC_NUMERIC, "C");
  vorlane::frontend::qt::MainDialog dialog;
  dialog.show();
  return app.exec();
}
