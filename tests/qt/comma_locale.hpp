#pragma once
// A user environment that writes numbers with decimal commas, for as long as the object lives:
// a comma-decimal C locale when the system has one (or one compiled from the C library's
// locale sources into the build folder), the same numeric punctuation in the
// global C++ locale (which every new stream takes), and Qt's default locale German.
#include <QLocale>
#include <clocale>
#include <locale>
#include <string>

namespace vorlane::testing {

class CommaDecimalLocale {
 public:
  CommaDecimalLocale();
  ~CommaDecimalLocale();
  CommaDecimalLocale(const CommaDecimalLocale&) = delete;
  CommaDecimalLocale& operator=(const CommaDecimalLocale&) = delete;

  // The C locale that was set ("" when the system has none with a decimal comma).
  const std::string& c_locale() const { return c_locale_; }
  // What the scenario consists of, for the test log.
  std::string description() const;

 private:
  std::string old_c_locale_;
  std::locale old_cpp_locale_;
  QLocale old_qt_locale_;
  std::string c_locale_;
};

}  // namespace vorlane::testing
