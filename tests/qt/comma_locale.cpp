#include "qt/comma_locale.hpp"

#include <cstdlib>
#include <filesystem>

namespace vorlane::testing {
namespace {

struct CommaPunct : std::numpunct<char> {
  char do_decimal_point() const override { return ','; }
  char do_thousands_sep() const override { return '.'; }
  std::string do_grouping() const override { return "\3"; }
};

bool has_decimal_comma() { return std::localeconv()->decimal_point[0] == ','; }

#if defined(__GLIBC__)
// Where the system has no comma-decimal locale installed, glibc can still use one compiled
// from its locale sources into a folder of the build (once) and named by LOCPATH.
std::string generated_locale() {
  const std::filesystem::path sources = "/usr/share/i18n/locales/de_DE";
  if (!std::filesystem::exists(sources)) return {};
  const auto dir = std::filesystem::path(VORLANE_BIN_DIR).parent_path() / "test-locales";
  const auto target = dir / "de_DE.UTF-8";
  if (!std::filesystem::exists(target / "LC_NUMERIC")) {
    std::filesystem::create_directories(dir);
    const std::string command =
        "localedef -i de_DE -f UTF-8 '" + target.string() + "' >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0 && !std::filesystem::exists(target / "LC_NUMERIC"))
      return {};
  }
  ::setenv("LOCPATH", dir.c_str(), 1);
  if (std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr && has_decimal_comma())
    return "de_DE.UTF-8 (compiled into " + dir.string() + ")";
  ::unsetenv("LOCPATH");
  return {};
}
#else
std::string generated_locale() { return {}; }
#endif

}  // namespace

CommaDecimalLocale::CommaDecimalLocale() {
  const char* current = std::setlocale(LC_ALL, nullptr);
  old_c_locale_ = current != nullptr ? current : "C";
  for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8", "de_DE",
                           "fr_FR"}) {
    if (std::setlocale(LC_ALL, name) != nullptr && has_decimal_comma()) {
      c_locale_ = name;
      break;
    }
  }
  if (c_locale_.empty()) c_locale_ = generated_locale();
  if (c_locale_.empty()) std::setlocale(LC_ALL, old_c_locale_.c_str());
  old_cpp_locale_ = std::locale::global(std::locale(std::locale::classic(), new CommaPunct));
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
}

CommaDecimalLocale::~CommaDecimalLocale() {
  QLocale::setDefault(old_qt_locale_);
  std::locale::global(old_cpp_locale_);
  std::setlocale(LC_ALL, old_c_locale_.c_str());
#if defined(__GLIBC__)
  ::unsetenv("LOCPATH");
#endif
}

std::string CommaDecimalLocale::description() const {
  std::string d = c_locale_.empty()
                      ? "no comma-decimal C locale on this system (C library stays \"C\")"
                      : "C locale " + c_locale_;
  return d + "; global C++ locale with decimal comma; Qt default locale de_DE";
}

}  // namespace vorlane::testing
