// vorlane-gui: the main dialog of the data reduction.
#include <QApplication>
#include <clocale>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "frontend/qt/main_dialog.hpp"

int main(int argc, char** argv) {
#if defined(__GLIBC__)
  // The window runs one data set after another: large tables freed by a run go back to the
  // system at once, and the process does not keep a run's peak between runs (the command
  // line, which runs once, keeps them for reuse instead).
  mallopt(M_MMAP_THRESHOLD, 256 * 1024);
#endif
  QApplication app(argc, argv);
  // Qt adopts the user's locale on Unix; numbers in the run files must keep decimal points.
  std::setlocale(LC_NUMERIC, "C");
  vorlane::frontend::qt::MainDialog dialog;
  dialog.show();
  return app.exec();
}
