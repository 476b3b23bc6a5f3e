// vorlane-gui: the main dialog of the data reduction.
#include <QApplication>
#include <clocale>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "frontend/qt/main_dialog.hpp"

int main(int argc, char** argv) {
#if defined(__GLIBC__)
  // Large tables freed by a run go back to the system at once (see vorlane_main.cpp).
  mallopt(M_MMAP_THRESHOLD, 256 * 1024);
#endif
  QApplication app(argc, argv);
  // Qt adopts the user's locale on Unix; numbers in the run files must keep decimal points.
  std::setlocale(LC_NUMERIC, "C");
  vorlane::frontend::qt::MainDialog dialog;
  dialog.show();
  return app.exec();
}
