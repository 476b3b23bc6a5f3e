#pragma once
// Controls carry their template identifier as object name ("control_1009"), so tests and
// screenshots find them by the numbers the dialog templates use.
#include <QString>
#include <string_view>

namespace vorlane::frontend::qt {

inline QString control_name(int id) { return QStringLiteral("control_%1").arg(id); }
inline QString qstr(std::string_view s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace vorlane::frontend::qt
